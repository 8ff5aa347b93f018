// Adding, modifying, deleting and browsing reminders through the manager window's pages.

#include "core/apperror.h"
#include "core/wallclock.h"
#include "manager/deletepage.h"
#include "manager/modifypage.h"
#include "managerfixture.h"
#include "store/reminderrepeats.h"
#include "store/textformats.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimeEdit>

#include <algorithm>

namespace {

const QString kAddRefused = QStringLiteral("info|提示|请输入完整数据,或者时间不能为0！");
const QString kModifyRefused = QStringLiteral("info|提示|请不要误操作!");
const QString kNoData = QStringLiteral("info|提示|没有任何数据!");
const QString kAdded = QStringLiteral("info|提醒|增加日程提醒成功！");
const QString kModified = QStringLiteral("info|提醒|修改日程提醒成功！");
const QString kDeleted = QStringLiteral("message||删除成功！");

// A click through the window system, which also opens the context menu on a right press.
void clickAt(QWidget *widget, const QPoint &at, Qt::MouseButton button)
{
    QWidget *window = widget->window();
    const QPoint inWindow = widget->mapTo(window, at);
    QTest::mousePress(window->windowHandle(), button, {}, inWindow);
    QTest::mouseRelease(window->windowHandle(), button, {}, inWindow);
}

void pressRow(QTableView *grid, int row, Qt::MouseButton button)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QVERIFY(cell.isValid());
    clickAt(grid->viewport(), cell.center(), button);
}

void doubleClickRow(QTableView *grid, int row)
{
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 1)).center());
}

// One page's form, found by the names its controls share on the add and modify pages.
struct Form
{
    Form(const ManagerFixture &f, const char *page)
        : subject(f.on<QLineEdit>(page, "subjectEdit"))
        , content(f.on<QPlainTextEdit>(page, "contentEdit"))
        , date(f.on<QDateEdit>(page, "dateEdit"))
        , time(f.on<QTimeEdit>(page, "timeEdit"))
    {
    }
    void fill(const QString &subjectText, const QString &contentText, QTime timeOfDay)
    {
        subject->setText(subjectText);
        content->setPlainText(contentText);
        time->setTime(timeOfDay);
    }

    QLineEdit *subject;
    QPlainTextEdit *content;
    QDateEdit *date;
    QTimeEdit *time;
};

// The browse page's three read-only fields.
struct Shown
{
    explicit Shown(const ManagerFixture &f)
        : subject(f.on<QLineEdit>("browsePage", "subjectField"))
        , content(f.on<QPlainTextEdit>("browsePage", "contentField"))
        , time(f.on<QLineEdit>("browsePage", "timeField"))
    {
    }

    QLineEdit *subject;
    QPlainTextEdit *content;
    QLineEdit *time;
};

QTableView *grid(const ManagerFixture &f, int page)
{
    switch (page) {
    case ModifyPage:
        return f.on<QTableView>("modifyPage", "modifyGrid");
    case DeletePage:
        return f.on<QTableView>("deletePage", "deleteGrid");
    default:
        return f.on<QTableView>("browsePage", "browseGrid");
    }
}

QAction *deleteAction(const ManagerFixture &f)
{
    return f.find<QAction>("deleteAction");
}

void clickButton(const ManagerFixture &f, const char *page, const char *name)
{
    QTest::mouseClick(f.on<QPushButton>(page, name), Qt::LeftButton);
}

} // namespace

class TestReminders : public QObject
{
    Q_OBJECT

private slots:
    void add_data();
    void add();
    void failureStopsTheHandler_data();
    void failureStopsTheHandler();
    void loadShowsTheCalendarDateUnderAnyRegion_data();
    void loadShowsTheCalendarDateUnderAnyRegion();
    void timesAreTypedAsPeopleTypeThem_data();
    void timesAreTypedAsPeopleTypeThem();
    void loadAndBrowseNeedRows_data();
    void loadAndBrowseNeedRows();
    void oddRowsShowWhatTheyCan_data();
    void oddRowsShowWhatTheyCan();
    void modifyRefusals_data();
    void modifyRefusals();
    void modifyWritesTheSelectedRowAndResets();
    void modifyAcceptsBlankContentAndMidnight();
    void modifyOfARowRemovedElsewhereIsNotConfirmed();
    void modifyAfterAnUnreadableTimeAsksForOne();
    void rowsWithoutAUsableIdAreLeftAlone_data();
    void rowsWithoutAUsableIdAreLeftAlone();
    void deleteRemovesTheRightClickedRow();
    void deleteAfterAPressBelowTheRowsKeepsTheShownRow();
    void deleteOfARowRemovedElsewhereIsNotConfirmed();
    void deleteWithoutARowIsAnError_data();
    void deleteWithoutARowIsAnError();
    void browseFillsReadOnlyFieldsThatOutliveADeletion();
    void addRepeating_data();
    void addRepeating();
    void modifyRepeating_data();
    void modifyRepeating();
    void deleteRepeating_data();
    void deleteRepeating();
};

void TestReminders::add_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("stored"); // empty: refused

    QTest::newRow("all empty") << ""
                               << ""
                               << "00:00:00"
                               << "";
    QTest::newRow("blank subject") << " \t "
                                   << "内容"
                                   << "09:30:00"
                                   << "";
    QTest::newRow("blank and line-break content") << "早会"
                                                  << " \n\t \n"
                                                  << "09:30:00"
                                                  << "";
    QTest::newRow("midnight") << "早会"
                              << "内容"
                              << "00:00:00"
                              << "";
    QTest::newRow("one second past midnight") << "早会"
                                              << "内容"
                                              << "00:00:01"
                                              << "早会|内容|2026-03-05 00:00:01|2026-03-05";
    QTest::newRow("full-width blank subject") << "\u3000"
                                              << "内容"
                                              << "09:30:00"
                                              << "\u3000|内容|2026-03-05 09:30:00|2026-03-05";
    QTest::newRow("subject trimmed, content as typed") << " \t早会 "
                                                       << "  第一行\n第二行 \n"
                                                       << "09:30:15"
                                                       << "早会|  第一行\n第二行 \n|2026-03-05 09:30:15|2026-03-05";
}

void TestReminders::add()
{
    QFETCH(QString, subject);
    QFETCH(QString, content);
    QFETCH(QString, time);
    QFETCH(QString, stored);
    ManagerFixture f;
    f.showPage(AddPage);
    Form form(f, "addPage");
    form.fill(subject, content, QTime::fromString(time, QStringLiteral("HH:mm:ss")));
    form.date->setDate(QDate(2026, 3, 5));
    form.content->setFocus();

    clickButton(f, "addPage", "addButton");

    QCOMPARE(f.rows(), stored);
    if (stored.isEmpty()) {
        QCOMPARE(f.dialogs.shown, QStringList{kAddRefused});
        QCOMPARE(f.window->focusWidget(), form.subject);
        QCOMPARE(form.subject->text(), subject);
        QCOMPARE(form.content->toPlainText(), content);
        QCOMPARE(form.time->text(), time);
        QCOMPARE(form.date->date(), QDate(2026, 3, 5));
    } else {
        // Stored before the agenda is refreshed, refreshed before the confirmation.
        QCOMPARE(f.dialogs.shown, (QStringList{QStringLiteral("agenda|"), kAdded}));
        QCOMPARE(form.subject->text(), QString());
        QCOMPARE(form.content->toPlainText(), QString());
        QCOMPARE(form.time->text(), QStringLiteral("00:00:00"));
        QCOMPARE(form.date->date(), f.clock.now().date());
    }
}

void TestReminders::failureStopsTheHandler_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("refusedStatement"); // the store refuses it; empty: the agenda refresh fails
    QTest::addColumn<QString>("rows");

    const QString untouched = QStringLiteral("甲|a|2026-03-04 09:00:00|2026-03-04");
    QTest::newRow("add refused by the store") << int(AddPage) << "insert" << untouched;
    QTest::newRow("add stored, agenda failed")
        << int(AddPage) << "" << untouched + "\n乙|b|2026-03-04 10:00:00|2026-03-04";
    QTest::newRow("modify refused by the store") << int(ModifyPage) << "update" << untouched;
    QTest::newRow("modify stored, agenda failed") << int(ModifyPage) << ""
                                                  << "乙|b|2026-03-04 10:00:00|2026-03-04";
    QTest::newRow("delete refused by the store") << int(DeletePage) << "delete" << untouched;
    QTest::newRow("delete done, agenda failed") << int(DeletePage) << ""
                                                << "";
}

void TestReminders::failureStopsTheHandler()
{
    QFETCH(int, page);
    QFETCH(QString, refusedStatement);
    QFETCH(QString, rows);
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.agendaFails = refusedStatement.isEmpty();
    if (!f.agendaFails)
        f.db.sql(QStringLiteral("create trigger refuse before %1 on 日程提醒 begin select raise(abort,'拒绝'); end")
                     .arg(refusedStatement));
    f.showPage(page);
    QLineEdit *subject = nullptr;
    if (page == AddPage) {
        Form form(f, "addPage");
        form.fill(QStringLiteral("乙"), QStringLiteral("b"), QTime(10, 0));
        form.date->setDate(QDate(2026, 3, 4));
        subject = form.subject;
        clickButton(f, "addPage", "addButton");
    } else if (page == ModifyPage) {
        Form form(f, "modifyPage");
        form.fill(QStringLiteral("乙"), QStringLiteral("b"), QTime(10, 0));
        form.date->setDate(QDate(2026, 3, 4));
        subject = form.subject;
        clickButton(f, "modifyPage", "modifyButton");
    } else {
        deleteAction(f)->trigger();
    }

    // The error box stands in for the confirmation, and no step after the failing one ran: a refused
    // statement leaves the form as typed, a failed refresh comes after the form was reset.
    QCOMPARE(f.dialogs.shown.size(), 1);
    const QString expected = f.agendaFails ? QStringLiteral("error||议程失败.") : QStringLiteral("error||拒绝");
    QVERIFY2(f.dialogs.shown.first().startsWith(expected), qPrintable(f.dialogs.shown.first()));
    QCOMPARE(f.rows(), rows);
    if (subject)
        QCOMPARE(subject->text(), f.agendaFails ? QString() : QStringLiteral("乙"));
}

void TestReminders::loadShowsTheCalendarDateUnderAnyRegion_data()
{
    QTest::addColumn<QString>("region");
    QTest::newRow("China") << "zh_CN";
    QTest::newRow("United States") << "en_US";
    QTest::newRow("Germany") << "de_DE";
    QTest::newRow("Netherlands") << "nl_NL";
}

void TestReminders::loadShowsTheCalendarDateUnderAnyRegion()
{
    QFETCH(QString, region);
    const QLocale locale(region);
    QLocale::setDefault(locale);
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    ManagerFixture f;
    f.addRow(QStringLiteral("早会"), QStringLiteral("第一行\r第二行"), QStringLiteral("2009-03-03 09:30:00"));
    f.showPage(ModifyPage);

    doubleClickRow(grid(f, ModifyPage), 0);

    Form form(f, "modifyPage");
    QCOMPARE(f.dialogs.shown, QStringList());
    QCOMPARE(form.subject->text(), QStringLiteral("早会"));
    QCOMPARE(form.content->toPlainText(), QStringLiteral("第一行\n第二行"));
    QCOMPARE(form.date->date(), QDate(2009, 3, 3));
    QCOMPARE(form.date->text(), locale.toString(QDate(2009, 3, 3), QLocale::ShortFormat));
    QCOMPARE(form.time->text(), QStringLiteral("09:30:00"));
}

void TestReminders::timesAreTypedAsPeopleTypeThem_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("page");
    for (const char *region : {"zh_CN", "ar_EG", "fa_IR", "bn_BD"}) {
        for (const char *page : {"addPage", "modifyPage"})
            QTest::addRow("%s, %s", region, page) << region << page;
    }
}

// One click in the time field, then the digits: whatever the region writes its numbers with, the field
// takes and shows Latin digits, and the reminder is stored at the time typed.
void TestReminders::timesAreTypedAsPeopleTypeThem()
{
    QFETCH(QString, region);
    QFETCH(QString, page);
    QLocale::setDefault(QLocale(region));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 08:00:00"));
    const bool adding = page == QLatin1String("addPage");
    f.showPage(adding ? AddPage : ModifyPage);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window));
    Form form(f, qPrintable(page));
    form.subject->setText(QStringLiteral("早会"));
    form.content->setPlainText(QStringLiteral("内容"));
    form.date->setDate(QDate(2026, 3, 5));

    clickAt(form.time, form.time->rect().center(), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0930"));

    QCOMPARE(form.time->time(), QTime(9, 30));
    QCOMPARE(form.time->text(), QStringLiteral("09:30:00"));
    // Once in the field, a click selects the part clicked: past the end of the text, the seconds.
    auto *line = form.time->findChild<QLineEdit *>();
    clickAt(line, QPoint(line->width() - 3, line->height() / 2), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("15"));
    QCOMPARE(form.time->time(), QTime(9, 30, 15));
    const QString shownDate = form.date->text();
    QVERIFY2(std::all_of(shownDate.begin(), shownDate.end(), [](QChar c) { return !c.isDigit() || c.unicode() < 128; }),
             qPrintable(shownDate));
    QCOMPARE(form.date->date(), QDate(2026, 3, 5));
    clickButton(f, qPrintable(page), adding ? "addButton" : "modifyButton");
    QCOMPARE(f.rows().split(QLatin1Char('\n')).last(), QStringLiteral("早会|内容|2026-03-05 09:30:15|2026-03-05"));
}

void TestReminders::loadAndBrowseNeedRows_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("listRead");
    QTest::newRow("modify, empty table") << int(ModifyPage) << true;
    QTest::newRow("modify, list not read") << int(ModifyPage) << false;
    QTest::newRow("browse, empty table") << int(BrowsePage) << true;
    QTest::newRow("browse, list not read") << int(BrowsePage) << false;
}

void TestReminders::loadAndBrowseNeedRows()
{
    QFETCH(int, page);
    QFETCH(bool, listRead);
    ManagerFixture f;
    if (!listRead)
        f.db.sql(QStringLiteral("alter table 日程提醒 rename to 別名"));
    f.showPage(page);
    f.dialogs.shown.clear();
    auto *subject = page == ModifyPage ? f.on<QLineEdit>("modifyPage", "subjectEdit")
                                       : f.on<QLineEdit>("browsePage", "subjectField");
    subject->setText(QStringLiteral("留着"));

    QTest::mouseDClick(grid(f, page)->viewport(), Qt::LeftButton, {}, QPoint(10, 10));

    QCOMPARE(f.dialogs.shown, QStringList{kNoData});
    QCOMPARE(subject->text(), QStringLiteral("留着"));
}

void TestReminders::oddRowsShowWhatTheyCan_data()
{
    QTest::addColumn<QString>("values"); // 主题, 内容 and 时间 as SQL
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QDateTime>("due"); // what the modify page's date and time show; invalid for none
    QTest::addColumn<QString>("shownTime");

    const QDateTime none;
    const QDateTime nineThirty(QDate(2026, 3, 4), QTime(9, 30));
    const QString regional = regionalDateTimeText(nineThirty);
    QTest::newRow("no subject") << "NULL,'a','2026-03-04 09:30:00'"
                                << ""
                                << "a" << nineThirty << regional;
    QTest::newRow("no content") << "'甲',NULL,'2026-03-04 09:30:00'"
                                << "甲"
                                << "" << nineThirty << regional;
    QTest::newRow("no time") << "'甲','a',NULL"
                             << "甲"
                             << "a" << none << "";
    QTest::newRow("time in words") << "'甲','a','下周一'"
                                   << "甲"
                                   << "a" << none << "下周一";
    QTest::newRow("time as a number") << "'甲','a',20260304"
                                      << "甲"
                                      << "a" << none << "20260304";
    QTest::newRow("subject as a number") << "42,'a','2026-03-04 09:30:00'"
                                         << "42"
                                         << "a" << nineThirty << regional;
    QTest::newRow("content as a blob") << "'甲',X'E4BDA0','2026-03-04 09:30:00'"
                                       << "甲"
                                       << "你" << nineThirty << regional;
    QTest::newRow("markup") << "'<b>x</b>','a &lt; b<br>','2026-03-04 09:30:00'"
                            << "<b>x</b>"
                            << "a &lt; b<br>" << nineThirty << regional;
    QTest::newRow("10 MB content") << "'甲',replace(hex(zeroblob(5242880)),'00','xy'),'2026-03-04 09:30:00'"
                                   << "甲" << QStringLiteral("xy").repeated(5242880) << nineThirty << regional;
}

// Rows that other programs wrote, with values this program never writes: each page loads what it can,
// without an error box, and shows every text as it is stored.
void TestReminders::oddRowsShowWhatTheyCan()
{
    QFETCH(QString, values);
    QFETCH(QString, subject);
    QFETCH(QString, content);
    QFETCH(QDateTime, due);
    QFETCH(QString, shownTime);
    ManagerFixture f;
    f.db.sql(QStringLiteral("PRAGMA ignore_check_constraints=ON; "
                            "insert into 日程提醒(主题,内容,时间,日期) values(%1,'2026-03-04')")
                 .arg(values));
    f.showPage(ModifyPage);
    Form form(f, "modifyPage");
    form.date->setDate(QDate(2020, 1, 2));
    form.time->setTime(QTime(7, 8, 9));

    QTableView *modifyGrid = grid(f, ModifyPage);
    const auto *cells = qobject_cast<QStyledItemDelegate *>(modifyGrid->itemDelegate());
    const QModelIndex subjectCell = modifyGrid->model()->index(0, 1);
    QCOMPARE(cells->displayText(subjectCell.data(), QLocale()), subject);
    doubleClickRow(modifyGrid, 0);
    QCOMPARE(form.subject->text(), subject);
    QCOMPARE(form.content->toPlainText(), content);
    if (due.isValid()) {
        QCOMPARE(QDateTime(form.date->date(), form.time->time()), due);
    } else {
        // Nothing of the date and time shown before stays.
        QCOMPARE(form.date->text().trimmed(), QString());
        QCOMPARE(form.time->text().trimmed(), QString());
    }

    f.pages()->setCurrentIndex(BrowsePage);
    doubleClickRow(grid(f, BrowsePage), 0);
    Shown shown(f);
    QCOMPARE(shown.subject->text(), subject);
    QCOMPARE(shown.content->toPlainText(), content);
    QCOMPARE(shown.time->text(), shownTime);
    QCOMPARE(f.dialogs.shown, QStringList());
}

void TestReminders::modifyRefusals_data()
{
    QTest::addColumn<bool>("listRead");
    QTest::addColumn<bool>("hasRow");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("content");
    QTest::newRow("list not read") << false << true << "乙"
                                   << "b";
    QTest::newRow("empty table") << true << false << "乙"
                                 << "b";
    QTest::newRow("blank subject") << true << true << " \t "
                                   << "b";
    QTest::newRow("empty content") << true << true << "乙"
                                   << "";
}

void TestReminders::modifyRefusals()
{
    QFETCH(bool, listRead);
    QFETCH(bool, hasRow);
    QFETCH(QString, subject);
    QFETCH(QString, content);
    ManagerFixture f;
    if (hasRow)
        f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    const QString before = f.rows();
    if (!listRead)
        f.db.sql(QStringLiteral("alter table 日程提醒 rename to 別名"));
    f.showPage(ModifyPage);
    if (!listRead)
        f.db.sql(QStringLiteral("alter table 別名 rename to 日程提醒"));
    f.dialogs.shown.clear();
    Form form(f, "modifyPage");
    form.subject->setText(subject);
    form.content->setPlainText(content);

    clickButton(f, "modifyPage", "modifyButton");

    QCOMPARE(f.dialogs.shown, QStringList{kModifyRefused});
    QCOMPARE(f.rows(), before);
    QCOMPARE(form.subject->text(), subject);
    QCOMPARE(form.content->toPlainText(), content);
}

void TestReminders::modifyWritesTheSelectedRowAndResets()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    f.showPage(ModifyPage);
    f.on<QLineEdit>("addPage", "subjectEdit")->setText(QStringLiteral("添加页的输入"));
    QTableView *list = grid(f, ModifyPage);
    doubleClickRow(list, 0); // loads 甲
    pressRow(list, 1, Qt::LeftButton);
    Form form(f, "modifyPage");
    form.subject->setText(QStringLiteral("  乙改 "));
    form.date->setDate(QDate(2026, 3, 5));
    form.time->setTime(QTime(11, 15, 30));

    clickButton(f, "modifyPage", "modifyButton");

    // 乙 takes the form, its date moved off today; 甲 is untouched.
    QCOMPARE(f.rows(), QStringLiteral("甲|a|2026-03-04 09:00:00|2026-03-04\n"
                                      "乙改|a|2026-03-05 11:15:30|2026-03-05"));
    QCOMPARE(f.dialogs.shown, (QStringList{QStringLiteral("agenda|甲"), kModified}));
    QCOMPARE(form.subject->text(), QString());
    QCOMPARE(form.content->toPlainText(), QString());
    QCOMPARE(form.date->date(), f.clock.now().date());
    QCOMPARE(form.time->text(), QStringLiteral("00:00:00"));
    QCOMPARE(list->currentIndex().row(), 0);
    QCOMPARE(list->model()->index(1, 1).data().toString(), QStringLiteral("乙改"));
    QCOMPARE(f.on<QLineEdit>("addPage", "subjectEdit")->text(), QStringLiteral("添加页的输入"));

    f.dialogs.shown.clear();
    clickButton(f, "modifyPage", "modifyButton"); // the subject is empty now
    QCOMPARE(f.dialogs.shown, QStringList{kModifyRefused});
}

void TestReminders::modifyAcceptsBlankContentAndMidnight()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(ModifyPage);
    Form form(f, "modifyPage");
    form.fill(QStringLiteral("甲"), QStringLiteral("  "), QTime(0, 0));
    form.date->setDate(QDate(2026, 3, 6));

    clickButton(f, "modifyPage", "modifyButton");

    QCOMPARE(f.rows(), QStringLiteral("甲|  |2026-03-06 00:00:00|2026-03-06"));
    QCOMPARE(f.dialogs.shown.last(), kModified);
}

void TestReminders::modifyOfARowRemovedElsewhereIsNotConfirmed()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    f.showPage(ModifyPage);
    pressRow(grid(f, ModifyPage), 1, Qt::LeftButton);
    f.db.sql(QStringLiteral("delete from 日程提醒 where 主题='乙'"));
    Form form(f, "modifyPage");
    form.subject->setText(QStringLiteral("乙改"));
    form.content->setPlainText(QStringLiteral("b"));

    clickButton(f, "modifyPage", "modifyButton");

    QCOMPARE(f.dialogs.shown,
             (QStringList{QStringLiteral("agenda|甲"), QStringLiteral("info|提示|") + kModifiedRowGoneMessage}));
    QCOMPARE(f.rows(), QStringLiteral("甲|a|2026-03-04 09:00:00|2026-03-04"));
    QCOMPARE(grid(f, ModifyPage)->model()->rowCount(), 1); // read again
    // What was typed stays, to be added again; pressing 修改 again does not write it over 甲, now current,
    // until the user picks a row.
    QCOMPARE(form.subject->text(), QStringLiteral("乙改"));
    QCOMPARE(form.content->toPlainText(), QStringLiteral("b"));
    f.dialogs.shown.clear();
    clickButton(f, "modifyPage", "modifyButton");
    QCOMPARE(f.dialogs.shown, QStringList{kModifyRefused});
    QCOMPARE(f.rows(), QStringLiteral("甲|a|2026-03-04 09:00:00|2026-03-04"));

    pressRow(grid(f, ModifyPage), 0, Qt::LeftButton);
    clickButton(f, "modifyPage", "modifyButton");
    QCOMPARE(f.dialogs.shown.last(), kModified);
    QCOMPARE(f.rows().section(u'|', 0, 1), QStringLiteral("乙改|b"));
}

// A row whose time cannot be read loads with no date and time, and 修改 asks for them instead of writing
// those of the row loaded before.
void TestReminders::modifyAfterAnUnreadableTimeAsksForOne()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.db.sql(QStringLiteral("PRAGMA ignore_check_constraints=ON; "
                            "insert into 日程提醒(主题,内容,时间,日期) values('乙','b','下周一','2026-03-04')"));
    f.showPage(ModifyPage);
    QTableView *list = grid(f, ModifyPage);
    Form form(f, "modifyPage");
    doubleClickRow(list, 0);
    QCOMPARE(form.time->time(), QTime(9, 0));
    pressRow(list, 1, Qt::LeftButton);
    doubleClickRow(list, 1);
    QCOMPARE(form.date->text().trimmed(), QString());
    QCOMPARE(form.time->text().trimmed(), QString());
    const QString before = f.rows();
    f.dialogs.shown.clear();

    clickButton(f, "modifyPage", "modifyButton");
    QCOMPARE(f.dialogs.shown, QStringList{QStringLiteral("info|提示|") + kNoTimeMessage});
    QCOMPARE(f.rows(), before);

    // A time chosen fills both fields: the date is today's.
    form.time->setTime(QTime(10, 30));
    QCOMPARE(form.date->date(), f.clock.now().date());
    QVERIFY(!form.date->text().trimmed().isEmpty());
    clickButton(f, "modifyPage", "modifyButton");
    QCOMPARE(f.dialogs.shown.last(), kModified);
    QCOMPARE(f.rows().section(u'\n', 1),
             QStringLiteral("乙|b|%1 10:30:00|%1").arg(f.clock.now().date().toString(Qt::ISODate)));
}

void TestReminders::rowsWithoutAUsableIdAreLeftAlone_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("id"); // as SQL
    QTest::addColumn<QString>("told");
    QTest::newRow("modify, no id") << int(ModifyPage) << "null" << kUnkeyedRowModifyMessage.text();
    QTest::newRow("modify, id in words") << int(ModifyPage) << "'x'" << kUnkeyedRowModifyMessage.text();
    QTest::newRow("delete, no id") << int(DeletePage) << "null" << kUnkeyedRowDeleteMessage.text();
    QTest::newRow("delete, id in words") << int(DeletePage) << "'x'" << kUnkeyedRowDeleteMessage.text();
}

// A row that another program wrote without an id that finds it is neither modified nor deleted, and the
// user is told why.
void TestReminders::rowsWithoutAUsableIdAreLeftAlone()
{
    QFETCH(int, page);
    QFETCH(QString, id);
    QFETCH(QString, told);
    ManagerFixture f;
    f.db.sql(QStringLiteral("drop table 日程提醒; create table 日程提醒(id, 主题, 内容, 时间, 日期);"
                            "insert into 日程提醒 values(%1, '甲', 'a', '2026-03-04 09:00:00', '2026-03-04')")
                 .arg(id));
    const QString before = f.rows();
    f.showPage(page);
    f.dialogs.shown.clear();
    if (page == ModifyPage) {
        doubleClickRow(grid(f, ModifyPage), 0);
        Form(f, "modifyPage").subject->setText(QStringLiteral("乙"));
        clickButton(f, "modifyPage", "modifyButton");
    } else {
        deleteAction(f)->trigger();
    }
    QCOMPARE(f.dialogs.shown, QStringList{QStringLiteral("info|提示|") + told});
    QCOMPARE(f.rows(), before);
}

void TestReminders::deleteRemovesTheRightClickedRow()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙", "丙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);
    QTableView *list = grid(f, DeletePage);
    auto *menu = f.find<QMenu>("deleteMenu");

    pressRow(list, 1, Qt::RightButton);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->actions(), QList<QAction *>{deleteAction(f)});
    QCOMPARE(deleteAction(f)->text(), QStringLiteral("删除"));
    deleteAction(f)->trigger();
    menu->close();

    QCOMPARE(f.db.sql(QStringLiteral("select group_concat(主题) from 日程提醒")), QStringLiteral("甲,丙"));
    QCOMPARE(f.dialogs.shown, (QStringList{QStringLiteral("agenda|甲,丙"), kDeleted}));
    QCOMPARE(list->currentIndex().row(), 0);
    QCOMPARE(list->model()->rowCount(), 2);
}

void TestReminders::deleteAfterAPressBelowTheRowsKeepsTheShownRow()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);
    QTableView *list = grid(f, DeletePage);
    pressRow(list, 1, Qt::LeftButton);
    const QPoint below(20, list->viewport()->height() - 5);
    QVERIFY(!list->indexAt(below).isValid());

    clickAt(list->viewport(), below, Qt::RightButton);
    QVERIFY(f.find<QMenu>("deleteMenu")->isVisible());
    QCOMPARE(list->currentIndex().row(), 1);
    deleteAction(f)->trigger();
    f.find<QMenu>("deleteMenu")->close();

    QCOMPARE(f.db.sql(QStringLiteral("select group_concat(主题) from 日程提醒")), QStringLiteral("甲"));
}

void TestReminders::deleteOfARowRemovedElsewhereIsNotConfirmed()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);
    pressRow(grid(f, DeletePage), 1, Qt::LeftButton);
    f.db.sql(QStringLiteral("delete from 日程提醒 where 主题='乙'"));

    deleteAction(f)->trigger();

    QCOMPARE(f.dialogs.shown,
             (QStringList{QStringLiteral("agenda|甲"), QStringLiteral("info|提示|") + kDeletedRowGoneMessage}));
    QCOMPARE(f.db.sql(QStringLiteral("select group_concat(主题) from 日程提醒")), QStringLiteral("甲"));
    QCOMPARE(grid(f, DeletePage)->model()->rowCount(), 1);
}

void TestReminders::deleteWithoutARowIsAnError_data()
{
    QTest::addColumn<bool>("listRead");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty table") << true << "error||qry2: Cannot perform this operation on an empty dataset.";
    QTest::newRow("list not read") << false << "error||qry2: Cannot perform this operation on a closed dataset.";
}

void TestReminders::deleteWithoutARowIsAnError()
{
    QFETCH(bool, listRead);
    QFETCH(QString, error);
    ManagerFixture f;
    if (!listRead)
        f.db.sql(QStringLiteral("alter table 日程提醒 rename to 別名"));
    f.showPage(DeletePage);
    f.dialogs.shown.clear();

    deleteAction(f)->trigger();

    QCOMPARE(f.dialogs.shown, QStringList{error});
}

void TestReminders::browseFillsReadOnlyFieldsThatOutliveADeletion()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("午夜"), QStringLiteral("第一行\r第二行"), QStringLiteral("2026-03-04 00:00:00"));
    f.addRow(QStringLiteral("早会"), QStringLiteral("c"), QStringLiteral("2026-03-04 09:30:00"));
    f.showPage(BrowsePage);
    QTableView *list = grid(f, BrowsePage);
    Shown shown(f);

    doubleClickRow(list, 0);
    QCOMPARE(shown.subject->text(), QStringLiteral("午夜"));
    QCOMPARE(shown.content->toPlainText(), QStringLiteral("第一行\n第二行"));
    QCOMPARE(shown.time->text(), QLocale::system().toString(QDate(2026, 3, 4), QLocale::ShortFormat));

    doubleClickRow(list, 1);
    QCOMPARE(shown.subject->text(), QStringLiteral("早会"));
    QTest::keyClicks(shown.subject, QStringLiteral("x"));
    QTest::keyClicks(shown.content, QStringLiteral("x"));
    QTest::keyClicks(shown.time, QStringLiteral("x"));
    QCOMPARE(shown.subject->text(), QStringLiteral("早会"));
    QCOMPARE(shown.content->toPlainText(), QStringLiteral("c"));
    QCOMPARE(shown.time->text(), regionalDateTimeText(QDateTime(QDate(2026, 3, 4), QTime(9, 30))));

    f.pages()->setCurrentIndex(DeletePage);
    pressRow(grid(f, DeletePage), 1, Qt::LeftButton);
    deleteAction(f)->trigger();
    f.pages()->setCurrentIndex(BrowsePage);
    QCOMPARE(shown.subject->text(), QStringLiteral("早会"));
    QCOMPARE(shown.content->toPlainText(), QStringLiteral("c"));
}

void TestReminders::addRepeating_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("stored"); // 时间 and the 重复 column; no column when nothing repeats
    QTest::newRow("once") << QString() << QDate(2026, 3, 5) << QStringLiteral("2026-03-05 09:00:00");
    QTest::newRow("weekly") << QStringLiteral("weekly") << QDate(2026, 3, 5)
                            << QStringLiteral("2026-03-05 09:00:00|每周四");
    // A series of workdays begun on a Saturday starts on Monday.
    QTest::newRow("weekdays from a Saturday")
        << QStringLiteral("weekdays") << QDate(2026, 3, 7) << QStringLiteral("2026-03-09 09:00:00|工作日");
    QTest::newRow("monthly on the 31st") << QStringLiteral("monthly") << QDate(2026, 3, 31)
                                         << QStringLiteral("2026-03-31 09:00:00|每月31日");
}

void TestReminders::addRepeating()
{
    QFETCH(QString, rule);
    QFETCH(QDate, date);
    QFETCH(QString, stored);
    ManagerFixture f;
    f.showPage(AddPage);
    Form form(f, "addPage");
    auto *repeat = f.on<QComboBox>("addPage", "repeatChoice");
    form.fill(QStringLiteral("例会"), QStringLiteral("a"), QTime(9, 0));
    form.date->setDate(date);
    repeat->setCurrentIndex(repeat->findData(rule));

    clickButton(f, "addPage", "addButton");

    QCOMPARE(f.dialogs.shown.last(), kAdded);
    ReminderListModel list(f.store);
    list.reload();
    QStringList shown{list.index(0, 3).data().toString()};
    if (list.columnCount() == 6)
        shown << list.index(0, 5).data().toString();
    QCOMPARE(list.headerData(5, Qt::Horizontal).toString(),
             list.columnCount() == 6 ? QStringLiteral("重复") : QString());
    QCOMPARE(shown.join(QLatin1Char('|')), stored);
    QCOMPARE(repeat->currentText(), QStringLiteral("不重复"));

    // The browse page shows the repeat after the time.
    f.pages()->setCurrentIndex(BrowsePage);
    doubleClickRow(grid(f, BrowsePage), 0);
    const QString time = Shown(f).time->text();
    QCOMPARE(time.section(QStringLiteral("  "), 1), stored.section(QLatin1Char('|'), 1));
}

void TestReminders::modifyRepeating_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDateTime>("due");
    QTest::addColumn<QString>("stored"); // 时间 | the rule's row in reminder_repeats
    const QDateTime wednesday(QDate(2026, 3, 4), QTime(9, 0));
    // Only the subject changes: the series goes on as it was, its exception kept.
    QTest::newRow("same rule and time") << QStringLiteral(
        "weekly") << wednesday << QStringLiteral("2026-03-04 09:00:00|weekly|2026-02-25 09:00:00|2026-03-11 09:00:00");
    QTest::newRow("new time restarts the series")
        << QStringLiteral("weekly") << QDateTime(QDate(2026, 3, 6), QTime(10, 0))
        << QStringLiteral("2026-03-06 10:00:00|weekly|2026-03-06 10:00:00|2026-03-11 09:00:00");
    QTest::newRow("another rule") << QStringLiteral("daily") << wednesday
                                  << QStringLiteral("2026-03-04 09:00:00|daily|2026-03-04 09:00:00|");
    QTest::newRow("no repeat") << QString() << wednesday << QStringLiteral("2026-03-04 09:00:00|||");
}

void TestReminders::modifyRepeating()
{
    QFETCH(QString, rule);
    QFETCH(QDateTime, due);
    QFETCH(QString, stored);
    ManagerFixture f;
    f.addRow(QStringLiteral("例会"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    ReminderRepeats(f.store).keep(1, Repetition{QStringLiteral("weekly"),
                                                WallClock::at(QDate(2026, 2, 25), QTime(9, 0)),
                                                {WallClock::at(QDate(2026, 3, 11), QTime(9, 0))}});
    f.showPage(ModifyPage);
    doubleClickRow(grid(f, ModifyPage), 0);
    auto *repeat = f.on<QComboBox>("modifyPage", "repeatChoice");
    QCOMPARE(repeat->currentText(), QStringLiteral("每周"));
    Form form(f, "modifyPage");
    form.subject->setText(QStringLiteral("周会"));
    form.date->setDate(due.date());
    form.time->setTime(due.time());
    repeat->setCurrentIndex(repeat->findData(rule));

    clickButton(f, "modifyPage", "modifyButton");

    QCOMPARE(f.dialogs.shown.last(), kModified);
    QCOMPARE(f.db.sql(QStringLiteral("select 主题||'|'||时间||'|'||ifnull((select rule||'|'||start||'|'||exceptions"
                                     " from reminder_repeats),'||') from 日程提醒")),
             QStringLiteral("周会|") + stored);
    QCOMPARE(repeat->currentText(), QStringLiteral("不重复"));
}

void TestReminders::deleteRepeating_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("left"); // 时间 | exceptions, or nothing
    QTest::addColumn<QStringList>("told");
    const QString question = QStringLiteral("series|例会");
    QTest::newRow("this occurrence") << int(Dialogs::DeleteOccurrence)
                                     << QStringLiteral("2026-03-11 09:00:00|2026-03-04 09:00:00")
                                     << QStringList{question, QStringLiteral("agenda|"), kDeleted};
    QTest::newRow("the series") << int(Dialogs::DeleteSeries) << QString()
                                << QStringList{question, QStringLiteral("agenda|"), kDeleted};
    QTest::newRow("nothing") << int(Dialogs::DeleteNothing) << QStringLiteral("2026-03-04 09:00:00|")
                             << QStringList{question};
}

void TestReminders::deleteRepeating()
{
    QFETCH(int, answer);
    QFETCH(QString, left);
    QFETCH(QStringList, told);
    ManagerFixture f;
    f.addRow(QStringLiteral("例会"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    ReminderRepeats(f.store).keep(
        1, Repetition{QStringLiteral("weekly"), WallClock::at(QDate(2026, 3, 4), QTime(9, 0)), {}});
    f.showPage(DeletePage);
    pressRow(grid(f, DeletePage), 0, Qt::LeftButton);

    deleteAction(f)->trigger();
    QCOMPARE(f.dialogs.standingBoxes().size(), 1);
    f.dialogs.standingBoxes().first()->done(answer);

    QCOMPARE(f.db.sql(QStringLiteral(
                 "select 时间||'|'||ifnull((select exceptions from reminder_repeats),'') from 日程提醒")),
             left);
    QCOMPARE(f.dialogs.shown, told);
}

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
