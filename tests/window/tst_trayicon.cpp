#include "window/trayicon.h"

#include "core/apperror.h"
#include "desktop/systemtraybackend.h"
#include "tests/support/fakescreen.h"
#include "tests/support/privatesessionbus.h"
#include "tests/support/recordingdialogs.h"
#include "tests/support/recordingtraybackend.h"
#include "window/programwindows.h"

#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

QIcon colourIcon(QColor colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The program's window, its application window, and a tray icon over a recording backend.
struct TrayFixture
{
    TrayFixture()
    {
        window.show();
        auto recording = std::make_unique<RecordingTrayBackend>(requests);
        backend = recording.get();
        tray = std::make_unique<TrayIcon>(app, screen, std::move(recording));
    }

    bool onTaskbar() const { return window.isVisible(); }
    bool restored() const { return window.isVisible() && !window.isMinimized() && !app.isMinimized(); }
    QTimer *animation() const { return tray->findChild<QTimer *>(); }

    RecordingDialogs dialogs;
    ProgramWindows app{dialogs};
    FakeScreen screen;
    QWidget window;
    QStringList requests;
    RecordingTrayBackend *backend = nullptr;
    std::unique_ptr<TrayIcon> tray;
};

} // namespace

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void activations_data();
    void activations();
    void menuPopsUpAtThePointerWhileThereIsOne();
    void showShowsTheFirstFrameOrTheProgramsIcon_data();
    void showShowsTheFirstFrameOrTheProgramsIcon();
    void animationGoesThroughTheFramesOnceASecond();
    void refusedIconFails();
    void minimizeToTheTray_data();
    void minimizeToTheTray();
    void commandsFromOutsideGoThroughTheIconWhileItShows();
    void systemBackendMakesTheIconOnceATrayIsThere_data();
    void systemBackendMakesTheIconOnceATrayIsThere();
    void systemBackendShowsTheIconWhenItsPictureComes();

private:
    PrivateSessionBus m_bus;
};

void TestTrayIcon::activations_data()
{
    QTest::addColumn<QList<QSystemTrayIcon::ActivationReason>>("activations");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("menu");
    QTest::newRow("left click") << QList{QSystemTrayIcon::Trigger} << 1 << false;
    // A double-click is two releases for the user: the second click undoes the first.
    QTest::newRow("double-click") << QList{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick} << 2 << false;
    QTest::newRow("right click") << QList{QSystemTrayIcon::Context} << 0 << true;
    QTest::newRow("middle click") << QList{QSystemTrayIcon::MiddleClick} << 0 << false;
    QTest::newRow("unknown") << QList{QSystemTrayIcon::Unknown} << 0 << false;
}

void TestTrayIcon::activations()
{
    QFETCH(QList<QSystemTrayIcon::ActivationReason>, activations);
    QFETCH(int, clicks);
    QFETCH(bool, menu);

    TrayFixture f;
    QMenu contextMenu;
    contextMenu.addAction(QStringLiteral("退出"));
    f.tray->setContextMenu(&contextMenu);
    f.tray->show();
    QSignalSpy clicked(f.tray.get(), &TrayIcon::clicked);

    for (QSystemTrayIcon::ActivationReason reason : activations)
        f.backend->activate(reason);

    QCOMPARE(clicked.size(), clicks);
    QCOMPARE(contextMenu.isVisible(), menu);
}

void TestTrayIcon::menuPopsUpAtThePointerWhileThereIsOne()
{
    TrayFixture f;
    f.screen.cursor = QPoint(100, 120);
    auto *menu = new QMenu;
    menu->addAction(QStringLiteral("隐藏/显示"));
    f.tray->setContextMenu(menu);

    f.backend->activate(QSystemTrayIcon::Context);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(100, 120));

    delete menu; // the menu went away: a right click shows nothing
    f.backend->activate(QSystemTrayIcon::Context);
}

void TestTrayIcon::showShowsTheFirstFrameOrTheProgramsIcon_data()
{
    QTest::addColumn<bool>("framesFirst");
    QTest::newRow("frames, then show") << true;
    QTest::newRow("show, then frames") << false;
}

void TestTrayIcon::showShowsTheFirstFrameOrTheProgramsIcon()
{
    QFETCH(bool, framesFirst);

    QApplication::setWindowIcon(colourIcon(Qt::blue));
    const QList<QIcon> frames{colourIcon(Qt::green), colourIcon(Qt::red), colourIcon(Qt::yellow)};
    TrayFixture f;
    if (framesFirst) {
        f.tray->setAnimationFrames(frames);
        QVERIFY(f.requests.isEmpty()); // nothing goes to the tray before the icon shows
        f.tray->show();
        QCOMPARE(f.requests, QStringList{"show"});
    } else {
        f.tray->show();
        QCOMPARE(f.backend->shownIcon.cacheKey(), QApplication::windowIcon().cacheKey());
        f.tray->setAnimationFrames(frames);
        QCOMPARE(f.requests, (QStringList{"show", "icon"}));
    }
    QCOMPARE(f.backend->shownIcon.cacheKey(), frames[0].cacheKey());

    f.tray->show(); // once shown, nothing
    QCOMPARE(f.requests.count(QStringLiteral("show")), 1);
}

void TestTrayIcon::animationGoesThroughTheFramesOnceASecond()
{
    const QList<QIcon> frames{colourIcon(Qt::green), colourIcon(Qt::red), colourIcon(Qt::yellow)};
    TrayFixture f;
    f.tray->setAnimationFrames(frames);
    f.tray->show();
    QTimer *animation = f.animation();
    QVERIFY(animation && animation->isActive());
    QCOMPARE(animation->interval(), 1000);

    for (int frame : {1, 2, 0, 1}) {
        QMetaObject::invokeMethod(animation, "timeout"); // one tick, without waiting for it
        QCOMPARE(f.backend->shownIcon.cacheKey(), frames[frame].cacheKey());
    }

    f.tray->setAnimationFrames({}); // no frames: the program's icon, standing still
    QVERIFY(!animation->isActive());
    QCOMPARE(f.backend->shownIcon.cacheKey(), QApplication::windowIcon().cacheKey());
}

void TestTrayIcon::refusedIconFails()
{
    TrayFixture f;
    f.backend->showAccepted = false;

    QCOMPARE(failureOf([&] { f.tray->show(); }).value_or(QString()),
             QStringLiteral("Cannot Create System Shell Notification Icon"));

    f.app.requestMinimize(); // minimised, still on the taskbar
    QVERIFY(f.app.isMinimized());
    QVERIFY(f.onTaskbar());
}

void TestTrayIcon::minimizeToTheTray_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("showAccepted");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("onTaskbar");
    QTest::newRow("icon in the tray") << true << true << true << false;
    QTest::newRow("no tray on the desktop") << false << true << true << true;
    QTest::newRow("icon refused") << true << false << true << true;
    QTest::newRow("icon not shown") << true << true << false << true;
}

// Minimised without a tray to come back through, the program keeps its taskbar entry.
void TestTrayIcon::minimizeToTheTray()
{
    QFETCH(bool, trayAvailable);
    QFETCH(bool, showAccepted);
    QFETCH(bool, shown);
    QFETCH(bool, onTaskbar);

    TrayFixture f;
    f.backend->trayAvailable = trayAvailable;
    f.backend->showAccepted = showAccepted;
    if (shown)
        failureOf([&] { f.tray->show(); });

    f.tray->minimizeToTray();
    QVERIFY(f.app.isMinimized());
    QVERIFY(f.window.isMinimized());
    QCOMPARE(f.onTaskbar(), onTaskbar);
    QCOMPARE(f.app.hasTaskbarEntry(), onTaskbar);

    f.tray->restore();
    QVERIFY(f.restored());
}

// The window manager minimising a window, or a second start asking for the program: through the tray once
// the icon shows, and no longer once it is gone.
void TestTrayIcon::commandsFromOutsideGoThroughTheIconWhileItShows()
{
    TrayFixture f;
    f.app.requestMinimize();
    QVERIFY(f.onTaskbar());
    f.app.requestRestore();

    f.tray->show();
    f.app.requestMinimize();
    QVERIFY(f.app.isMinimized());
    QVERIFY(!f.onTaskbar());
    f.app.requestRestore();
    QVERIFY(f.restored());

    f.tray.reset();
    QCOMPARE(f.requests, (QStringList{"show", "hide"}));
    f.app.requestMinimize();
    QVERIFY(f.onTaskbar());
}

// Qt shows no icon without a picture and warns; the icon waits for its picture instead.
// The tray is a fake StatusNotifierWatcher with a host (a Python script on a bus of the test's own): a real
// panel needs an X display, and these tests run offscreen.
void TestTrayIcon::systemBackendMakesTheIconOnceATrayIsThere_data()
{
    QTest::addColumn<bool>("hostLater");
    QTest::newRow("host at start") << false;
    QTest::newRow("host after the program") << true;
}

void TestTrayIcon::systemBackendMakesTheIconOnceATrayIsThere()
{
    QFETCH(bool, hostLater);
    QTest::failOnWarning(QRegularExpression(QStringLiteral("No Icon set")));
    QVERIFY(!m_bus.address().isEmpty());
    QProcess watcher;
    watcher.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(FAKE_SNI_WATCHER), QStringLiteral("--host-after"),
                                                       hostLater ? QStringLiteral("1") : QStringLiteral("0")});
    QTRY_VERIFY(watcher.canReadLine());
    QCOMPARE(watcher.readLine().trimmed(), "watching");

    SystemTrayBackend backend;
    QVERIFY(backend.show(colourIcon(Qt::red)));
    const QIcon latest = colourIcon(Qt::green); // the animation goes on while there is no tray
    backend.setIcon(latest);
    if (hostLater) {
        QVERIFY(!backend.findChild<QSystemTrayIcon *>());
        QVERIFY(!backend.isTrayAvailable()); // the program stays on the taskbar meanwhile
    }

    QTRY_VERIFY(backend.findChild<QSystemTrayIcon *>());
    auto *icon = backend.findChild<QSystemTrayIcon *>();
    QVERIFY(icon->isVisible());
    QCOMPARE(icon->icon().cacheKey(), latest.cacheKey());

    QSignalSpy activated(&backend, &TrayBackend::activated);
    emit icon->activated(QSystemTrayIcon::Context);
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated[0][0].value<QSystemTrayIcon::ActivationReason>(), QSystemTrayIcon::Context);

    QVERIFY(backend.hide());
    QVERIFY(!icon->isVisible());
    QVERIFY(!backend.hide());
    watcher.kill();
    watcher.waitForFinished();
}

void TestTrayIcon::systemBackendShowsTheIconWhenItsPictureComes()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("No Icon set")));
    QProcess watcher;
    watcher.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(FAKE_SNI_WATCHER)});
    QTRY_VERIFY(watcher.canReadLine());
    SystemTrayBackend backend;
    QTRY_VERIFY(backend.findChild<QSystemTrayIcon *>());
    auto *icon = backend.findChild<QSystemTrayIcon *>();
    backend.setIcon(colourIcon(Qt::green));
    QVERIFY(!icon->isVisible()); // not before it is shown

    QVERIFY(backend.show(QIcon()));
    QVERIFY(!icon->isVisible());
    backend.setIcon(colourIcon(Qt::red));
    QVERIFY(icon->isVisible());
    watcher.kill();
    watcher.waitForFinished();
}

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
