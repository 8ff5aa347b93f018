// Adding, modifying, deleting and browsing reminders through the manager window's pages.

#include "manager/datagrid.h"
#include "managerfixture.h"
#include "store/textformats.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimeEdit>

namespace {

enum Page { AddPage, ModifyPage, DeletePage, BrowsePage };

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

void pressRow(DataGrid *grid, int row, Qt::MouseButton button)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QVERIFY(cell.isValid());
    clickAt(grid->viewport(), cell.center(), button);
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
    void loadAndBrowseNeedRows_data();
    void loadAndBrowseNeedRows();
    void modifyRefusals_data();
    void modifyRefusals();
    void modifyWritesTheSelectedRowAndResets();
    void modifyAcceptsBlankContentAndMidnight();
    void modifyOfARowRemovedElsewhereIsNotConfirmed();
    void deleteRemovesTheRightClickedRow();
    void deleteAfterAPressBelowTheRowsKeepsTheShownRow();
    void deleteOfARowRemovedElsewhereIsNotConfirmed();
    void deleteOnAnEmptyTableIsAnError();
    void browseFillsReadOnlyFieldsThatOutliveADeletion();
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
    f.form.Edit2->setText(subject);
    f.form.Memo1->setPlainText(content);
    f.form.TimeEdit1->setTime(QTime::fromString(time, QStringLiteral("HH:mm:ss")));
    f.form.DateTimePicker1->setDate(QDate(2026, 3, 5));
    f.form.Memo1->setFocus();

    QTest::mouseClick(f.form.Button1, Qt::LeftButton);

    QCOMPARE(f.rows(), stored);
    if (stored.isEmpty()) {
        QCOMPARE(f.dialogs.shown, QStringList{kAddRefused});
        QCOMPARE(f.form.focusWidget(), f.form.Edit2);
        QCOMPARE(f.form.Edit2->text(), subject);
        QCOMPARE(f.form.Memo1->toPlainText(), content);
        QCOMPARE(f.form.TimeEdit1->text(), time);
        QCOMPARE(f.form.DateTimePicker1->date(), QDate(2026, 3, 5));
    } else {
        // Stored before the agenda is refreshed, refreshed before the confirmation.
        QCOMPARE(f.dialogs.shown, (QStringList{QStringLiteral("agenda|"), kAdded}));
        QCOMPARE(f.form.Edit2->text(), QString());
        QCOMPARE(f.form.Memo1->toPlainText(), QString());
        QCOMPARE(f.form.TimeEdit1->text(), QStringLiteral("00:00:00"));
        QCOMPARE(f.form.DateTimePicker1->date(), f.clock.now().date());
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
    const bool agendaFails = refusedStatement.isEmpty();
    TempDatabase db;
    db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values('甲','a','2026-03-04 09:00:00','2026-03-04')"));
    if (!agendaFails)
        db.sql(QStringLiteral("create trigger refuse before %1 on 日程提醒 begin select raise(abort,'拒绝'); end")
                   .arg(refusedStatement));
    Tdm dm(db.path());
    RecordingDialogs dialogs;
    FakeClock clock;
    TForm2 form(dm, dialogs, clock, [agendaFails] {
        if (agendaFails)
            throw AppError(QStringLiteral("议程失败"));
    });
    form.show();
    form.PageControl1->setCurrentIndex(page);
    const auto fill = [](QLineEdit *subject, QPlainTextEdit *content, QTimeEdit *time) {
        subject->setText(QStringLiteral("乙"));
        content->setPlainText(QStringLiteral("b"));
        time->setTime(QTime(10, 0));
    };
    QLineEdit *subject = nullptr;
    if (page == AddPage) {
        fill(subject = form.Edit2, form.Memo1, form.TimeEdit1);
        form.Button1Click();
    } else if (page == ModifyPage) {
        fill(subject = form.Edit4, form.Memo2, form.TimeEdit2);
        form.DateTimePicker2->setDate(QDate(2026, 3, 4));
        form.Button3Click();
    } else {
        form.N1Click();
    }

    // The error box stands in for the confirmation, and no step after the failing one ran: a refused
    // statement leaves the form as typed, a failed refresh comes after the form was reset.
    QCOMPARE(dialogs.shown.size(), 1);
    const QString expected = agendaFails ? QStringLiteral("error||议程失败.") : QStringLiteral("error||拒绝");
    QVERIFY2(dialogs.shown.first().startsWith(expected), qPrintable(dialogs.shown.first()));
    QCOMPARE(db.sql(QStringLiteral("select 主题,内容,时间,日期 from 日程提醒")), rows);
    if (subject)
        QCOMPARE(subject->text(), agendaFails ? QString() : QStringLiteral("乙"));
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

    f.form.DBGrid1DblClick();

    QCOMPARE(f.dialogs.shown, QStringList());
    QCOMPARE(f.form.Edit4->text(), QStringLiteral("早会"));
    QCOMPARE(f.form.Memo2->toPlainText(), QStringLiteral("第一行\n第二行"));
    QCOMPARE(f.form.DateTimePicker2->date(), QDate(2009, 3, 3));
    QCOMPARE(f.form.DateTimePicker2->text(), locale.toString(QDate(2009, 3, 3), QLocale::ShortFormat));
    QCOMPARE(f.form.TimeEdit2->text(), QStringLiteral("09:30:00"));
}

void TestReminders::loadAndBrowseNeedRows_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("listOpen");
    QTest::newRow("modify, empty table") << int(ModifyPage) << true;
    QTest::newRow("modify, list not read") << int(ModifyPage) << false;
    QTest::newRow("browse, empty table") << int(BrowsePage) << true;
    QTest::newRow("browse, list not read") << int(BrowsePage) << false;
}

void TestReminders::loadAndBrowseNeedRows()
{
    QFETCH(int, page);
    QFETCH(bool, listOpen);
    ManagerFixture f;
    if (listOpen)
        f.showPage(page);
    QLineEdit *subject = page == ModifyPage ? f.form.Edit4 : f.form.Edit3;
    subject->setText(QStringLiteral("留着"));

    if (page == ModifyPage)
        f.form.DBGrid1DblClick();
    else
        f.form.DBGrid3DblClick();

    QCOMPARE(f.dialogs.shown, QStringList{kNoData});
    QCOMPARE(subject->text(), QStringLiteral("留着"));
}

void TestReminders::modifyRefusals_data()
{
    QTest::addColumn<bool>("listOpen");
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
    QFETCH(bool, listOpen);
    QFETCH(bool, hasRow);
    QFETCH(QString, subject);
    QFETCH(QString, content);
    ManagerFixture f;
    if (hasRow)
        f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    const QString before = f.rows();
    if (listOpen)
        f.showPage(ModifyPage);
    f.form.Edit4->setText(subject);
    f.form.Memo2->setPlainText(content);

    f.form.Button3Click();

    QCOMPARE(f.dialogs.shown, QStringList{kModifyRefused});
    QCOMPARE(f.rows(), before);
    QCOMPARE(f.form.Edit4->text(), subject);
    QCOMPARE(f.form.Memo2->toPlainText(), content);
}

void TestReminders::modifyWritesTheSelectedRowAndResets()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    f.showPage(ModifyPage);
    f.form.Edit2->setText(QStringLiteral("添加页的输入"));
    f.form.DBGrid1DblClick(); // loads 甲, the first row
    pressRow(f.form.DBGrid1, 1, Qt::LeftButton);
    QCOMPARE(f.dm.qry2.currentRow(), 1);
    f.form.Edit4->setText(QStringLiteral("  乙改 "));
    f.form.DateTimePicker2->setDate(QDate(2026, 3, 5));
    f.form.TimeEdit2->setTime(QTime(11, 15, 30));

    f.form.Button3Click();

    // 乙 takes the form, its date moved off today; 甲 is untouched.
    QCOMPARE(f.rows(), QStringLiteral("甲|a|2026-03-04 09:00:00|2026-03-04\n"
                                      "乙改|a|2026-03-05 11:15:30|2026-03-05"));
    QCOMPARE(f.dialogs.shown, (QStringList{QStringLiteral("agenda|甲"), kModified}));
    QCOMPARE(f.form.Edit4->text(), QString());
    QCOMPARE(f.form.Memo2->toPlainText(), QString());
    QCOMPARE(f.form.DateTimePicker2->date(), f.clock.now().date());
    QCOMPARE(f.form.TimeEdit2->text(), QStringLiteral("00:00:00"));
    QCOMPARE(f.dm.qry2.currentRow(), 0);
    QCOMPARE(f.dm.DataSource1.index(1, 1).data().toString(), QStringLiteral("乙改"));
    QCOMPARE(f.form.Edit2->text(), QStringLiteral("添加页的输入"));

    f.dialogs.shown.clear();
    f.form.Button3Click(); // the subject is empty now
    QCOMPARE(f.dialogs.shown, QStringList{kModifyRefused});
}

void TestReminders::modifyAcceptsBlankContentAndMidnight()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(ModifyPage);
    f.form.Edit4->setText(QStringLiteral("甲"));
    f.form.Memo2->setPlainText(QStringLiteral("  "));
    f.form.DateTimePicker2->setDate(QDate(2026, 3, 6));

    f.form.Button3Click();

    QCOMPARE(f.rows(), QStringLiteral("甲|  |2026-03-06 00:00:00|2026-03-06"));
    QCOMPARE(f.dialogs.shown.last(), kModified);
}

void TestReminders::modifyOfARowRemovedElsewhereIsNotConfirmed()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    f.showPage(ModifyPage);
    pressRow(f.form.DBGrid1, 1, Qt::LeftButton);
    f.db.sql(QStringLiteral("delete from 日程提醒 where 主题='乙'"));
    f.form.Edit4->setText(QStringLiteral("乙改"));
    f.form.Memo2->setPlainText(QStringLiteral("b"));

    f.form.Button3Click();

    QCOMPARE(f.dialogs.shown, QStringList{QStringLiteral("info|提示|") + kModifiedRowGoneMessage});
    QCOMPARE(f.rows(), QStringLiteral("甲|a|2026-03-04 09:00:00|2026-03-04"));
    QCOMPARE(f.dm.qry2.recordCount(), 1); // re-read
    QCOMPARE(f.form.DBGrid1->model()->rowCount(), 1);
    QCOMPARE(f.form.Edit4->text(), QStringLiteral("乙改"));
}

void TestReminders::deleteRemovesTheRightClickedRow()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙", "丙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);

    pressRow(f.form.DBGrid2, 1, Qt::RightButton);
    QVERIFY(f.form.PopupMenu1->isVisible());
    QCOMPARE(f.form.PopupMenu1->actions(), QList<QAction *>{f.form.N1});
    f.form.N1->trigger();
    f.form.PopupMenu1->close();

    QCOMPARE(f.db.sql(QStringLiteral("select group_concat(主题) from 日程提醒")), QStringLiteral("甲,丙"));
    QCOMPARE(f.dialogs.shown, (QStringList{QStringLiteral("agenda|甲,丙"), kDeleted}));
    QCOMPARE(f.dm.qry2.currentRow(), 0);
    QCOMPARE(f.form.DBGrid2->model()->rowCount(), 2);
}

void TestReminders::deleteAfterAPressBelowTheRowsKeepsTheShownRow()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);
    pressRow(f.form.DBGrid2, 1, Qt::LeftButton);
    const QPoint below(20, f.form.DBGrid2->viewport()->height() - 5);
    QVERIFY(!f.form.DBGrid2->indexAt(below).isValid());

    clickAt(f.form.DBGrid2->viewport(), below, Qt::RightButton);
    QVERIFY(f.form.PopupMenu1->isVisible());
    QCOMPARE(f.dm.qry2.currentRow(), 1);
    QCOMPARE(f.form.DBGrid2->currentIndex().row(), 1);
    f.form.N1->trigger();
    f.form.PopupMenu1->close();

    QCOMPARE(f.db.sql(QStringLiteral("select group_concat(主题) from 日程提醒")), QStringLiteral("甲"));
}

void TestReminders::deleteOfARowRemovedElsewhereIsNotConfirmed()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);
    pressRow(f.form.DBGrid2, 1, Qt::LeftButton);
    f.db.sql(QStringLiteral("delete from 日程提醒 where 主题='乙'"));

    f.form.N1Click();

    QCOMPARE(f.dialogs.shown, QStringList{QStringLiteral("info|提示|") + kDeletedRowGoneMessage});
    QCOMPARE(f.db.sql(QStringLiteral("select group_concat(主题) from 日程提醒")), QStringLiteral("甲"));
    QCOMPARE(f.dm.qry2.recordCount(), 1);
}

void TestReminders::deleteOnAnEmptyTableIsAnError()
{
    ManagerFixture f;
    f.showPage(DeletePage);

    f.form.N1Click();

    QCOMPARE(f.dialogs.shown,
             QStringList{QStringLiteral("error||qry2: Cannot perform this operation on an empty dataset.")});
}

void TestReminders::browseFillsReadOnlyFieldsThatOutliveADeletion()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("午夜"), QStringLiteral("第一行\r第二行"), QStringLiteral("2026-03-04 00:00:00"));
    f.addRow(QStringLiteral("早会"), QStringLiteral("c"), QStringLiteral("2026-03-04 09:30:00"));
    f.showPage(BrowsePage);

    f.form.DBGrid3DblClick();
    QCOMPARE(f.form.Edit3->text(), QStringLiteral("午夜"));
    QCOMPARE(f.form.Memo3->toPlainText(), QStringLiteral("第一行\n第二行"));
    QCOMPARE(f.form.Edit5->text(), QLocale::system().toString(QDate(2026, 3, 4), QLocale::ShortFormat));

    pressRow(f.form.DBGrid3, 1, Qt::LeftButton);
    f.form.DBGrid3DblClick();
    QCOMPARE(f.form.Edit3->text(), QStringLiteral("早会"));
    QTest::keyClicks(f.form.Edit3, QStringLiteral("x"));
    QTest::keyClicks(f.form.Memo3, QStringLiteral("x"));
    QTest::keyClicks(f.form.Edit5, QStringLiteral("x"));
    QCOMPARE(f.form.Edit3->text(), QStringLiteral("早会"));
    QCOMPARE(f.form.Memo3->toPlainText(), QStringLiteral("c"));
    QCOMPARE(f.form.Edit5->text(), regionalDateTimeText(QDateTime(QDate(2026, 3, 4), QTime(9, 30))));

    f.form.PageControl1->setCurrentIndex(DeletePage);
    pressRow(f.form.DBGrid2, 1, Qt::LeftButton);
    f.form.N1Click();
    f.form.PageControl1->setCurrentIndex(BrowsePage);
    QCOMPARE(f.form.Edit3->text(), QStringLiteral("早会"));
    QCOMPARE(f.form.Memo3->toPlainText(), QStringLiteral("c"));
}

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
