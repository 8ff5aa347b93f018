#include "window/znhideform.h"

#include "core/apperror.h"
#include "tests/window/screenrecttesting.h"
#include "window/screeninfo.h"
#include "window/windowdrag.h"

#include <QMouseEvent>
#include <QTest>
#include <QTimer>

namespace {

// The primary screen is 1920 pixels wide; a bar at its right leaves a work area 1800 wide.
class FakeScreen : public ScreenInfo
{
public:
    QRect workArea() const override { return {0, 0, 1800, 1040}; }
    int screenWidth() const override { return 1920; }
    QPoint cursorPos() const override { return cursor; }

    QPoint cursor{900, 900};
};

// The main window's case: 600 x 300, EdgeSpace 40, ValidSpace 30.
class DockingFixture
{
public:
    explicit DockingFixture(QPoint at = {500, 100})
    {
        form.setWindowFlag(Qt::FramelessWindowHint);
        form.setGeometry(QRect(at, QSize(600, 300)));
        form.show();
        dock = new TZnHideForm(&form, screen);
        dock->setAutoDock(true);
        dock->setEdgeSpace(40);
        dock->setValidSpace(30);
    }

    // One moving notification, as the drag sends it; returns the rectangle as the docking left it.
    ScreenRect propose(ScreenRect rect)
    {
        MovingEvent moving(rect);
        QApplication::sendEvent(&form, &moving);
        return rect;
    }

    // A drag that ends at `rect` (and wherever the docking puts it), with the pointer on the window.
    void dragTo(const ScreenRect &rect)
    {
        const ScreenRect taken = propose(rect);
        form.move(taken.left, taken.top);
        screen.cursor = QPoint(taken.left + 300, taken.top + 150);
        enter();
    }

    void enter()
    {
        QEnterEvent event(QPointF(), QPointF(), QPointF(screen.cursor));
        QApplication::sendEvent(&form, &event);
    }

    void leaveTo(const QPoint &cursor)
    {
        screen.cursor = cursor;
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&form, &event);
    }

    FakeScreen screen;
    QWidget form;
    TZnHideForm *dock = nullptr;
};

ScreenRect at(int left, int top)
{
    return {left, top, left + 600, top + 300};
}

} // namespace

class TestZnHideForm : public QObject
{
    Q_OBJECT

private slots:
    void constructionFindsTheOwnersWindow_data();
    void constructionFindsTheOwnersWindow();
    void settersCheckTheirRange_data();
    void settersCheckTheirRange();
    void snapToEdge_data();
    void snapToEdge();
    void dragPathSnapsEveryProposedRectangle();
    void dockEventAtEveryNotificationThatEndsAtAnEdge();
    void hidesAndShowsAtTheEdge_data();
    void hidesAndShowsAtTheEdge();
    void leaveInsideDockRectDoesNotHide();
    void handlersReplaceTheMoves();
    void wakeUpTimerNoticesAPointerThatLeft_data();
    void wakeUpTimerNoticesAPointerThatLeft();
    void autoDockOffStopsWatching();
    void alwaysTopMakesATopmostToolWindow();
};

void TestZnHideForm::constructionFindsTheOwnersWindow_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("error");
    QTest::newRow("the window") << "window"
                                << "";
    QTest::newRow("a control on a panel of the window") << "control"
                                                        << "";
    QTest::newRow("no owner") << "none"
                              << "未找到主窗体";
    QTest::newRow("a component that is not a control") << "component"
                                                       << "未找到主窗体";
    QTest::newRow("a control on no window") << "orphan"
                                            << "";
}

void TestZnHideForm::constructionFindsTheOwnersWindow()
{
    QFETCH(QString, owner);
    QFETCH(QString, error);

    FakeScreen screen;
    QWidget window;
    auto *panel = new QWidget(&window);
    auto *control = new QWidget(panel);
    QObject component(&window);
    QWidget orphan; // a control without a parent is a window of its own
    const QHash<QString, QObject *> owners{
        {"window", &window}, {"control", control}, {"none", nullptr}, {"component", &component}, {"orphan", &orphan}};

    QString raised;
    try {
        TZnHideForm dock(owners.value(owner), screen);
    } catch (const AppError &e) {
        raised = e.message();
    }
    QCOMPARE(raised, error);
}

void TestZnHideForm::settersCheckTheirRange_data()
{
    QTest::addColumn<bool>("edgeSpace");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("after");
    const QString edgeError = QStringLiteral("请填写1-50以内的数字");
    const QString validError = QStringLiteral("请填写5-50以内的数字");
    QTest::newRow("EdgeSpace 0") << true << 0 << edgeError << 40;
    QTest::newRow("EdgeSpace 1") << true << 1 << "" << 1;
    QTest::newRow("EdgeSpace 50") << true << 50 << "" << 50;
    QTest::newRow("EdgeSpace 51") << true << 51 << edgeError << 40;
    QTest::newRow("ValidSpace 4") << false << 4 << validError << 30;
    QTest::newRow("ValidSpace 5") << false << 5 << "" << 5;
    QTest::newRow("ValidSpace 50") << false << 50 << "" << 50;
    QTest::newRow("ValidSpace 51") << false << 51 << validError << 30;
}

void TestZnHideForm::settersCheckTheirRange()
{
    QFETCH(bool, edgeSpace);
    QFETCH(int, value);
    QFETCH(QString, error);
    QFETCH(int, after);

    DockingFixture f;
    QString raised;
    try {
        if (edgeSpace)
            f.dock->setEdgeSpace(value);
        else
            f.dock->setValidSpace(value);
    } catch (const AppError &e) {
        raised = e.message();
    }
    QCOMPARE(raised, error);
    QCOMPARE(edgeSpace ? f.dock->edgeSpace() : f.dock->validSpace(), after);
}

void TestZnHideForm::snapToEdge_data()
{
    QTest::addColumn<QPoint>("from"); // the window's place before the notification: DockRect
    QTest::addColumn<ScreenRect>("proposed");
    QTest::addColumn<ScreenRect>("expected");
    QTest::addColumn<int>("dockPos");

    using Z = TZnHideForm;
    QTest::newRow("top at 29, moving up") << QPoint(500, 100) << at(500, 29) << at(500, 0) << int(Z::dpTop);
    QTest::newRow("top at 30") << QPoint(500, 100) << at(500, 30) << at(500, 30) << int(Z::dpNone);
    QTest::newRow("above the top") << QPoint(500, 0) << at(500, -20) << at(500, 0) << int(Z::dpTop);
    QTest::newRow("along the top") << QPoint(500, 0) << at(520, 0) << at(520, 0) << int(Z::dpTop);
    QTest::newRow("down from the top") << QPoint(500, 0) << at(500, 5) << at(500, 5) << int(Z::dpNone);
    QTest::newRow("the corner is the top") << QPoint(100, 100) << at(10, 10) << at(10, 0) << int(Z::dpTop);
    QTest::newRow("left at 29, moving left") << QPoint(100, 200) << at(29, 200) << at(0, 200) << int(Z::dpLeft);
    QTest::newRow("left at 30") << QPoint(100, 200) << at(30, 200) << at(30, 200) << int(Z::dpNone);
    QTest::newRow("right from the left edge") << QPoint(0, 200) << at(10, 200) << at(10, 200) << int(Z::dpNone);
    QTest::newRow("29 from the right, moving right")
        << QPoint(1000, 200) << at(1291, 200) << at(1320, 200) << int(Z::dpRight);
    QTest::newRow("30 from the right") << QPoint(1000, 200) << at(1290, 200) << at(1290, 200) << int(Z::dpNone);
    QTest::newRow("left from the right edge") << QPoint(1320, 200) << at(1310, 200) << at(1310, 200) << int(Z::dpNone);
    QTest::newRow("past the work area's edge, short of the screen's")
        << QPoint(1000, 200) << at(1200, 200) << at(1200, 200) << int(Z::dpNone);
}

void TestZnHideForm::snapToEdge()
{
    QFETCH(QPoint, from);
    QFETCH(ScreenRect, proposed);
    QFETCH(ScreenRect, expected);
    QFETCH(int, dockPos);

    DockingFixture f(from);
    QCOMPARE(f.dock->DockRect(), at(from.x(), from.y()));

    QCOMPARE(f.propose(proposed), expected);
    QCOMPARE(int(f.dock->dockPos()), dockPos);
    QCOMPARE(f.dock->DockRect(), expected);
}

void TestZnHideForm::dragPathSnapsEveryProposedRectangle()
{
    DockingFixture f;
    WindowDrag drag(&f.form);
    drag.start({800, 250}); // grip (300, 150)
    // Up to 20 below the top, which snaps, then along the top with the pointer a little higher.
    for (const QPoint cursor : {QPoint(800, 200), QPoint(800, 170), QPoint(810, 140)}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(f.form.mapFromGlobal(cursor)), QPointF(cursor), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.form, &move);
    }
    QCOMPARE(f.form.pos(), QPoint(510, 0));
    QCOMPARE(f.dock->dockPos(), TZnHideForm::dpTop);
}

void TestZnHideForm::dockEventAtEveryNotificationThatEndsAtAnEdge()
{
    DockingFixture f;
    QList<TZnHideForm::TDockPos> raised;
    f.dock->setDockEvent([&](TZnHideForm::TDockPos pos) { raised << pos; });

    f.propose(at(500, 60));
    f.propose(at(500, 10));
    f.propose(at(520, 0));
    f.propose(at(540, -5));
    f.propose(at(540, 3)); // away from the edge
    f.propose(at(540, 50));

    QCOMPARE(raised, (QList<TZnHideForm::TDockPos>{TZnHideForm::dpTop, TZnHideForm::dpTop, TZnHideForm::dpTop}));
}

void TestZnHideForm::hidesAndShowsAtTheEdge_data()
{
    QTest::addColumn<ScreenRect>("dragTo");
    QTest::addColumn<QPoint>("hidden");
    QTest::addColumn<QPoint>("shown");
    QTest::newRow("top") << at(700, 5) << QPoint(700, -260) << QPoint(700, 0);
    QTest::newRow("left") << at(5, 400) << QPoint(-560, 400) << QPoint(0, 400);
    QTest::newRow("right (the screen's edge)") << at(1315, 400) << QPoint(1880, 400) << QPoint(1320, 400);
}

void TestZnHideForm::hidesAndShowsAtTheEdge()
{
    QFETCH(ScreenRect, dragTo);
    QFETCH(QPoint, hidden);
    QFETCH(QPoint, shown);

    DockingFixture f;
    f.dragTo(dragTo);
    const ScreenRect docked = f.dock->DockRect();

    f.leaveTo({960, 700});
    QVERIFY(f.dock->isFormHidden());
    QCOMPARE(f.form.pos(), hidden);

    f.screen.cursor = hidden + QPoint(f.form.width() / 2, f.form.height() / 2); // irrelevant to showing
    f.enter();
    QVERIFY(!f.dock->isFormHidden());
    QCOMPARE(f.form.pos(), shown);
    QCOMPARE(f.dock->DockRect(), docked); // the moves are not drags
}

void TestZnHideForm::leaveInsideDockRectDoesNotHide()
{
    DockingFixture f;
    f.dragTo(at(700, 5));

    f.leaveTo({720, 2}); // into a cut-away part of the shape, or onto a control
    QVERIFY(!f.dock->isFormHidden());
    QCOMPARE(f.form.pos(), QPoint(700, 0));

    f.enter();
    f.leaveTo({700, 300}); // the bottom edge is outside
    QVERIFY(f.dock->isFormHidden());
}

void TestZnHideForm::handlersReplaceTheMoves()
{
    DockingFixture f;
    QStringList calls;
    f.dock->setOnHideForm([&](TZnHideForm::TDockPos pos) { calls << QStringLiteral("hide %1").arg(pos); });
    f.dock->setOnShowForm([&](TZnHideForm::TDockPos pos) { calls << QStringLiteral("show %1").arg(pos); });
    f.dragTo(at(5, 400));

    f.leaveTo({960, 100});
    QVERIFY(f.dock->isFormHidden());
    f.enter();
    QVERIFY(!f.dock->isFormHidden());

    QCOMPARE(calls, (QStringList{"hide 2", "show 2"}));
    QCOMPARE(f.form.pos(), QPoint(0, 400));
}

void TestZnHideForm::wakeUpTimerNoticesAPointerThatLeft_data()
{
    QTest::addColumn<bool>("leaveHeard"); // whether a Leave came when the pointer left the window
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("still on the picture") << false << QPoint(960, 100) << false;
    QTest::newRow("over a cut-away part inside DockRect") << false << QPoint(705, 5) << false;
    QTest::newRow("over another program's window") << false << QPoint(960, 700) << true;
    QTest::newRow("out of DockRect after a Leave inside it") << true << QPoint(960, 700) << true;
    QTest::newRow("inside DockRect after a Leave") << true << QPoint(705, 5) << false;
}

void TestZnHideForm::wakeUpTimerNoticesAPointerThatLeft()
{
    QFETCH(bool, leaveHeard);
    QFETCH(QPoint, cursor);
    QFETCH(bool, hidden);

    DockingFixture f;
    f.form.setMask(QRegion(10, 10, 580, 280)); // a margin of 10 is cut away
    f.dragTo(at(700, 5));
    if (leaveHeard)
        f.leaveTo({705, 5});
    QVERIFY(!f.dock->isFormHidden());

    f.screen.cursor = cursor;
    f.dock->checkPointer();

    QCOMPARE(f.dock->isFormHidden(), hidden);
    const auto *wakeUp = f.dock->findChild<QTimer *>();
    QVERIFY(wakeUp && wakeUp->isActive());
    QCOMPARE(wakeUp->interval(), 558);
}

void TestZnHideForm::autoDockOffStopsWatching()
{
    DockingFixture f;
    f.dragTo(at(5, 400));
    f.leaveTo({960, 100});
    QCOMPARE(f.form.pos(), QPoint(-560, 400));

    f.dock->setAutoDock(false);

    QCOMPARE(f.dock->dockPos(), TZnHideForm::dpNone);
    QCOMPARE(f.form.pos(), QPoint(-560, 400)); // stays hidden
    QVERIFY(!f.dock->findChild<QTimer *>());
    f.enter();
    QCOMPARE(f.form.pos(), QPoint(-560, 400));
    QCOMPARE(f.propose(at(3, 400)), at(3, 400));
}

void TestZnHideForm::alwaysTopMakesATopmostToolWindow()
{
    DockingFixture f;
    f.dock->setAlwaysTop(true);
    QVERIFY(f.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(f.form.windowType(), Qt::Tool);
    QVERIFY(f.form.isVisible());

    f.dock->setAlwaysTop(false);
    QVERIFY(!f.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(f.form.windowType(), Qt::Window);
    QVERIFY(f.form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(f.form.isVisible());
}

QTEST_MAIN(TestZnHideForm)
#include "tst_znhideform.moc"
