#include "window/windowdrag.h"

#include "window/hotarea.h"
#include "window/shapedpicture.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A shaped window as the program's windows are: the picture fills it and a hot area lies on the picture.
class PictureWindow : public QWidget
{
public:
    PictureWindow()
    {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(0, 0, qRgb(0, 0, 0));
        hotArea = new HotArea(this, {150, 60, 30, 20});
        new ShapedPicture(image, this);
        drag = findChild<WindowDrag *>();
        move(300, 200);
    }

    HotArea *hotArea;
    WindowDrag *drag;
};

// Stands in for the docking component: keeps every proposed rectangle's left edge off x < 250.
class LeftFence : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == MovingEvent::eventType()) {
            auto *moving = static_cast<MovingEvent *>(event);
            proposed.append(moving->rect());
            if (moving->rect().left() < 250)
                moving->setRect(moving->rect().translated(250 - moving->rect().left(), 0));
        }
        return false;
    }

public:
    QList<QRect> proposed;
};

// Mouse events through the window system, so that Qt finds the widget under the pointer and keeps
// sending to the one that took the press, as it does for real. Positions are on the screen: the window
// moves under the pointer.
QPoint local(QWidget *window, const QPoint &screen)
{
    return screen - window->pos();
}

void press(QWidget *window, const QPoint &screen, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(window->windowHandle(), button, {}, local(window, screen));
}

void moveTo(QWidget *window, const QPoint &screen)
{
    QTest::mouseMove(window->windowHandle(), local(window, screen));
}

void release(QWidget *window, const QPoint &screen, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(window->windowHandle(), button, {}, local(window, screen));
}

} // namespace

class TestWindowDrag : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowFollowsThePointerUntilTheButtonIsReleased();
    void eachProposedRectangleIsOfferedFirst();
    void movementWithoutTheLeftButtonDoesNotDrag();
    void pressOnAHotAreaDoesNotDrag();
    void hotAreaClicks_data();
    void hotAreaClicks();
    void hotAreaReportsEveryMovementOverIt();

private:
    std::unique_ptr<PictureWindow> m_window;
};

void TestWindowDrag::init()
{
    m_window = std::make_unique<PictureWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWindowDrag::cleanup()
{
    m_window.reset();
}

void TestWindowDrag::windowFollowsThePointerUntilTheButtonIsReleased()
{
    PictureWindow &window = *m_window; // at (300, 200)
    press(&window, {320, 230});
    moveTo(&window, {325, 232}); // the first movement with the button held starts the drag where it is
    QVERIFY(window.drag->isActive());
    QCOMPARE(window.pos(), QPoint(300, 200));

    moveTo(&window, {345, 212});
    QCOMPARE(window.pos(), QPoint(320, 180));
    moveTo(&window, {335, 252});
    QCOMPARE(window.pos(), QPoint(310, 220));

    release(&window, {335, 252});
    QVERIFY(!window.drag->isActive());
    moveTo(&window, {400, 260});
    QCOMPARE(window.pos(), QPoint(310, 220));
}

void TestWindowDrag::eachProposedRectangleIsOfferedFirst()
{
    PictureWindow &window = *m_window;
    LeftFence fence;
    window.installEventFilter(&fence);

    press(&window, {320, 230});
    moveTo(&window, {321, 230}); // grip (21, 30)
    moveTo(&window, {301, 235}); // proposes left 280
    moveTo(&window, {251, 235}); // proposes left 230, the fence says 250
    release(&window, {251, 235});

    QCOMPARE(fence.proposed.size(), 2);
    QCOMPARE(fence.proposed[0], QRect(280, 205, 200, 100));
    QCOMPARE(fence.proposed[1], QRect(230, 205, 200, 100));
    QCOMPARE(window.pos(), QPoint(250, 205)); // where the fence put it
}

void TestWindowDrag::movementWithoutTheLeftButtonDoesNotDrag()
{
    PictureWindow &window = *m_window;
    press(&window, {320, 230}, Qt::RightButton);
    moveTo(&window, {360, 270});
    moveTo(&window, {390, 280});
    release(&window, {390, 280}, Qt::RightButton);
    moveTo(&window, {310, 210});

    QVERIFY(!window.drag->isActive());
    QCOMPARE(window.pos(), QPoint(300, 200));
}

void TestWindowDrag::pressOnAHotAreaDoesNotDrag()
{
    PictureWindow &window = *m_window; // the hot area covers (450, 260) to (479, 279)
    QSignalSpy clicked(window.hotArea, &HotArea::clicked);
    press(&window, {460, 270});
    moveTo(&window, {400, 240}); // off the hot area, over the bare picture
    moveTo(&window, {350, 220});
    release(&window, {350, 220});

    QVERIFY(!window.drag->isActive());
    QCOMPARE(window.pos(), QPoint(300, 200));
    QCOMPARE(clicked.size(), 0); // released outside
}

void TestWindowDrag::hotAreaClicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("clicks");
    QTest::newRow("left, released inside") << Qt::LeftButton << QPoint(470, 275) << 1;
    QTest::newRow("left, released outside") << Qt::LeftButton << QPoint(440, 275) << 0;
    QTest::newRow("right") << Qt::RightButton << QPoint(470, 275) << 0;
}

void TestWindowDrag::hotAreaClicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, releaseAt);
    QFETCH(int, clicks);

    QSignalSpy clicked(m_window->hotArea, &HotArea::clicked);
    press(m_window.get(), {460, 270}, button);
    release(m_window.get(), releaseAt, button);
    QCOMPARE(clicked.size(), clicks);
}

void TestWindowDrag::hotAreaReportsEveryMovementOverIt()
{
    QCOMPARE(m_window->hotArea->cursor().shape(), Qt::PointingHandCursor);
    QSignalSpy moved(m_window->hotArea, &HotArea::pointerMoved);
    moveTo(m_window.get(), {400, 240}); // over the bare picture
    moveTo(m_window.get(), {465, 272});
    moveTo(m_window.get(), {466, 273});

    QCOMPARE(moved.size(), 2);
}

QTEST_MAIN(TestWindowDrag)
#include "tst_windowdrag.moc"
