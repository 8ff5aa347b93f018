#include "window/trayicon.h"

#include "core/apperror.h"
#include "tests/support/fakes.h"
#include "window/appwindow.h"
#include "window/qttraybackend.h"

#include <QMenu>
#include <QTest>

namespace {

// Writes what the icon asks of the notification area into a journal that outlives it, answers as
// told, and sends mouse messages.
class RecordingTrayBackend : public TrayBackend
{
public:
    explicit RecordingTrayBackend(QStringList &journal)
        : m_journal(journal)
    {
    }

    bool add(const NotifyIconData &data) override { return record("add", data, addAccepted); }
    bool modify(const NotifyIconData &data) override { return record("modify", data, true); }
    bool remove(const NotifyIconData &data) override { return record("remove", data, removeAccepted); }
    bool isTrayAvailable() const override { return trayAvailable; }

    void send(const QList<int> &mouseMessages) const
    {
        for (int message : mouseMessages)
            deliver(WM_TRAYICON, message);
    }
    void endSession() const { deliver(WM_ENDSESSION); }
    const NotifyIconData &last() const { return m_last; }

    bool addAccepted = true;
    bool removeAccepted = true;
    bool trayAvailable = true;

private:
    bool record(const char *request, const NotifyIconData &data, bool accepted)
    {
        m_journal << QLatin1String(request);
        m_last = data;
        return accepted;
    }

    QStringList &m_journal;
    NotifyIconData m_last;
};

// A tray icon that writes down what its mouse messages lead to instead of restoring or showing a menu.
class LoggingTrayIcon : public TTrayIcon
{
public:
    using TTrayIcon::TTrayIcon;
    void Restore() override { log << QStringLiteral("restore"); }
    void PopupAtCursor() override { log << QStringLiteral("popup"); }
    QStringList log;
};

QString buttonName(Qt::MouseButton button)
{
    return button == Qt::LeftButton ? "left" : button == Qt::RightButton ? "right" : "middle";
}

QIcon colourIcon(QColor colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The program's windows, its application window, and a tray icon over a recording backend.
struct TrayFixture
{
    TrayFixture()
    {
        window.show();
        auto recording = std::make_unique<RecordingTrayBackend>(requests);
        backend = recording.get();
        tray = std::make_unique<TTrayIcon>(app, std::move(recording));
    }

    bool onTaskbar() const { return window.isVisible(); }

    RecordingDialogs dialogs;
    AppWindow app{dialogs};
    QWidget window;
    QStringList requests;
    RecordingTrayBackend *backend = nullptr;
    std::unique_ptr<TTrayIcon> tray;
};

QString failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void mouseMessages_data();
    void mouseMessages();
    void qtActivationsBecomeMouseMessages_data();
    void qtActivationsBecomeMouseMessages();
    void animateStep_data();
    void animateStep();
    void animateNeedsAnImageListOutsideLoading();
    void endOfLoading();
    void hint_data();
    void hint();
    void visibleAddsTheIconAndHidesOnMinimise();
    void refusedRequestsFail();
    void hideWhileMinimised();
    void iconGoingAwayBringsTheProgramBackOntoTheTaskbar();
    void minimizeToTheTray_data();
    void minimizeToTheTray();
    void systemCommandsReachTheIconWhileVisible();
    void popupAtCursorShowsTheMenuWhileThereIsOne();
    void iconLeavesTheTrayAtTheEndOfTheSessionAndOnDestruction();
};

void TestTrayIcon::mouseMessages_data()
{
    QTest::addColumn<int>("restoreOn");
    QTest::addColumn<int>("popupMenuOn");
    QTest::addColumn<bool>("withOnClick");
    QTest::addColumn<QList<int>>("messages");
    QTest::addColumn<QStringList>("expected");

    const QList<int> leftDoubleClick{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    QTest::newRow("left double-click, defaults")
        << int(imDoubleClick) << int(imNone) << true << leftDoubleClick
        << QStringList{"down left 8", "click", "up left 8", "restore", "dblclick", "click", "up left 8"};
    QTest::newRow("main window: right click opens the menu")
        << int(imNone) << int(imRightClickUp) << true << QList<int>{WM_RBUTTONDOWN, WM_RBUTTONUP}
        << QStringList{"down right 16", "up right 16", "popup"};
    QTest::newRow("main window: a double-click neither restores nor opens the menu")
        << int(imNone) << int(imRightClickUp) << true << leftDoubleClick
        << QStringList{"down left 8", "click", "up left 8", "dblclick", "click", "up left 8"};
    QTest::newRow("imClick without OnClick does not restore")
        << int(imClick) << int(imClick) << false << QList<int>{WM_LBUTTONDOWN, WM_LBUTTONUP}
        << QStringList{"down left 8", "up left 8"};
    QTest::newRow("imClick with OnClick: restore, menu, then the event")
        << int(imClick) << int(imClick) << true << QList<int>{WM_LBUTTONUP}
        << QStringList{"restore", "popup", "click", "up left 8"};
    QTest::newRow("left release: event first, then restore and menu")
        << int(imLeftClickUp) << int(imLeftClickUp) << false << QList<int>{WM_LBUTTONUP}
        << QStringList{"up left 8", "restore", "popup"};
    QTest::newRow("imMouseDown and imMouseUp before their events")
        << int(imMouseDown) << int(imMouseUp) << false << QList<int>{WM_RBUTTONDOWN, WM_RBUTTONUP}
        << QStringList{"restore", "down right 16", "popup", "up right 16"};
    QTest::newRow("left double-click message only for imLeftDoubleClick")
        << int(imLeftDoubleClick) << int(imRightDoubleClick) << false << QList<int>{WM_LBUTTONDBLCLK}
        << QStringList{"dblclick", "restore"};
    QTest::newRow("right double-click") << int(imLeftDoubleClick) << int(imRightDoubleClick) << false
                                        << QList<int>{WM_RBUTTONDBLCLK} << QStringList{"dblclick", "popup"};
    QTest::newRow("middle button") << int(imDoubleClick) << int(imNone) << false
                                   << QList<int>{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}
                                   << QStringList{"down middle 32", "up middle 32", "restore", "dblclick"};
    QTest::newRow("movement only with an OnClick handler")
        << int(imNone) << int(imNone) << true << QList<int>{WM_MOUSEMOVE} << QStringList{"move 0"};
    QTest::newRow("movement without an OnClick handler")
        << int(imNone) << int(imNone) << false << QList<int>{WM_MOUSEMOVE} << QStringList{};
    QTest::newRow("imNone never matches")
        << int(imNone) << int(imNone) << true
        << QList<int>{WM_MOUSEMOVE,
                      WM_LBUTTONDOWN,
                      WM_LBUTTONUP,
                      WM_LBUTTONDBLCLK,
                      WM_RBUTTONDOWN,
                      WM_RBUTTONUP,
                      WM_RBUTTONDBLCLK,
                      WM_MBUTTONDOWN,
                      WM_MBUTTONUP,
                      WM_MBUTTONDBLCLK,
                      522,
                      511}
        << QStringList{"move 0",      "down left 8", "click",          "up left 8",    "dblclick", "down right 16",
                       "up right 16", "dblclick",    "down middle 32", "up middle 32", "dblclick"};
}

void TestTrayIcon::mouseMessages()
{
    QFETCH(int, restoreOn);
    QFETCH(int, popupMenuOn);
    QFETCH(bool, withOnClick);
    QFETCH(QList<int>, messages);
    QFETCH(QStringList, expected);

    RecordingDialogs dialogs;
    AppWindow app(dialogs);
    QStringList requests;
    auto backend = std::make_unique<RecordingTrayBackend>(requests);
    const RecordingTrayBackend &shell = *backend;
    LoggingTrayIcon tray(app, std::move(backend));
    tray.setRestoreOn(TTrayIconMessage(restoreOn));
    tray.setPopupMenuOn(TTrayIconMessage(popupMenuOn));
    if (withOnClick)
        tray.setOnClick([&](TTrayIcon *) { tray.log << "click"; });
    tray.setOnDblClick([&](TTrayIcon *) { tray.log << "dblclick"; });
    tray.setOnMouseMove(
        [&](TTrayIcon *, ShiftState shift, int, int) { tray.log << QStringLiteral("move %1").arg(shift); });
    tray.setOnMouseDown([&](TTrayIcon *, Qt::MouseButton button, ShiftState shift, int, int) {
        tray.log << QStringLiteral("down %1 %2").arg(buttonName(button)).arg(shift);
    });
    tray.setOnMouseUp([&](TTrayIcon *, Qt::MouseButton button, ShiftState shift, int, int) {
        tray.log << QStringLiteral("up %1 %2").arg(buttonName(button)).arg(shift);
    });

    shell.send(messages);

    QCOMPARE(tray.log, expected);
}

void TestTrayIcon::qtActivationsBecomeMouseMessages_data()
{
    QTest::addColumn<QList<int>>("activations");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("doubleClicks");
    QTest::addColumn<int>("popups"); // with the main window's values
    QTest::newRow("left click") << QList<int>{QSystemTrayIcon::Trigger} << 1 << 0 << 0;
    QTest::newRow("double-click") << QList<int>{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick} << 2 << 1 << 0;
    QTest::newRow("right click") << QList<int>{QSystemTrayIcon::Context} << 0 << 0 << 1;
    QTest::newRow("middle click") << QList<int>{QSystemTrayIcon::MiddleClick} << 0 << 0 << 0;
    QTest::newRow("unknown") << QList<int>{QSystemTrayIcon::Unknown} << 0 << 0 << 0;
}

void TestTrayIcon::qtActivationsBecomeMouseMessages()
{
    QFETCH(QList<int>, activations);
    QFETCH(int, clicks);
    QFETCH(int, doubleClicks);
    QFETCH(int, popups);

    RecordingDialogs dialogs;
    AppWindow app(dialogs);
    QStringList requests;
    auto backend = std::make_unique<RecordingTrayBackend>(requests);
    const RecordingTrayBackend &shell = *backend;
    LoggingTrayIcon tray(app, std::move(backend));
    tray.setRestoreOn(imNone);
    tray.setPopupMenuOn(imRightClickUp);
    tray.setOnClick([&](TTrayIcon *) { tray.log << "click"; });
    tray.setOnDblClick([&](TTrayIcon *) { tray.log << "dblclick"; });

    for (int activation : activations)
        shell.send(mouseMessagesFor(QSystemTrayIcon::ActivationReason(activation)));

    QCOMPARE(int(tray.log.count("click")), clicks);
    QCOMPARE(int(tray.log.count("dblclick")), doubleClicks);
    QCOMPARE(int(tray.log.count("popup")), popups);
}

void TestTrayIcon::animateStep_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("0 to 1") << 0 << 1;
    QTest::newRow("1 to 2") << 1 << 2;
    QTest::newRow("after the last, the first") << 2 << 0;
    QTest::newRow("beyond the last") << 7 << 0;
}

void TestTrayIcon::animateStep()
{
    QFETCH(int, from);
    QFETCH(int, to);

    TrayFixture f;
    const QList<QIcon> icons{colourIcon(Qt::green), colourIcon(Qt::red), colourIcon(Qt::yellow)};
    f.tray->setVisible(true);
    f.tray->setIcons(icons);
    f.tray->setIconIndex(from);
    f.tray->AnimateStep();

    QCOMPARE(f.tray->iconIndex(), to);
    QCOMPARE(f.requests.last(), QStringLiteral("modify"));
    QCOMPARE(f.backend->last().hIcon.cacheKey(), icons[to].cacheKey());

    f.tray->clearIcons(); // the image list went away: the icon stays as it is
    const QStringList before = f.requests;
    f.tray->AnimateStep();
    QCOMPARE(f.tray->iconIndex(), to);
    QCOMPARE(f.requests, before);
}

void TestTrayIcon::animateNeedsAnImageListOutsideLoading()
{
    TrayFixture f;
    f.tray->loaded();
    f.tray->setAnimate(true);
    QVERIFY(!f.tray->animate());

    f.tray->setIcons({colourIcon(Qt::green)});
    f.tray->setAnimate(true);
    QVERIFY(f.tray->animate());
    f.tray->setAnimateInterval(250);
    QCOMPARE(f.tray->animateInterval(), 250);
}

// As the main window sets it up: the icon goes in with the application's icon, then switches to the
// first image and starts animating at the end of loading.
void TestTrayIcon::endOfLoading()
{
    QApplication::setWindowIcon(colourIcon(Qt::blue));
    const QList<QIcon> icons{colourIcon(Qt::green), colourIcon(Qt::red), colourIcon(Qt::yellow)};
    TrayFixture f;
    f.tray->setVisible(true);
    QCOMPARE(f.backend->last().hIcon.cacheKey(), QApplication::windowIcon().cacheKey());
    f.tray->setIcons(icons);
    f.tray->setIconIndex(1);
    f.tray->setAnimate(true);
    auto *animation = f.tray->findChild<QTimer *>();
    QVERIFY(!animation || !animation->isActive());

    f.tray->loaded();

    QVERIFY(f.tray->animate());
    QCOMPARE(f.backend->last().hIcon.cacheKey(), icons[1].cacheKey());
    QCOMPARE(f.tray->animateInterval(), 1000);

    TrayFixture without;
    without.tray->setVisible(true);
    without.tray->setAnimate(true); // remembered while loading
    without.tray->loaded();
    QVERIFY(!without.tray->animate());
    QCOMPARE(without.backend->last().hIcon.cacheKey(), QApplication::windowIcon().cacheKey());
}

void TestTrayIcon::hint_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("tipFlag");
    QTest::addColumn<int>("modifies"); // requests after the icon went in

    const QString ascii63(63, QLatin1Char('a'));
    const QString chinese63 = QString(31, QChar(0x65E5)) + QLatin1Char('a'); // 31 x 2 + 1 bytes
    QTest::newRow("63 bytes") << ascii63 << QString() << ascii63 << true << 1;
    QTest::newRow("64 bytes") << QString(64, QLatin1Char('a')) << QString() << QString() << false << 0;
    QTest::newRow("63 bytes in Chinese") << chinese63 << QString() << chinese63 << true << 1;
    QTest::newRow("64 bytes in Chinese") << QString(32, QChar(0x65E5)) << QString() << QString() << false << 0;
    QTest::newRow("the same hint twice") << "日程"
                                         << "日程"
                                         << "日程" << true << 1;
    QTest::newRow("an empty hint removes the tooltip") << "日程"
                                                       << ""
                                                       << "" << false << 2;
    QTest::newRow("too long keeps the hint") << "日程" << QString(64, QLatin1Char('x')) << "日程" << true << 1;
}

void TestTrayIcon::hint()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, expected);
    QFETCH(bool, tipFlag);
    QFETCH(int, modifies);

    TrayFixture f;
    f.tray->setVisible(true);
    f.tray->setHint(first);
    if (!second.isNull())
        f.tray->setHint(second);

    QCOMPARE(f.tray->hint(), expected);
    QCOMPARE(f.requests.size() - 1, modifies);
    QCOMPARE(f.backend->last().szTip, expected);
    QCOMPARE(bool(f.backend->last().uFlags & NIF_TIP), tipFlag);
    QCOMPARE(f.backend->last().uFlags & (NIF_MESSAGE | NIF_ICON), NIF_MESSAGE | NIF_ICON);
}

void TestTrayIcon::visibleAddsTheIconAndHidesOnMinimise()
{
    TrayFixture f;
    TrayFixture other;
    f.tray->setHide(false);
    QVERIFY(f.requests.isEmpty()); // nothing goes to the tray while the icon is not visible

    f.tray->setVisible(true);
    QCOMPARE(f.requests, QStringList{"add"});
    QVERIFY(f.tray->hide());
    const quintptr id = f.backend->last().uID;
    other.tray->setVisible(true);
    QVERIFY(other.backend->last().uID != id);

    f.tray->setVisible(false);
    QCOMPARE(f.requests, (QStringList{"add", "remove"}));
    QCOMPARE(f.backend->last().uID, id);
    QVERIFY(!f.tray->hide());
}

void TestTrayIcon::refusedRequestsFail()
{
    TrayFixture f;
    f.backend->addAccepted = false;
    f.tray->setHide(false);
    QCOMPARE(failureOf([&] { f.tray->setVisible(true); }),
             QStringLiteral("Cannot Create System Shell Notification Icon"));
    QVERIFY(f.tray->visible());
    QVERIFY(!f.tray->hide());
    f.app.systemCommand(SC_MINIMIZE); // no hook: only the program's own handling
    QVERIFY(f.app.isMinimized());
    QVERIFY(f.onTaskbar());

    f.backend->addAccepted = true;
    f.app.restore();
    f.tray->setVisible(true);
    f.backend->removeAccepted = false;
    QCOMPARE(failureOf([&] { f.tray->setVisible(false); }),
             QStringLiteral("Cannot Remove System Shell Notification Icon"));
    QVERIFY(!f.tray->visible());
    QVERIFY(f.tray->hide());
    f.app.systemCommand(SC_MINIMIZE); // the hook stayed: minimised to the tray
    QVERIFY(!f.onTaskbar());
}

void TestTrayIcon::hideWhileMinimised()
{
    TrayFixture f;
    f.tray->setVisible(true);
    f.tray->setHide(false);
    f.tray->Minimize();
    QVERIFY(f.window.isMinimized());
    QVERIFY(f.onTaskbar());

    f.tray->setHide(true); // at once
    QVERIFY(!f.onTaskbar());

    f.tray->setHide(false); // nothing until the next restore
    QVERIFY(!f.onTaskbar());
    f.tray->Restore();
    QVERIFY(f.onTaskbar());
    QVERIFY(!f.window.isMinimized());
}

// Taking the icon away from a program minimised to the tray must not leave it unreachable.
void TestTrayIcon::iconGoingAwayBringsTheProgramBackOntoTheTaskbar()
{
    TrayFixture f;
    f.tray->setVisible(true);
    f.tray->Minimize();
    QVERIFY(!f.onTaskbar());

    f.tray->setVisible(false);

    QVERIFY(f.onTaskbar());
    QVERIFY(f.window.isMinimized());
    QVERIFY(!f.tray->hide());
}

void TestTrayIcon::minimizeToTheTray_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("addAccepted");
    QTest::addColumn<bool>("visible");
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
    QFETCH(bool, addAccepted);
    QFETCH(bool, visible);
    QFETCH(bool, onTaskbar);

    TrayFixture f;
    f.backend->trayAvailable = trayAvailable;
    f.backend->addAccepted = addAccepted;
    if (visible)
        failureOf([&] { f.tray->setVisible(true); });
    QList<QString> events;
    f.tray->setOnMinimize([&](TTrayIcon *) { events << "minimised"; });
    f.tray->setOnRestore([&](TTrayIcon *) { events << "restored"; });

    f.tray->Minimize();
    QVERIFY(f.app.isMinimized());
    QVERIFY(f.window.isMinimized());
    QCOMPARE(f.onTaskbar(), onTaskbar);
    QCOMPARE(f.app.hasTaskbarEntry(), onTaskbar);

    f.tray->Restore();
    QVERIFY(!f.app.isMinimized());
    QVERIFY(f.window.isVisible() && !f.window.isMinimized());
    QCOMPARE(events, (QList<QString>{"minimised", "restored"}));
}

void TestTrayIcon::systemCommandsReachTheIconWhileVisible()
{
    TrayFixture f;
    int restored = 0;
    f.tray->setOnRestore([&](TTrayIcon *) { ++restored; });
    f.tray->setVisible(true);

    f.app.systemCommand(SC_MINIMIZE);
    QVERIFY(!f.onTaskbar());         // minimised to the tray, not just minimised
    f.app.systemCommand(SC_RESTORE); // as a second start of the program sends it
    QVERIFY(f.onTaskbar() && !f.window.isMinimized());
    QCOMPARE(restored, 1);

    f.tray->setVisible(false);
    f.app.systemCommand(SC_RESTORE);
    QCOMPARE(restored, 1);
}

void TestTrayIcon::popupAtCursorShowsTheMenuWhileThereIsOne()
{
    TrayFixture f;
    auto *menu = new QMenu;
    menu->addAction(QStringLiteral("退出"));
    f.tray->setPopupMenu(menu);
    f.tray->PopupAtCursor();
    QVERIFY(menu->isVisible());
    menu->hide();

    delete menu; // the menu went away
    QCOMPARE(f.tray->popupMenu(), nullptr);
    f.tray->PopupAtCursor();
}

void TestTrayIcon::iconLeavesTheTrayAtTheEndOfTheSessionAndOnDestruction()
{
    TrayFixture f;
    f.tray->setVisible(true);
    f.backend->endSession();
    QCOMPARE(f.requests, (QStringList{"add", "remove"}));
    f.tray->Minimize(); // the icon is gone: the program stays on the taskbar
    QVERIFY(f.onTaskbar());
    f.tray->Restore();

    f.tray.reset();
    QCOMPARE(f.requests, (QStringList{"add", "remove", "remove"}));
    f.app.systemCommand(SC_MINIMIZE); // the hook went with the icon
    QVERIFY(f.onTaskbar());
}

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
