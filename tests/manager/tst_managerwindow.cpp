// The manager window itself: its controls, keys, pages, shared grid row, notice links and placement.

#include "managerfixture.h"
#include "scriptedserver.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDateEdit>
#include <QFrame>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTableView>
#include <QTimeEdit>

namespace {

QString captionOf(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    return {};
}

QStringList names(const QList<QWidget *> &widgets)
{
    QStringList list;
    for (QWidget *widget : widgets)
        list << widget->objectName();
    return list;
}

QByteArray page(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Points the notice links at `server` for as long as the returned guard lives.
auto noticeHostAt(const ScriptedServer &server)
{
    qputenv("ORVANE_NOTICE_HOST", "127.0.0.1:" + QByteArray::number(server.port()));
    return qScopeGuard([] { qunsetenv("ORVANE_NOTICE_HOST"); });
}

} // namespace

class TestManagerWindow : public QObject
{
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void controlsLieInTheirBoxesApart_data();
    void controlsLieInTheirBoxesApart();
    void creationState();
    void hotAreas_data();
    void hotAreas();
    void tabOrder_data();
    void tabOrder();
    void tabReachesThePictureAreasAfterThePage();
    void focusMarkShowsOnlyAfterTheKeyboard();
    void enterPressesTheFocusedButtonOnly();
    void escapeClosesTheWindow();
    void fieldsAreNamedByTheirCaptions();
    void everyControlTabReachesIsNamed();
    void showingAListPageRereadsTheTable();
    void failedRereadLeavesTheWindowUsable();
    void gridsShareOneCurrentRow();
    void doubleClickAnywhereOnTheGridLoads_data();
    void doubleClickAnywhereOnTheGridLoads();
    void rowsThatCannotBeFetchedAreReportedOnce();
    void noticeLinksOpenTheirElement_data();
    void noticeLinksOpenTheirElement();
    void closingMidFetchEndsTheFetch();
    void showsCentredOnThePrimaryScreen();
};

void TestManagerWindow::captions_data()
{
    QTest::addColumn<QString>("page"); // empty: on the window itself
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char *page, const char *name, const QString &caption) {
        QTest::addRow("%s %s", page, name) << QString::fromLatin1(page) << QString::fromLatin1(name) << caption;
    };
    row("", "moreInfoLink", "更多信息...");
    for (const char *page : {"addPage", "modifyPage", "browsePage"}) {
        row(page, "subjectCaption", "日程主题：");
        row(page, "contentCaption", "日程内容：");
        row(page, "timeCaption", "提醒时间：");
        row(page, "backButton", "返回");
    }
    row("addPage", "addButton", "增加");
    row("modifyPage", "modifyButton", "修改");
}

void TestManagerWindow::captions()
{
    QFETCH(QString, page);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    ManagerFixture f;
    QWidget *control = page.isEmpty() ? f.find(qPrintable(name)) : f.on(qPrintable(page), qPrintable(name));
    QCOMPARE(captionOf(control), caption);
}

void TestManagerWindow::controlsLieInTheirBoxesApart_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("add") << int(AddPage);
    QTest::newRow("modify") << int(ModifyPage);
    QTest::newRow("delete") << int(DeletePage);
    QTest::newRow("browse") << int(BrowsePage);
    QTest::newRow("about") << int(AboutPage);
}

// The pages lie on the window picture's white area, the link below it; on each page the controls lie inside
// the panel that frames them (the About page's picture inside the page), and no two of them overlap.
void TestManagerWindow::controlsLieInTheirBoxesApart()
{
    QFETCH(int, page);
    ManagerFixture f;
    f.showPage(page);

    const QImage picture(QStringLiteral(":/assets/manager.png"));
    const QRect pages = f.pages()->geometry();
    const auto onWhite = [&picture](const QRect &box) {
        for (int x = box.left(); x <= box.right(); ++x) {
            for (int y : {box.top(), box.bottom()}) {
                if (picture.pixelColor(x, y) != Qt::white)
                    return false;
            }
        }
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x : {box.left(), box.right()}) {
                if (picture.pixelColor(x, y) != Qt::white)
                    return false;
            }
        }
        return true;
    };
    QVERIFY(onWhite(pages));
    const QRect link = f.find("moreInfoLink")->geometry();
    QVERIFY(picture.rect().contains(link));
    QVERIFY(!link.intersects(pages));

    QWidget *pageWidget = f.pages()->widget(page);
    const QList<QFrame *> panels = pageWidget->findChildren<QFrame *>(QStringLiteral("panel"));
    // Every page but the About page frames its controls in a panel; the browse page's sits in another.
    QVERIFY(!panels.isEmpty() || page == AboutPage);
    for (QFrame *panel : panels)
        QVERIFY(panel->parentWidget()->rect().contains(panel->geometry()));
    QWidget *box = panels.isEmpty() ? pageWidget : panels.last();
    const QRect inside = panels.isEmpty() ? pageWidget->rect() : panels.last()->contentsRect();
    const QList<QWidget *> controls = box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QVERIFY(!controls.isEmpty());
    for (QWidget *control : controls) {
        QVERIFY2(inside.contains(control->geometry()), qPrintable(control->objectName()));
        for (QWidget *other : controls) {
            QVERIFY2(control == other || !control->geometry().intersects(other->geometry()),
                     qPrintable(control->objectName() + QLatin1Char(' ') + other->objectName()));
        }
    }
}

void TestManagerWindow::creationState()
{
    ManagerFixture f;
    ManagerWindow &window = *f.window;

    QCOMPARE(window.windowTitle(), QStringLiteral("日程设置"));
    QCOMPARE(window.size(), QSize(600, 450));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    // Shaped by its picture: all of it but the key-coloured top-left pixel.
    QVERIFY(!window.mask().contains(QPoint(0, 0)));
    QVERIFY(window.mask().contains(QPoint(1, 0)) && window.mask().contains(QPoint(599, 449)));

    QTabWidget *pages = f.pages();
    QCOMPARE(pages->currentIndex(), int(AddPage));
    const QStringList tabs{"添加提醒", "修改提醒", "删除提醒", "浏览数据", "关于"};
    QCOMPARE(pages->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) {
        QCOMPARE(pages->tabText(i), tabs.at(i));
        QCOMPARE(pages->tabBar()->tabRect(i).height(), 19);
    }
    QCOMPARE(f.find<QLabel>("aboutPicture")->pixmap().size(), QSize(580, 321));

    QCOMPARE(f.on<QDateEdit>("addPage", "dateEdit")->date(), f.clock.now().date());
    QCOMPARE(f.on<QDateEdit>("modifyPage", "dateEdit")->date(), QDate(2008, 7, 16));
    for (const char *form : {"addPage", "modifyPage"}) {
        QCOMPARE(f.on<QTimeEdit>(form, "timeEdit")->text(), QStringLiteral("00:00:00"));
        auto *date = f.on<QDateEdit>(form, "dateEdit");
        QVERIFY(date->calendarPopup());
        QCOMPARE(date->displayFormat(), QLocale().dateFormat(QLocale::ShortFormat));
    }

    // Only the browse page's three fields are read-only, on the tooltip colour.
    const QList<QWidget *> readOnly{f.on("browsePage", "subjectField"), f.on("browsePage", "contentField"),
                                    f.on("browsePage", "timeField")};
    for (QLineEdit *edit : window.findChildren<QLineEdit *>()) {
        if (!qobject_cast<QAbstractSpinBox *>(edit->parentWidget()))
            QCOMPARE(edit->isReadOnly(), readOnly.contains(edit));
    }
    for (QPlainTextEdit *memo : window.findChildren<QPlainTextEdit *>()) {
        QCOMPARE(memo->isReadOnly(), readOnly.contains(memo));
        QCOMPARE(memo->palette().color(QPalette::Base),
                 window.palette().color(readOnly.contains(memo) ? QPalette::ToolTipBase : QPalette::Base));
    }
    for (QWidget *field : readOnly)
        QCOMPARE(field->palette().color(QPalette::Base), window.palette().color(QPalette::ToolTipBase));

    // One list and one current row for the three grids.
    const QList<QTableView *> grids{f.find<QTableView>("modifyGrid"), f.find<QTableView>("deleteGrid"),
                                    f.find<QTableView>("browseGrid")};
    for (QTableView *grid : grids) {
        QCOMPARE(grid->model(), grids.first()->model());
        QCOMPARE(grid->selectionModel(), grids.first()->selectionModel());
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    QCOMPARE(f.find("deleteGrid")->contextMenuPolicy(), Qt::CustomContextMenu);
    for (QPushButton *button : window.findChildren<QPushButton *>())
        QVERIFY(!button->autoDefault() && !button->isDefault());
}

void TestManagerWindow::hotAreas_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("effect");
    QTest::addColumn<QString>("press");
    const auto rows = [](const char *tag, const char *name, QRect geometry, const QString &caption,
                         QAccessible::Role role, const char *effect) {
        // The maximise glyph is a dead spot for the pointer, not a control to reach with the keyboard.
        const bool keyboard = QLatin1String(name) != QLatin1String("maximizeArea");
        for (const char *press : {"click", "Enter", "Space", "screen reader"}) {
            if (keyboard || QLatin1String(press) == QLatin1String("click"))
                QTest::addRow("%s by %s", tag, press) << name << geometry << caption << int(role) << effect << press;
        }
    };
    rows("minimise", "minimizeArea", {544, 0, 17, 20}, "最小化", QAccessible::Button, "minimised");
    rows("maximise", "maximizeArea", {562, 0, 17, 20}, "最大化", QAccessible::Button, "nothing");
    rows("close", "closeArea", {579, 0, 17, 20}, "关闭", QAccessible::Button, "closed");
    rows("add page", "addPageArea", {6, 23, 57, 25}, "添加提醒", QAccessible::PageTab, "page 0");
    rows("modify page", "modifyPageArea", {65, 23, 57, 25}, "修改提醒", QAccessible::PageTab, "page 1");
    rows("delete page", "deletePageArea", {127, 23, 57, 25}, "删除提醒", QAccessible::PageTab, "page 2");
    rows("browse page", "browsePageArea", {188, 23, 57, 25}, "浏览数据", QAccessible::PageTab, "page 3");
    rows("about page", "aboutPageArea", {249, 23, 57, 25}, "关于", QAccessible::PageTab, "page 4");
    rows("exit", "exitArea", {309, 23, 57, 25}, "退出", QAccessible::Button, "closed");
    rows("play", "playArea", {282, 409, 38, 34}, "播放", QAccessible::Button, "sound");
}

// A click at the middle of the area through the window, a key on the area when the keyboard gave it the
// focus, or a screen reader's press action on it: each does the area's one thing. Screen readers see the
// area under the caption painted beneath it.
void TestManagerWindow::hotAreas()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(int, role);
    QFETCH(QString, effect);
    QFETCH(QString, press);
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(BrowsePage);
    QWidget *area = f.find(qPrintable(name));
    QCOMPARE(area->geometry(), geometry);
    QCOMPARE(area->cursor().shape(), Qt::PointingHandCursor);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(area);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), caption);
    QCOMPARE(int(accessible->role()), role);

    if (press == QLatin1String("click")) {
        QTest::mouseClick(f.window->windowHandle(), Qt::LeftButton, {}, geometry.center());
    } else if (press == QLatin1String("screen reader")) {
        QVERIFY(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents(); // the press is carried out once the screen reader has its answer
    } else {
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        area->setFocus(Qt::TabFocusReason);
        QTest::keyClick(area, press == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Space);
    }

    QCOMPARE(f.window->isVisible(), effect != QLatin1String("closed"));
    QCOMPARE(f.window->isMinimized(), effect == QLatin1String("minimised"));
    QCOMPARE(f.played, effect == QLatin1String("sound") ? QStringList{alertSoundPath()} : QStringList());
    const int page = effect.startsWith(QLatin1String("page ")) ? effect.mid(5).toInt() : int(BrowsePage);
    QCOMPARE(f.pages()->currentIndex(), page);
    QCOMPARE(f.dialogs.shown, QStringList());
}

void TestManagerWindow::tabOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("add") << int(AddPage) << QStringList{"subjectEdit",  "contentEdit", "timeEdit",  "dateEdit",
                                                        "repeatChoice", "addButton",   "backButton"};
    QTest::newRow("modify") << int(ModifyPage)
                            << QStringList{"subjectEdit", "contentEdit",  "modifyGrid",   "dateEdit",
                                           "timeEdit",    "repeatChoice", "modifyButton", "backButton"};
    QTest::newRow("browse") << int(BrowsePage)
                            << QStringList{"subjectField", "contentField", "browseGrid", "timeField", "backButton"};
}

void TestManagerWindow::tabOrder()
{
    QFETCH(int, page);
    QFETCH(QStringList, order);
    ManagerFixture f;
    f.showPage(page);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window));
    f.pages()->currentWidget()->findChild<QWidget *>(order.first())->setFocus(Qt::TabFocusReason);

    // Tab steps through the sections of a date or time edit before it leaves it.
    QList<QWidget *> visited{QApplication::focusWidget()};
    for (int presses = 0; visited.size() < order.size() && presses < 20; ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() != visited.last())
            visited << QApplication::focusWidget();
    }
    QCOMPARE(names(visited), order);
}

// After the page's own controls, Tab goes on through the areas of the picture and comes back to the page by
// its tabs; Shift+Tab goes the same way back.
void TestManagerWindow::tabReachesThePictureAreasAfterThePage()
{
    ManagerFixture f;
    f.showPage(AddPage);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window));
    const QStringList order{"backButton",     "moreInfoLink",   "playArea",      "addPageArea", "modifyPageArea",
                            "deletePageArea", "browsePageArea", "aboutPageArea", "exitArea",    "moreSoftwareArea",
                            "minimizeArea",   "closeArea",      "pageTabs"};
    f.on("addPage", "backButton")->setFocus(Qt::TabFocusReason);
    const auto focusName = [&f] {
        QWidget *focus = QApplication::focusWidget();
        return focus == f.pages()->tabBar() ? QStringLiteral("pageTabs") : focus->objectName();
    };
    const auto walk = [&](Qt::Key key) {
        QStringList visited{focusName()};
        for (int presses = 1; presses < order.size(); ++presses) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited << focusName();
        }
        return visited;
    };
    QCOMPARE(walk(Qt::Key_Tab), order);
    QStringList back = walk(Qt::Key_Backtab);
    std::reverse(back.begin(), back.end());
    QCOMPARE(back, order);
}

// A dotted rectangle marks the area the keyboard reached; the picture stays as drawn when a window comes up
// with the focus on an area, or the focus moves on.
void TestManagerWindow::focusMarkShowsOnlyAfterTheKeyboard()
{
    ManagerFixture f;
    f.showPage(AddPage);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window));
    QWidget *area = f.find("exitArea");
    const auto marked = [area] {
        const QImage image = area->grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(1, y) == Qt::black)
                return true;
        }
        return false;
    };
    QWidget *subject = f.on("addPage", "subjectEdit");
    area->setFocus(Qt::OtherFocusReason);
    QVERIFY(!marked());
    subject->setFocus();
    area->setFocus(Qt::TabFocusReason);
    QVERIFY(marked());
    QTest::keyClick(area, Qt::Key_Tab);
    QVERIFY(!marked());
}

// No button is a default one: Enter presses the focused button and nothing from a field, where a line
// feed is typed in the content.
void TestManagerWindow::enterPressesTheFocusedButtonOnly()
{
    ManagerFixture f;
    f.showPage(AddPage);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window));
    auto *subject = f.on<QLineEdit>("addPage", "subjectEdit");
    auto *content = f.on<QPlainTextEdit>("addPage", "contentEdit");
    subject->setText(QStringLiteral("早会"));
    content->setPlainText(QStringLiteral("内容"));
    f.on<QTimeEdit>("addPage", "timeEdit")->setTime(QTime(9, 30));

    for (const char *name : {"subjectEdit", "timeEdit", "dateEdit"}) {
        QWidget *control = f.on("addPage", name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
    }
    QCOMPARE(f.dialogs.shown, QStringList());
    QCOMPARE(f.rows(), QString());

    content->setFocus();
    content->moveCursor(QTextCursor::End);
    QTest::keyClick(content, Qt::Key_Return);
    QCOMPARE(content->toPlainText(), QStringLiteral("内容\n"));

    QWidget *addButton = f.on("addPage", "addButton");
    addButton->setFocus();
    QTest::keyClick(addButton, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(f.rows().contains(QStringLiteral("早会")));
}

void TestManagerWindow::escapeClosesTheWindow()
{
    ManagerFixture f;
    f.showPage(ModifyPage);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window));
    QWidget *subject = f.on("modifyPage", "subjectEdit");
    subject->setFocus();
    QTest::keyClick(subject, Qt::Key_Escape);
    QVERIFY(!f.window->isVisible());
}

void TestManagerWindow::fieldsAreNamedByTheirCaptions()
{
    ManagerFixture f;
    f.showPage(AddPage);
    const std::pair<const char *, const char *> fields[] = {
        {"addPage", "subjectEdit"},     {"addPage", "contentEdit"},    {"addPage", "dateEdit"},
        {"addPage", "timeEdit"},        {"modifyPage", "subjectEdit"}, {"modifyPage", "dateEdit"},
        {"browsePage", "contentField"}, {"browsePage", "timeField"}};
    const QStringList names{"日程主题：", "日程内容：", "提醒日期",   "提醒时间",
                            "日程主题：", "提醒日期",   "日程内容：", "提醒时间："};
    QStringList seen;
    for (const auto &[page, name] : fields) {
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(f.on(page, name));
        QVERIFY(field->role() == QAccessible::EditableText || field->role() == QAccessible::SpinBox);
        seen << field->text(QAccessible::Name);
    }
    QCOMPARE(seen, names);
}

// On every page, each control that Tab reaches tells a screen reader its name and what kind of control it is.
void TestManagerWindow::everyControlTabReachesIsNamed()
{
    ManagerFixture f;
    for (int page = AddPage; page <= AboutPage; ++page) {
        f.showPage(page);
        for (QWidget *control : f.window->findChildren<QWidget *>()) {
            // A control that hands its focus on to another is not reached itself.
            if (!control->isVisibleTo(f.window) || !(control->focusPolicy() & Qt::TabFocus) || control->focusProxy())
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            const QByteArray what = QByteArray::number(page) + ' ' + control->metaObject()->className() + ' '
                                    + control->objectName().toUtf8();
            QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(), what.constData());
            const QAccessible::Role role = accessible->role();
            QVERIFY2(role != QAccessible::NoRole && role != QAccessible::Client && role != QAccessible::Pane
                         && role != QAccessible::StaticText,
                     what.constData());
        }
    }
}

void TestManagerWindow::showingAListPageRereadsTheTable()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    auto *grid = f.on<QTableView>("modifyPage", "modifyGrid");
    f.showPage(AddPage);
    QCOMPARE(grid->model()->rowCount(), 0); // the add page never reads the list
    f.pages()->setCurrentIndex(ModifyPage);
    QCOMPARE(grid->model()->rowCount(), 2);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    f.on<QLineEdit>("modifyPage", "subjectEdit")->setText(QStringLiteral("未保存"));

    for (int page : {DeletePage, BrowsePage, ModifyPage}) {
        f.addRow(QStringLiteral("丙"), QStringLiteral("c"), QStringLiteral("2026-03-04 11:00:00"));
        f.pages()->setCurrentIndex(page);
        QCOMPARE(grid->model()->rowCount(), f.db.sql(QStringLiteral("select count(*) from 日程提醒")).toInt());
        QCOMPARE(grid->currentIndex().row(), 0);
        grid->setCurrentIndex(grid->model()->index(1, 0));
    }
    QCOMPARE(f.on<QLineEdit>("modifyPage", "subjectEdit")->text(), QStringLiteral("未保存"));

    // Selecting the page already shown, by its hot area, reads nothing.
    f.addRow(QStringLiteral("丁"), QStringLiteral("d"), QStringLiteral("2026-03-04 12:00:00"));
    QTest::mouseClick(f.window->windowHandle(), Qt::LeftButton, {}, f.find("modifyPageArea")->geometry().center());
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(f.dialogs.shown, QStringList());
}

void TestManagerWindow::failedRereadLeavesTheWindowUsable()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.db.sql(QStringLiteral("alter table 日程提醒 rename to 別名"));

    f.showPage(DeletePage);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.shown.first().startsWith(QStringLiteral("error||")), qPrintable(f.dialogs.shown.first()));
    auto *deleteGrid = f.on<QTableView>("deletePage", "deleteGrid");
    QVERIFY(deleteGrid->isVisible());
    QCOMPARE(deleteGrid->model()->rowCount(), 0);

    f.db.sql(QStringLiteral("alter table 別名 rename to 日程提醒"));
    f.pages()->setCurrentIndex(BrowsePage);
    auto *browseGrid = f.on<QTableView>("browsePage", "browseGrid");
    QCOMPARE(browseGrid->model()->rowCount(), 1);
    QCOMPARE(browseGrid->currentIndex().row(), 0);
}

void TestManagerWindow::gridsShareOneCurrentRow()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙", "丙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);
    auto *deleteGrid = f.on<QTableView>("deletePage", "deleteGrid");
    const QList<QTableView *> grids{f.on<QTableView>("modifyPage", "modifyGrid"), deleteGrid,
                                    f.on<QTableView>("browsePage", "browseGrid")};
    QCOMPARE(deleteGrid->currentIndex().row(), 0);

    const QRect third = deleteGrid->visualRect(deleteGrid->model()->index(2, 1));
    QTest::mousePress(deleteGrid->viewport(), Qt::RightButton, {}, third.center());
    for (QTableView *grid : grids) {
        QCOMPARE(grid->currentIndex().row(), 2);
        QVERIFY(grid->selectionModel()->isRowSelected(2, {}));
    }

    f.pages()->setCurrentIndex(BrowsePage); // read again: back to the first row
    QCOMPARE(deleteGrid->currentIndex().row(), 0);
    QTest::keyClick(grids.at(2), Qt::Key_Down);
    QCOMPARE(grids.at(0)->currentIndex().row(), 1);
}

void TestManagerWindow::doubleClickAnywhereOnTheGridLoads_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("loaded");
    for (const char *page : {"modifyPage", "browsePage"}) {
        QTest::addRow("%s, first row", page) << page << "row"
                                             << "甲";
        QTest::addRow("%s, below the rows", page) << page << "below"
                                                  << "乙";
        QTest::addRow("%s, titles", page) << page << "titles"
                                          << "乙";
    }
}

void TestManagerWindow::doubleClickAnywhereOnTheGridLoads()
{
    QFETCH(QString, page);
    QFETCH(QString, where);
    QFETCH(QString, loaded);
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    const bool modify = page == QLatin1String("modifyPage");
    f.showPage(modify ? ModifyPage : BrowsePage);
    auto *grid = f.on<QTableView>(qPrintable(page), modify ? "modifyGrid" : "browseGrid");
    grid->setCurrentIndex(grid->model()->index(1, 0));

    if (where == QLatin1String("titles"))
        QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    else if (where == QLatin1String("below"))
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(10, grid->viewport()->height() - 3));
    else
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 1)).center());

    QCOMPARE(f.on<QLineEdit>(qPrintable(page), modify ? "subjectEdit" : "subjectField")->text(), loaded);
}

// A grid reads the rows past the first page as the user scrolls to them; when they cannot be read (another
// program holds the file, or took the table away), the user is told once and the window carries on.
void TestManagerWindow::rowsThatCannotBeFetchedAreReportedOnce()
{
    ManagerFixture f;
    f.db.sql(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<600) "
                            "insert into 日程提醒(主题,内容,时间,日期) "
                            "select 'r'||i,'',printf('2026-03-04 %02d:%02d:00',i/60%24,i%60),'2026-03-04' from n"));
    f.showPage(BrowsePage);
    auto *grid = f.on<QTableView>("browsePage", "browseGrid");
    const int firstPage = grid->model()->rowCount();
    QVERIFY(firstPage < 600);
    f.db.sql(QStringLiteral("alter table 日程提醒 rename to 別名"));

    grid->scrollToBottom();
    grid->model()->fetchMore({}); // as another grid on the list would ask in the same breath
    QTest::qWait(50);

    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.shown.first().startsWith(QStringLiteral("error||")), qPrintable(f.dialogs.shown.first()));
    QVERIFY(f.window->isVisible());
    QCOMPARE(grid->model()->rowCount(), firstPage);

    // Read again, the list tells again.
    f.db.sql(QStringLiteral("alter table 別名 rename to 日程提醒"));
    f.pages()->setCurrentIndex(DeletePage);
    f.db.sql(QStringLiteral("alter table 日程提醒 rename to 別名"));
    f.on<QTableView>("deletePage", "deleteGrid")->scrollToBottom();
    QTRY_COMPARE(f.dialogs.shown.size(), 2);
}

void TestManagerWindow::noticeLinksOpenTheirElement_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("launched");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("press"); // a click, Enter on the link or area that Tab reached, or a screen reader

    const QByteArray both = page("<zeqa1>http://one.example/</zeqa1><zeqa2>http://two.example/</zeqa2>");
    QTest::newRow("更多信息... opens element 2")
        << "moreInfoLink" << both << QStringList{"http://two.example/"} << QStringList() << "click";
    QTest::newRow("更多信息... by Enter")
        << "moreInfoLink" << both << QStringList{"http://two.example/"} << QStringList() << "Enter";
    QTest::newRow("更多信息... by a screen reader")
        << "moreInfoLink" << both << QStringList{"http://two.example/"} << QStringList() << "screen reader";
    QTest::newRow("更多软件 opens element 1")
        << "moreSoftwareArea" << both << QStringList{"http://one.example/"} << QStringList() << "click";
    QTest::newRow("更多软件 by Enter") << "moreSoftwareArea" << both << QStringList{"http://one.example/"}
                                       << QStringList() << "Enter";
    QTest::newRow("no address on the page")
        << "moreInfoLink" << page("<zeqa1>x</zeqa1>") << QStringList()
        << QStringList{QStringLiteral("info|提示|") + kNoNoticeAddressMessage} << "click";
    // The notice module's error reaches the program's error box.
    QTest::newRow("failed fetch") << "moreInfoLink" << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")
                                  << QStringList() << QStringList{QStringLiteral("error||HTTP/1.1 404 Not Found.")}
                                  << "click";
}

void TestManagerWindow::noticeLinksOpenTheirElement()
{
    QFETCH(QString, link);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, launched);
    QFETCH(QStringList, shown);
    QFETCH(QString, press);
    ScriptedServer server;
    server.add(reply);
    const auto restore = noticeHostAt(server);
    ManagerFixture f;
    f.showPage(AddPage);

    QWidget *target = f.find(qPrintable(link));
    if (press == QLatin1String("Enter")) {
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key_Return);
    } else if (press == QLatin1String("screen reader")) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(target);
        QCOMPARE(accessible->role(), QAccessible::Link);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("更多信息..."));
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents(); // the press is carried out once the screen reader has its answer
    } else {
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
    }
    // Busy until the page has come and been dealt with; the window takes input meanwhile.
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QTRY_VERIFY(!QApplication::overrideCursor());

    QCOMPARE(f.browser.launched, launched);
    QCOMPARE(f.dialogs.shown, shown);
}

// The program lets the window go when it closes; a fetch still running ends with it, and nothing of it
// reaches the user.
void TestManagerWindow::closingMidFetchEndsTheFetch()
{
    ScriptedServer server; // takes the request and never answers
    const auto restore = noticeHostAt(server);
    ManagerFixture f;
    f.window->setAttribute(Qt::WA_DeleteOnClose);
    f.showPage(AddPage);
    QTest::mouseClick(f.find("moreInfoLink"), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_COMPARE(server.requests().size(), 1);
    QVERIFY(QApplication::overrideCursor());

    f.window->close();

    QTRY_VERIFY(!f.window);
    QVERIFY(!QApplication::overrideCursor());
    QTRY_COMPARE(server.closedConnections(), 1);
    QCOMPARE(f.dialogs.shown, QStringList());
    QCOMPARE(f.browser.launched, QStringList());
}

void TestManagerWindow::showsCentredOnThePrimaryScreen()
{
    ManagerFixture f;
    f.screen.screenGeometry = QRect(1920, 100, 1280, 800);
    f.window->open();
    QVERIFY(QTest::qWaitForWindowExposed(f.window));
    QCOMPARE(f.window->pos(), QPoint(2260, 275));

    // Only the first showing is placed; later ones stay where the user left it.
    f.window->move(10, 20);
    f.window->hide();
    f.window->open();
    QCOMPARE(f.window->pos(), QPoint(10, 20));
}

QTEST_MAIN(TestManagerWindow)
#include "tst_managerwindow.moc"
