#include "window/edgedocker.h"

#include "tests/support/fakescreen.h"
#include "window/shapedpicture.h"
#include "window/windowdrag.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using Edge = EdgeDocker::Edge;

const QRect kScreen(0, 0, 1920, 1080);
// The primary screen to the right of another one, whose own left edge is at 1920.
const QRect kRightScreen(1920, 0, 1280, 800);

// 600 x 300, every pixel of its own colour, with a key-coloured margin of 10 that shaping cuts away.
QImage markedPicture()
{
    QImage picture(600, 300, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 10; y < 290; ++y) {
        for (int x = 10; x < 590; ++x)
            picture.setPixel(x, y, qRgb(x & 0xff, y & 0xff, 0x80 | (x >> 8) | (y >> 8) << 2));
    }
    return picture;
}

// The main window's case: a shaped window of 600 x 300 with a control on it, a strip of 40, a snap distance
// of 30.
class DockingFixture
{
public:
    explicit DockingFixture(QPoint at = {500, 100}, const QRect &screenGeometry = kScreen,
                            const QImage &picture = markedPicture())
        : screen(screenGeometry)
    {
        shape = new ShapedPicture(picture, &window);
        control = new QWidget(&window);
        control->setGeometry(570, 20, 20, 260);
        window.move(at);
        window.show();
        docker = new EdgeDocker(&window, screen);
        docker->setVisibleStrip(40);
        docker->setSnapDistance(30);
    }

    // One proposed rectangle, as the drag offers it; returns the rectangle as the docker left it.
    QRect propose(const QRect &rect)
    {
        MovingEvent moving(rect);
        QApplication::sendEvent(&window, &moving);
        return moving.rect();
    }

    // A drag that ends at `rect` (and wherever the docker puts it), with the pointer on the window.
    void dragTo(const QRect &rect)
    {
        const QRect taken = propose(rect);
        window.move(taken.topLeft());
        screen.cursor = taken.center();
        enter();
    }

    void enter()
    {
        QEnterEvent event(QPointF(), QPointF(), QPointF(screen.cursor));
        QApplication::sendEvent(&window, &event);
    }

    void leaveTo(const QPoint &cursor)
    {
        screen.cursor = cursor;
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&window, &event);
    }

    QTimer *wakeUp() const { return docker->findChild<QTimer *>(); }

    FakeScreen screen;
    QWidget window;
    ShapedPicture *shape = nullptr;
    QWidget *control = nullptr;
    EdgeDocker *docker = nullptr;
};

QRect at(int left, int top)
{
    return {left, top, 600, 300};
}

} // namespace

class TestEdgeDocker : public QObject
{
    Q_OBJECT

private slots:
    void settersTakeTheirWholeRange_data();
    void settersTakeTheirWholeRange();
    void snap_data();
    void snap();
    void dragPathSnapsEveryProposedRectangle();
    void dockedAtEveryProposedRectangleThatEndsAtAnEdge();
    void slidesOutAndInAtTheEdge_data();
    void slidesOutAndInAtTheEdge();
    void stripWithoutOpaquePixelsShowsNothing();
    void windowMovedWhileSlidOutShowsWhole();
    void leaveInsideDockRectDoesNotSlideOut();
    void wakeUpTimerNoticesAPointerThatLeft_data();
    void wakeUpTimerNoticesAPointerThatLeft();
    void dockerWorksWhileItLives();
};

// Both ends of each range are taken (a value outside is a programming error, asserted in debug builds).
void TestEdgeDocker::settersTakeTheirWholeRange_data()
{
    QTest::addColumn<bool>("strip");
    QTest::addColumn<int>("value");
    QTest::newRow("strip 1") << true << 1;
    QTest::newRow("strip 50") << true << 50;
    QTest::newRow("snap distance 5") << false << 5;
    QTest::newRow("snap distance 50") << false << 50;
}

void TestEdgeDocker::settersTakeTheirWholeRange()
{
    QFETCH(bool, strip);
    QFETCH(int, value);

    DockingFixture f;
    if (strip)
        f.docker->setVisibleStrip(value);
    else
        f.docker->setSnapDistance(value);
    QCOMPARE(strip ? f.docker->visibleStrip() : f.docker->snapDistance(), value);
}

void TestEdgeDocker::snap_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("from"); // the window's place before the proposal: dockRect
    QTest::addColumn<QRect>("proposed");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<Edge>("edge");

    const QRect s = kScreen;
    QTest::newRow("top at 29, moving up") << s << QPoint(500, 100) << at(500, 29) << at(500, 0) << Edge::Top;
    QTest::newRow("top at 30") << s << QPoint(500, 100) << at(500, 30) << at(500, 30) << Edge::None;
    QTest::newRow("above the top") << s << QPoint(500, 0) << at(500, -20) << at(500, 0) << Edge::Top;
    QTest::newRow("along the top") << s << QPoint(500, 0) << at(520, 0) << at(520, 0) << Edge::Top;
    QTest::newRow("down from the top") << s << QPoint(500, 0) << at(500, 5) << at(500, 5) << Edge::None;
    QTest::newRow("the corner is the top") << s << QPoint(100, 100) << at(10, 10) << at(10, 0) << Edge::Top;
    QTest::newRow("left at 29, moving left") << s << QPoint(100, 200) << at(29, 200) << at(0, 200) << Edge::Left;
    QTest::newRow("left at 30") << s << QPoint(100, 200) << at(30, 200) << at(30, 200) << Edge::None;
    QTest::newRow("right from the left edge") << s << QPoint(0, 200) << at(10, 200) << at(10, 200) << Edge::None;
    QTest::newRow("29 from the right, moving right")
        << s << QPoint(1000, 200) << at(1291, 200) << at(1320, 200) << Edge::Right;
    QTest::newRow("30 from the right") << s << QPoint(1000, 200) << at(1290, 200) << at(1290, 200) << Edge::None;
    QTest::newRow("left from the right edge") << s << QPoint(1320, 200) << at(1310, 200) << at(1310, 200) << Edge::None;
    QTest::newRow("past the work area's edge, short of the screen's")
        << s << QPoint(1000, 200) << at(1200, 200) << at(1200, 200) << Edge::None;

    const QRect r = kRightScreen;
    QTest::newRow("right screen: top") << r << QPoint(2300, 100) << at(2300, 29) << at(2300, 0) << Edge::Top;
    QTest::newRow("right screen: its own left edge")
        << r << QPoint(2100, 200) << at(1949, 200) << at(1920, 200) << Edge::Left;
    QTest::newRow("right screen: 30 from its left edge")
        << r << QPoint(2100, 200) << at(1950, 200) << at(1950, 200) << Edge::None;
    QTest::newRow("right screen: towards the screen on its left")
        << r << QPoint(2000, 200) << at(1500, 200) << at(1920, 200) << Edge::Left;
    QTest::newRow("right screen: its own right edge")
        << r << QPoint(2400, 200) << at(2571, 200) << at(2600, 200) << Edge::Right;
    QTest::newRow("screen below another: its own top")
        << QRect(0, 1080, 1920, 1080) << QPoint(500, 1200) << at(500, 1100) << at(500, 1080) << Edge::Top;
}

void TestEdgeDocker::snap()
{
    QFETCH(QRect, screen);
    QFETCH(QPoint, from);
    QFETCH(QRect, proposed);
    QFETCH(QRect, expected);
    QFETCH(Edge, edge);

    DockingFixture f(from, screen);
    QCOMPARE(f.docker->dockRect(), at(from.x(), from.y()));
    QCOMPARE(f.docker->edge(), Edge::None); // a window placed at an edge is docked only by a drag

    QCOMPARE(f.propose(proposed), expected);
    QCOMPARE(f.docker->edge(), edge);
    QCOMPARE(f.docker->dockRect(), expected);
}

void TestEdgeDocker::dragPathSnapsEveryProposedRectangle()
{
    DockingFixture f;
    WindowDrag drag(&f.window);
    drag.start({800, 250}); // grip (300, 150)
    // Up to 20 below the top, which snaps, then along the top with the pointer a little higher.
    for (const QPoint cursor : {QPoint(800, 200), QPoint(800, 170), QPoint(810, 140)}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(f.window.mapFromGlobal(cursor)), QPointF(cursor), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.window, &move);
    }
    QCOMPARE(f.window.pos(), QPoint(510, 0));
    QCOMPARE(f.docker->edge(), Edge::Top);
}

void TestEdgeDocker::dockedAtEveryProposedRectangleThatEndsAtAnEdge()
{
    DockingFixture f;
    QSignalSpy docked(f.docker, &EdgeDocker::docked);

    for (const QRect &rect : {at(500, 60), at(500, 10), at(520, 0), at(540, -5), at(540, 3), at(540, 50)})
        f.propose(rect); // the last two go away from the edge

    QCOMPARE(docked.size(), 3);
    for (const QList<QVariant> &signal : docked)
        QCOMPARE(signal.at(0).value<Edge>(), Edge::Top);
}

void TestEdgeDocker::slidesOutAndInAtTheEdge_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("dragTo");
    QTest::addColumn<QPoint>("away");    // a pointer off the window
    QTest::addColumn<QPoint>("slidOut"); // where the slid-out window would stand
    QTest::newRow("top") << kScreen << at(700, 5) << QPoint(960, 890) << QPoint(700, -260);
    QTest::newRow("left") << kScreen << at(5, 400) << QPoint(960, 890) << QPoint(-560, 400);
    QTest::newRow("right (the screen's edge)") << kScreen << at(1315, 400) << QPoint(960, 890) << QPoint(1880, 400);
    QTest::newRow("right screen: top") << kRightScreen << at(2300, 5) << QPoint(2560, 750) << QPoint(2300, -260);
    QTest::newRow("right screen: left") << kRightScreen << at(1925, 400) << QPoint(2560, 750) << QPoint(1360, 400);
    QTest::newRow("right screen: right") << kRightScreen << at(2595, 400) << QPoint(2200, 750) << QPoint(3160, 400);
}

// Window managers that keep windows on screen refuse the slide's move, so the window stays where it docked
// and shows only what the slid-out window would leave on screen: the strip at the edge, with the part of
// the picture and of the controls that lies there, and nothing else, not even to the pointer.
void TestEdgeDocker::slidesOutAndInAtTheEdge()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, dragTo);
    QFETCH(QPoint, away);
    QFETCH(QPoint, slidOut);

    DockingFixture f(screen.topLeft() + QPoint(380, 100), screen);
    f.dragTo(dragTo);
    const QRect docked = f.docker->dockRect();
    const QRegion shape = f.window.mask();
    const QPoint controlAt = f.control->pos();

    f.leaveTo(away);
    QVERIFY(f.docker->isSlidOut());
    QCOMPARE(f.window.pos(), docked.topLeft());
    const QPoint offset = slidOut - docked.topLeft(); // from picture to window coordinates
    const QRect strip = QRect(slidOut, docked.size()).intersected(screen).translated(-docked.topLeft());
    QVERIFY(f.window.mask().xored(shape.translated(offset) & strip).isEmpty());
    QCOMPARE(f.control->pos(), controlAt + offset);
    const QImage shown = f.window.grab().toImage();
    for (const QPoint p : {strip.topLeft() + QPoint(12, 12), strip.center(), strip.bottomRight() - QPoint(12, 12)})
        QCOMPARE(shown.pixel(p), f.shape->picture().pixel(p - offset));

    f.screen.cursor = strip.center() + docked.topLeft();
    f.enter();
    QVERIFY(!f.docker->isSlidOut());
    QCOMPARE(f.window.pos(), docked.topLeft());
    QVERIFY(f.window.mask().xored(shape).isEmpty());
    QCOMPARE(f.control->pos(), controlAt);
    QCOMPARE(f.docker->dockRect(), docked); // the slides are not drags
}

// A strip without an opaque pixel shows nothing at all, rather than the whole window (Qt takes an empty
// mask for none).
void TestEdgeDocker::stripWithoutOpaquePixelsShowsNothing()
{
    QImage picture = markedPicture();
    picture.fill(Qt::black);
    picture.setPixel(300, 150, qRgb(255, 255, 255));
    DockingFixture f({500, 100}, kScreen, picture);
    f.dragTo(at(5, 400));

    f.leaveTo({960, 890});
    QVERIFY(f.docker->isSlidOut());
    QVERIFY(!f.window.mask().isEmpty());
    QVERIFY((f.window.mask() & f.window.rect()).isEmpty());
}

// The program brings its window back to the top right from the tray, wherever it was docked: it shows
// whole there, and the pointer on it brings it back to its edge.
void TestEdgeDocker::windowMovedWhileSlidOutShowsWhole()
{
    DockingFixture f;
    const QRegion shape = f.window.mask();
    f.dragTo(at(5, 400));
    f.leaveTo({960, 890});
    QVERIFY(f.window.mask() != shape);

    f.window.move(1320, 0);
    QVERIFY(f.window.mask().xored(shape).isEmpty());
    QCOMPARE(f.control->pos(), QPoint(570, 20));
    QVERIFY(f.docker->isSlidOut());

    f.screen.cursor = {1600, 150};
    f.enter();
    QCOMPARE(f.window.pos(), QPoint(0, 0));
    QVERIFY(f.window.mask().xored(shape).isEmpty());
}

void TestEdgeDocker::leaveInsideDockRectDoesNotSlideOut()
{
    DockingFixture f;
    f.dragTo(at(700, 5));

    f.leaveTo({720, 2}); // into a cut-away part of the shape, or onto a control
    QVERIFY(!f.docker->isSlidOut());
    QCOMPARE(f.window.pos(), QPoint(700, 0));

    f.enter();
    f.leaveTo({700, 300}); // the bottom edge is outside
    QVERIFY(f.docker->isSlidOut());
}

void TestEdgeDocker::wakeUpTimerNoticesAPointerThatLeft_data()
{
    QTest::addColumn<bool>("leaveHeard"); // whether a Leave came when the pointer left the window
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<bool>("slidOut");
    QTest::newRow("still on the picture") << false << QPoint(960, 100) << false;
    QTest::newRow("over a cut-away part inside dockRect") << false << QPoint(705, 5) << false;
    QTest::newRow("over another program's window") << false << QPoint(960, 700) << true;
    QTest::newRow("out of dockRect after a Leave inside it") << true << QPoint(960, 700) << true;
    QTest::newRow("inside dockRect after a Leave") << true << QPoint(705, 5) << false;
}

void TestEdgeDocker::wakeUpTimerNoticesAPointerThatLeft()
{
    QFETCH(bool, leaveHeard);
    QFETCH(QPoint, cursor);
    QFETCH(bool, slidOut);

    DockingFixture f; // the picture's margin of 10 is cut away
    f.dragTo(at(700, 5));
    if (leaveHeard)
        f.leaveTo({705, 5});
    QVERIFY(!f.docker->isSlidOut());
    QTimer *wakeUp = f.wakeUp();
    QVERIFY(wakeUp && wakeUp->isActive());
    QCOMPARE(wakeUp->interval(), 558);

    f.screen.cursor = cursor;
    QMetaObject::invokeMethod(wakeUp, "timeout"); // one tick, without waiting for it

    QCOMPARE(f.docker->isSlidOut(), slidOut);
}

void TestEdgeDocker::dockerWorksWhileItLives()
{
    DockingFixture f;
    f.dragTo(at(5, 400));
    f.leaveTo({960, 100});
    const QRegion strip = f.window.mask();
    QCOMPARE(strip.boundingRect(), QRect(0, 10, 30, 280));

    delete f.docker;

    f.enter();
    QCOMPARE(f.window.mask(), strip); // stays as it was
    QCOMPARE(f.window.pos(), QPoint(0, 400));
    QCOMPARE(f.propose(at(3, 400)), at(3, 400));
}

QTEST_MAIN(TestEdgeDocker)
#include "tst_edgedocker.moc"
