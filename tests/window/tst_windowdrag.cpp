#include "tests/window/screenrecttesting.h"
#include "window/bmpshape.h"
#include "window/hotarea.h"
#include "window/windowdrag.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A shaped window as the program's windows are: the picture fills it, a hot area lies on the picture,
// and a left-button movement over the bare picture starts the drag.
class PictureWindow : public QWidget
{
public:
    PictureWindow()
    {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(0, 0, qRgb(0, 0, 0));
        shape = new TBmpShape(image, this);
        hotArea = new HotArea(this);
        hotArea->setGeometry(150, 60, 30, 20);
        shape->ShapeForm();
        connect(shape, &TBmpShape::mouseMoved, this, [this](ShiftState shift, const QPoint &pos) {
            if (shift.testFlag(ssLeft))
                drag.start(shape->mapToGlobal(pos));
        });
        move(300, 200);
    }

    TBmpShape *shape;
    HotArea *hotArea;
    WindowDrag drag{this};
};

// Stands in for the docking component: keeps every proposed rectangle's left edge off x < 250.
class LeftFence : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == MovingEvent::eventType()) {
            ScreenRect &rect = static_cast<MovingEvent *>(event)->rect();
            proposed.append(rect);
            if (rect.left < 250) {
                rect.right += 250 - rect.left;
                rect.left = 250;
            }
        }
        return false;
    }

public:
    QList<ScreenRect> proposed;
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
    void hotAreaReportsMovementWithoutAButton();

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
    QVERIFY(window.drag.isActive());
    QCOMPARE(window.pos(), QPoint(300, 200));

    moveTo(&window, {345, 212});
    QCOMPARE(window.pos(), QPoint(320, 180));
    moveTo(&window, {335, 252});
    QCOMPARE(window.pos(), QPoint(310, 220));

    release(&window, {335, 252});
    QVERIFY(!window.drag.isActive());
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
    QCOMPARE(fence.proposed[0], (ScreenRect{280, 205, 480, 305}));
    QCOMPARE(fence.proposed[1], (ScreenRect{230, 205, 430, 305}));
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

    QVERIFY(!window.drag.isActive());
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

    QVERIFY(!window.drag.isActive());
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

void TestWindowDrag::hotAreaReportsMovementWithoutAButton()
{
    QCOMPARE(m_window->hotArea->cursor().shape(), Qt::PointingHandCursor);
    QSignalSpy moved(m_window->hotArea, &HotArea::mouseMoved);
    moveTo(m_window.get(), {400, 240});
    moveTo(m_window.get(), {465, 272});

    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved[0][0].value<ShiftState>(), ShiftState());
    QCOMPARE(moved[0][1].toPoint(), QPoint(15, 12));
}

QTEST_MAIN(TestWindowDrag)
#include "tst_windowdrag.moc"
