// The manager window itself: its controls, keys, pages, shared grid row and placement.

#include "manager/datagrid.h"
#include "manager/linklabel.h"
#include "managerfixture.h"
#include "scriptedserver.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTimeEdit>

namespace {

enum Page { AddPage, ModifyPage, DeletePage, BrowsePage, AboutPage };

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

} // namespace

class TestManagerWindow : public QObject
{
    Q_OBJECT

private slots:
    void controlsStandAtTheirPlaces_data();
    void controlsStandAtTheirPlaces();
    void creationState();
    void hotAreas_data();
    void hotAreas();
    void tabOrder_data();
    void tabOrder();
    void enterAndEscapePressNothing();
    void showingAListPageRereadsTheTable();
    void failedRereadLeavesTheWindowUsable();
    void gridsShareOneCurrentRow();
    void doubleClickAnywhereOnTheGridLoads_data();
    void doubleClickAnywhereOnTheGridLoads();
    void noticeLinksOpenTheirElement_data();
    void noticeLinksOpenTheirElement();
    void centredOn_data();
    void centredOn();
    void showsCentredOnThePrimaryScreen();
};

void TestManagerWindow::controlsStandAtTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry"); // an empty size: only the place is fixed
    QTest::addColumn<QString>("caption");

    const auto row = [](const char *name, const char *parent, QRect geometry, const QString &caption = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << geometry << caption;
    };
    row("URLLabel1", "Form2", {481, 421, 57, 13}, "更多信息...");
    row("PageControl1", "Form2", {8, 48, 585, 345});
    row("Panel1", "TabSheet1", {18, 24, 545, 273});
    row("Panel2", "TabSheet2", {18, 24, 545, 273});
    row("Panel3", "TabSheet3", {18, 24, 545, 273});
    row("Panel4", "TabSheet4", {18, 24, 545, 273});
    row("Panel5", "Panel4", {0, 0, 545, 273});

    row("Label2", "Panel1", {48, 33, 0, 0}, "日程主题：");
    row("Label3", "Panel1", {48, 74, 0, 0}, "日程内容：");
    row("Label4", "Panel1", {48, 203, 0, 0}, "提醒时间：");
    row("Edit2", "Panel1", {130, 29, 368, 19});
    row("Memo1", "Panel1", {130, 71, 367, 122});
    row("TimeEdit1", "Panel1", {248, 200, 89, 21});
    row("DateTimePicker1", "Panel1", {128, 200, 105, 21});
    row("Button1", "Panel1", {208, 232, 75, 25}, "增加");
    row("Button2", "Panel1", {312, 232, 75, 25}, "返回");

    row("Label6", "Panel2", {16, 134, 0, 0}, "日程主题：");
    row("Label7", "Panel2", {16, 165, 0, 0}, "日程内容：");
    row("Label8", "Panel2", {16, 238, 0, 0}, "提醒时间：");
    row("Edit4", "Panel2", {88, 131, 442, 19});
    row("Memo2", "Panel2", {88, 162, 441, 58});
    row("DBGrid1", "Panel2", {2, 2, 541, 119});
    row("DateTimePicker2", "Panel2", {88, 232, 105, 21});
    row("TimeEdit2", "Panel2", {208, 232, 89, 21});
    row("Button3", "Panel2", {336, 232, 75, 25}, "修改");
    row("Button4", "Panel2", {432, 232, 75, 25}, "返回");

    row("DBGrid2", "Panel3", {2, 2, 541, 269});

    row("Label5", "Panel5", {16, 134, 0, 0}, "日程主题：");
    row("Label9", "Panel5", {16, 165, 0, 0}, "日程内容：");
    row("Label10", "Panel5", {16, 234, 0, 0}, "提醒时间：");
    row("Edit3", "Panel5", {88, 131, 442, 19});
    row("Memo3", "Panel5", {88, 162, 441, 58});
    row("DBGrid3", "Panel5", {2, 2, 541, 119});
    row("Edit5", "Panel5", {88, 231, 353, 19});
    row("Button5", "Panel5", {451, 228, 75, 25}, "返回");

    row("Image12", "TabSheet5", {0, 0, 581, 322});
}

void TestManagerWindow::controlsStandAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    ManagerFixture f;

    auto *control = f.form.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->pos(), geometry.topLeft());
    if (!geometry.size().isEmpty())
        QCOMPARE(control->size(), geometry.size());
    QCOMPARE(captionOf(control), caption);
}

void TestManagerWindow::creationState()
{
    ManagerFixture f;
    TForm2 &form = f.form;

    QCOMPARE(form.windowTitle(), QStringLiteral("日程设置"));
    QCOMPARE(form.size(), QSize(600, 450));
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    // Shaped by its picture: all of it but the key-coloured top-left pixel.
    QVERIFY(!form.mask().contains(QPoint(0, 0)));
    QVERIFY(form.mask().contains(QPoint(1, 0)) && form.mask().contains(QPoint(599, 449)));

    QCOMPARE(form.PageControl1->currentIndex(), int(AddPage));
    const QStringList tabs{"添加提醒", "修改提醒", "删除提醒", "浏览数据", "关于"};
    QCOMPARE(form.PageControl1->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) {
        QCOMPARE(form.PageControl1->tabText(i), tabs.at(i));
        QCOMPARE(form.PageControl1->tabBar()->tabRect(i).height(), 19);
    }

    QCOMPARE(form.Image12->pixmap().size(), QSize(580, 321));

    QCOMPARE(form.DateTimePicker1->date(), f.clock.now().date());
    QCOMPARE(form.DateTimePicker2->date(), QDate(2008, 7, 16));
    for (QTimeEdit *time : {form.TimeEdit1, form.TimeEdit2})
        QCOMPARE(time->text(), QStringLiteral("00:00:00"));
    for (QDateEdit *picker : {form.DateTimePicker1, form.DateTimePicker2}) {
        QVERIFY(picker->calendarPopup());
        QCOMPARE(picker->displayFormat(), QLocale().dateFormat(QLocale::ShortFormat));
    }

    const QColor tooltip = form.palette().color(QPalette::ToolTipBase);
    const QList<QWidget *> readOnly{form.Edit3, form.Memo3, form.Edit5};
    for (QLineEdit *edit : form.findChildren<QLineEdit *>()) {
        if (!qobject_cast<QAbstractSpinBox *>(edit->parentWidget()))
            QCOMPARE(edit->isReadOnly(), readOnly.contains(edit));
    }
    for (QPlainTextEdit *memo : form.findChildren<QPlainTextEdit *>())
        QCOMPARE(memo->isReadOnly(), readOnly.contains(memo));
    for (QWidget *field : readOnly)
        QCOMPARE(field->palette().color(QPalette::Base), tooltip);
    for (QPlainTextEdit *memo : {form.Memo1, form.Memo2})
        QCOMPARE(memo->palette().color(QPalette::Base), form.palette().color(QPalette::Base));

    for (DataGrid *grid : {form.DBGrid1, form.DBGrid2, form.DBGrid3}) {
        QCOMPARE(grid->model(), &f.dm.DataSource1);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    QCOMPARE(form.DBGrid2->contextMenuPolicy(), Qt::CustomContextMenu);
    for (QPushButton *button : form.findChildren<QPushButton *>())
        QVERIFY(!button->autoDefault() && !button->isDefault());
}

void TestManagerWindow::hotAreas_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("effect");
    QTest::newRow("Image1") << "Image1" << QRect(544, 0, 17, 20) << "minimised";
    QTest::newRow("Image2") << "Image2" << QRect(562, 0, 17, 20) << "nothing";
    QTest::newRow("Image3") << "Image3" << QRect(579, 0, 17, 20) << "closed";
    QTest::newRow("Image4") << "Image4" << QRect(6, 23, 57, 25) << "page 0";
    QTest::newRow("Image5") << "Image5" << QRect(65, 23, 57, 25) << "page 1";
    QTest::newRow("Image6") << "Image6" << QRect(127, 23, 57, 25) << "page 2";
    QTest::newRow("Image7") << "Image7" << QRect(188, 23, 57, 25) << "page 3";
    QTest::newRow("Image8") << "Image8" << QRect(249, 23, 57, 25) << "page 4";
    QTest::newRow("Image9") << "Image9" << QRect(309, 23, 57, 25) << "closed";
    QTest::newRow("Image11") << "Image11" << QRect(282, 409, 38, 34) << "sound";
}

// A click at the middle of the area, through the window, reaches the area and does its one thing.
void TestManagerWindow::hotAreas()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, effect);
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(BrowsePage);
    f.dm.qry2.setCurrentRow(0);
    auto *area = f.form.findChild<QWidget *>(name);
    QVERIFY(area);
    QCOMPARE(area->geometry(), geometry);
    QCOMPARE(area->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(f.form.windowHandle(), Qt::LeftButton, {}, geometry.center());

    QCOMPARE(f.form.isVisible(), effect != QLatin1String("closed"));
    QCOMPARE(f.form.isMinimized(), effect == QLatin1String("minimised"));
    QCOMPARE(f.played, effect == QLatin1String("sound") ? QStringList{alertSoundPath()} : QStringList());
    const int page = effect.startsWith(QLatin1String("page ")) ? effect.mid(5).toInt() : int(BrowsePage);
    QCOMPARE(f.form.PageControl1->currentIndex(), page);
    QCOMPARE(f.dialogs.shown, QStringList());
}

void TestManagerWindow::tabOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("add") << int(AddPage)
                         << QStringList{"Edit2", "Memo1", "TimeEdit1", "DateTimePicker1", "Button1", "Button2"};
    QTest::newRow("modify") << int(ModifyPage) << QStringList{"Edit4",     "Memo2",   "DBGrid1", "DateTimePicker2",
                                                              "TimeEdit2", "Button3", "Button4"};
    QTest::newRow("browse") << int(BrowsePage) << QStringList{"Edit3", "Memo3", "DBGrid3", "Edit5", "Button5"};
}

void TestManagerWindow::tabOrder()
{
    QFETCH(int, page);
    QFETCH(QStringList, order);
    ManagerFixture f;
    f.showPage(page);
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    auto *first = f.form.findChild<QWidget *>(order.first());
    first->setFocus(Qt::TabFocusReason);

    // Tab steps through the sections of a date or time edit before it leaves it.
    QList<QWidget *> visited{QApplication::focusWidget()};
    for (int presses = 0; visited.size() < order.size() && presses < 20; ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() != visited.last())
            visited << QApplication::focusWidget();
    }
    QCOMPARE(names(visited), order);
}

void TestManagerWindow::enterAndEscapePressNothing()
{
    ManagerFixture f;
    f.showPage(AddPage);
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.form.Edit2->setText(QStringLiteral("早会"));
    f.form.Memo1->setPlainText(QStringLiteral("内容"));
    f.form.TimeEdit1->setTime(QTime(9, 30));

    for (QWidget *control : QList<QWidget *>{f.form.Edit2, f.form.TimeEdit1, f.form.DateTimePicker1, f.form.Button1}) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(control, Qt::Key_Escape);
    }
    QCOMPARE(f.dialogs.shown, QStringList());
    QVERIFY(f.form.isVisible());
    QCOMPARE(f.rows(), QString());

    f.form.Memo1->setFocus();
    f.form.Memo1->moveCursor(QTextCursor::End);
    QTest::keyClick(f.form.Memo1, Qt::Key_Return);
    QCOMPARE(f.form.Memo1->toPlainText(), QStringLiteral("内容\n"));
}

void TestManagerWindow::showingAListPageRereadsTheTable()
{
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    QVERIFY(!f.dm.qry2.isOpen()); // the add page never reads the list
    f.showPage(ModifyPage);
    QCOMPARE(f.dm.qry2.recordCount(), 2);
    f.dm.qry2.setCurrentRow(1);
    f.form.Edit4->setText(QStringLiteral("未保存"));

    for (int page : {DeletePage, BrowsePage, ModifyPage}) {
        f.addRow(QStringLiteral("丙"), QStringLiteral("c"), QStringLiteral("2026-03-04 11:00:00"));
        f.form.PageControl1->setCurrentIndex(page);
        QCOMPARE(f.dm.qry2.recordCount(), f.db.sql(QStringLiteral("select count(*) from 日程提醒")).toInt());
        QCOMPARE(f.dm.qry2.currentRow(), 0);
        f.dm.qry2.setCurrentRow(1);
    }
    QCOMPARE(f.form.Edit4->text(), QStringLiteral("未保存"));

    // Selecting the page already shown reads nothing.
    f.addRow(QStringLiteral("丁"), QStringLiteral("d"), QStringLiteral("2026-03-04 12:00:00"));
    f.form.PageControl1->setCurrentIndex(ModifyPage);
    QCOMPARE(f.dm.qry2.recordCount(), 5);
    QCOMPARE(f.dm.qry2.currentRow(), 1);
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
    QVERIFY(f.form.DBGrid2->isVisible());
    QCOMPARE(f.form.DBGrid2->model()->rowCount(), 0);

    f.db.sql(QStringLiteral("alter table 別名 rename to 日程提醒"));
    f.form.PageControl1->setCurrentIndex(BrowsePage);
    QCOMPARE(f.form.DBGrid3->model()->rowCount(), 1);
    QCOMPARE(f.form.DBGrid3->currentIndex().row(), 0);
}

void TestManagerWindow::gridsShareOneCurrentRow()
{
    ManagerFixture f;
    for (const char *subject : {"甲", "乙", "丙"})
        f.addRow(QString::fromUtf8(subject), QStringLiteral("x"), QStringLiteral("2026-03-04 09:00:00"));
    f.showPage(DeletePage);
    QCOMPARE(f.form.DBGrid2->currentIndex().row(), 0);

    const QRect third = f.form.DBGrid2->visualRect(f.dm.DataSource1.index(2, 1));
    QTest::mousePress(f.form.DBGrid2->viewport(), Qt::RightButton, {}, third.center());
    QCOMPARE(f.dm.qry2.currentRow(), 2);
    for (DataGrid *grid : {f.form.DBGrid1, f.form.DBGrid2, f.form.DBGrid3}) {
        QCOMPARE(grid->currentIndex().row(), 2);
        QVERIFY(grid->selectionModel()->isRowSelected(2, {}));
    }

    f.form.PageControl1->setCurrentIndex(BrowsePage); // re-read: back to the first row
    QCOMPARE(f.form.DBGrid2->currentIndex().row(), 0);
    QTest::keyClick(f.form.DBGrid3, Qt::Key_Down);
    QCOMPARE(f.dm.qry2.currentRow(), 1);
    QCOMPARE(f.form.DBGrid1->currentIndex().row(), 1);
}

void TestManagerWindow::doubleClickAnywhereOnTheGridLoads_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("first row") << "row"
                               << "甲";
    QTest::newRow("below the rows") << "below"
                                    << "乙";
    QTest::newRow("titles") << "titles"
                            << "乙";
}

void TestManagerWindow::doubleClickAnywhereOnTheGridLoads()
{
    QFETCH(QString, where);
    QFETCH(QString, loaded);
    ManagerFixture f;
    f.addRow(QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("2026-03-04 09:00:00"));
    f.addRow(QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2026-03-04 10:00:00"));
    f.showPage(ModifyPage);
    f.dm.qry2.setCurrentRow(1);
    DataGrid *grid = f.form.DBGrid1;

    if (where == QLatin1String("titles"))
        QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    else if (where == QLatin1String("below"))
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(10, grid->viewport()->height() - 3));
    else
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                           grid->visualRect(f.dm.DataSource1.index(0, 1)).center());

    QCOMPARE(f.form.Edit4->text(), loaded);
}

void TestManagerWindow::noticeLinksOpenTheirElement_data()
{
    QTest::addColumn<bool>("label"); // the link label, else the header hot area
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("launched");
    QTest::addColumn<QStringList>("shown");

    const auto page = [](const QByteArray &body) {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    };
    const QByteArray both = page("<zeqa1>http://one.example/</zeqa1><zeqa2>http://two.example/</zeqa2>");
    QTest::newRow("label opens element 2") << true << both << QStringList{"http://two.example/"} << QStringList();
    QTest::newRow("hot area opens element 1") << false << both << QStringList{"http://one.example/"} << QStringList();
    QTest::newRow("no address on the page") << true << page("<zeqa1>x</zeqa1>") << QStringList()
                                            << QStringList{QStringLiteral("info|提示|") + kNoNoticeAddressMessage};
    // The notice module's error reaches the program's error box.
    QTest::newRow("failed fetch") << true << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")
                                  << QStringList() << QStringList{QStringLiteral("error||HTTP/1.1 404 Not Found.")};
}

void TestManagerWindow::noticeLinksOpenTheirElement()
{
    QFETCH(bool, label);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, launched);
    QFETCH(QStringList, shown);
    ScriptedServer server;
    server.add(reply);
    qputenv("ORVANE_NOTICE_HOST", "127.0.0.1:" + QByteArray::number(server.port()));
    const auto restore = qScopeGuard([] { qunsetenv("ORVANE_NOTICE_HOST"); });
    ManagerFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));

    if (label)
        QTest::mouseClick(f.form.URLLabel1, Qt::LeftButton, {}, QPoint(5, 5));
    else
        f.form.Image10Click();

    QCOMPARE(f.launched, launched);
    QCOMPARE(f.dialogs.shown, shown);
    QVERIFY(!QApplication::overrideCursor());
}

void TestManagerWindow::centredOn_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("even") << QRect(0, 0, 1280, 800) << QPoint(340, 175);
    QTest::newRow("odd halves toward zero") << QRect(0, 0, 1025, 769) << QPoint(212, 159);
    QTest::newRow("smaller than the window") << QRect(0, 0, 599, 300) << QPoint(0, 0);
    QTest::newRow("screen not at the origin") << QRect(1920, 100, 1280, 800) << QPoint(2260, 275);
}

void TestManagerWindow::centredOn()
{
    QFETCH(QRect, screen);
    QFETCH(QPoint, place);
    QCOMPARE(::centredOn(screen, QSize(600, 450)), place);
}

void TestManagerWindow::showsCentredOnThePrimaryScreen()
{
    ManagerFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QCOMPARE(f.form.pos(), ::centredOn(QGuiApplication::primaryScreen()->geometry(), QSize(600, 450)));

    // Only the first showing is placed; later ones stay where the user left it.
    f.form.move(10, 20);
    f.form.hide();
    f.form.show();
    QCOMPARE(f.form.pos(), QPoint(10, 20));
}

QTEST_MAIN(TestManagerWindow)
#include "tst_managerwindow.moc"
