// The main window's wiring: its place, its hot areas and link, the tray icon, the agenda's refresh when the
// window becomes active again, the watch raising the alert, and open windows surviving the tray.

#include "alert/alertwindow.h"
#include "app/abouttexts.h"
#include "app/agendaview.h"
#include "app/mainwindow.h"
#include "core/apptitle.h"
#include "manager/linklabel.h"
#include "manager/managerwindow.h"
#include "reminders/reminders.h"
#include "store/reminderstore.h"
#include "tests/support/fakeservices.h"
#include "tests/support/tempdatabase.h"
#include "window/hotarea.h"
#include "window/programwindows.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>

namespace {

void click(QWidget *widget)
{
    QVERIFY(widget);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// A fixture: a starter store, fake services, the program's windows, the main window shown.
struct Program
{
    enum Store { StoreThere, StoreMissing };

    explicit Program(Store there = StoreThere)
        : store(db.path())
        , reminders(store, services.clock(), services.makeNotifier())
        , programWindows(services.dialogs())
        , window(store, reminders, programWindows, services)
    {
        if (there == StoreMissing)
            QFile::remove(db.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(services.trayBackend); // made once the event loop runs
    }

    AgendaView *agenda() const { return window.findChild<AgendaView *>(QStringLiteral("agenda")); }
    HotArea *area(const char *name) const { return window.findChild<HotArea *>(QLatin1String(name)); }
    QAction *menuAction(const QString &text) const
    {
        for (QAction *action : window.findChild<QMenu *>(QStringLiteral("mainMenu"))->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    // A tick of the watch's timer, waited for until its look ended.
    void tick()
    {
        QSignalSpy looked(&reminders, &Reminders::looked);
        QMetaObject::invokeMethod(reminders.findChild<QTimer *>(QStringLiteral("watchTimer")), "timeout");
        QVERIFY(looked.wait(15000));
    }

    TempDatabase db;
    FakeServices services;
    ReminderStore store;
    Reminders reminders;
    ProgramWindows programWindows;
    MainWindow window;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void placedAtTheTopRightOfThePrimaryScreen_data();
    void placedAtTheTopRightOfThePrimaryScreen();
    void hotAreasAndLink();
    void screenReadersSeeTheButtonsAndTheAgenda();
    void menuOpensFromTheKeyboard_data();
    void menuOpensFromTheKeyboard();
    void settingsOpensAFreshManagerEachTime();
    void managerChangesAskForASync();
    void trayIconHidesAndShows();
    void agendaRefreshedOnReturnFromOwnWindow();
    void remindersDueTogetherAlertInTurn();
    void trayToolTipTellsTheNextReminder();
    void agendaFollowsTheDayAndOtherPrograms();
    void storeFailuresStandInOneBoxAtATime();
    void lockedStoreLeavesTheWatchTicking();
    void openWindowsSurviveTheTray();
    void dialTellsTheTime();
    void startAtLoginFromTheMenu();
    void syncSetupFromTheMenus();
    void dueReminderIsAlsoNotified();
    void putOffItShowsInTheAgendaAtItsNewTime();

private:
    QTemporaryDir m_config; // where the login entry goes
};

void TestMainWindow::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestMainWindow::placedAtTheTopRightOfThePrimaryScreen_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("bar at the bottom") << QRect(0, 0, 1280, 800) << QRect(0, 0, 1280, 770) << QPoint(680, 0);
    QTest::newRow("bar at the right") << QRect(0, 0, 1280, 800) << QRect(0, 0, 1200, 800) << QPoint(600, 0);
    QTest::newRow("bar at the top: the window covers it")
        << QRect(0, 0, 1280, 800) << QRect(0, 30, 1280, 770) << QPoint(680, 0);
    QTest::newRow("primary to the right of another")
        << QRect(1920, 0, 1280, 800) << QRect(1920, 0, 1280, 770) << QPoint(2600, 0);
    QTest::newRow("primary below another")
        << QRect(0, 1080, 1280, 800) << QRect(0, 1080, 1280, 770) << QPoint(680, 1080);
}

void TestMainWindow::placedAtTheTopRightOfThePrimaryScreen()
{
    QFETCH(QRect, geometry);
    QFETCH(QRect, workArea);
    QFETCH(QPoint, expected);
    TempDatabase db;
    FakeServices services;
    services.fakeScreen.screenGeometry = geometry;
    services.fakeScreen.screenWorkArea = workArea;
    ReminderStore store(db.path());
    Reminders reminders(store, services.clock(), services.makeNotifier());
    ProgramWindows programWindows(services.dialogs());
    MainWindow window(store, reminders, programWindows, services);
    window.show();
    QCOMPARE(window.pos(), expected);
    QCOMPARE(window.size(), QSize(600, 300));
}

void TestMainWindow::hotAreasAndLink()
{
    Program program;
    QStringList &shown = program.services.recordingDialogs.shown;
    click(program.area("aboutArea"));
    QCOMPARE(shown, QStringList{QStringLiteral("message||") + aboutText()});
    auto *link = program.window.findChild<LinkLabel *>(QStringLiteral("introductionLink"));
    click(link);
    QCOMPARE(shown.last(), QStringLiteral("message||") + introductionText());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

    // The skin gives the link its colour, and another under the pointer, underlined.
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0xff, 0xd4, 0x79));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), link->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(link, &enter);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(link->font().underline());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0xff, 0xd4, 0x79));
    QVERIFY(!link->font().underline());

    // A screen reader sees a link and follows it; Tab reaches it and Enter follows it.
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(link);
    QCOMPARE(accessible->role(), QAccessible::Link);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("【Orvane日程提醒V2.0简介】"));
    shown.clear();
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(shown, QStringList{QStringLiteral("message||") + introductionText()});
    QVERIFY(link->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(link, Qt::Key_Return);
    QCOMPARE(shown.size(), 2);
}

// The dial's painted buttons are buttons named by their captions, pressed as a screen reader presses them;
// the agenda's painted lines are there as text.
void TestMainWindow::screenReadersSeeTheButtonsAndTheAgenda()
{
    Program program;
    QStringList seen;
    for (const char *name : {"settingsArea", "quitArea", "aboutArea"}) {
        QAccessibleInterface *area = QAccessible::queryAccessibleInterface(program.area(name));
        QCOMPARE(area->role(), QAccessible::Button);
        seen << area->text(QAccessible::Name);
    }
    QCOMPARE(seen, (QStringList{"设置", "退出", "关于"}));
    // The press returns before the box it opens, which waits for the user, so the screen reader is not
    // kept waiting for its answer.
    QAccessible::queryAccessibleInterface(program.area("aboutArea"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(program.services.recordingDialogs.shown, QStringList());
    QTRY_COMPARE(program.services.recordingDialogs.shown, QStringList{QStringLiteral("message||") + aboutText()});

    program.agenda()->setText(QStringLiteral("08:30:00  早会\n09:00:00  午餐"));
    QAccessibleInterface *agenda = QAccessible::queryAccessibleInterface(program.agenda());
    QCOMPARE(agenda->text(QAccessible::Name), QStringLiteral("每日提醒"));
    QCOMPARE(agenda->text(QAccessible::Description), QStringLiteral("08:30:00  早会\n09:00:00  午餐"));
}

void TestMainWindow::menuOpensFromTheKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void TestMainWindow::menuOpensFromTheKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Program program;
    auto *menu = program.window.findChild<QMenu *>(QStringLiteral("mainMenu"));
    QTest::keyClick(&program.window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

void TestMainWindow::settingsOpensAFreshManagerEachTime()
{
    Program program;
    click(program.area("settingsArea"));
    QPointer<ManagerWindow> first = program.window.findChild<ManagerWindow *>();
    QVERIFY(first && first->isVisible() && first->isModal());
    first->close();
    QTRY_VERIFY(!first); // it goes when it closes
    click(program.area("settingsArea"));
    auto *second = program.window.findChild<ManagerWindow *>();
    QVERIFY(second && second->isVisible());
    second->close();
}

// What the background sync follows: each change made in the manager, and nothing else it does.
void TestMainWindow::managerChangesAskForASync()
{
    Program program;
    QSignalSpy edited(&program.window, &MainWindow::remindersEdited);
    click(program.area("settingsArea"));
    auto *manager = program.window.findChild<ManagerWindow *>();
    QVERIFY(manager);
    auto *page = manager->findChild<QWidget *>(QStringLiteral("addPage"));
    QVERIFY(page);
    auto *add = page->findChild<QPushButton *>(QStringLiteral("addButton"));
    add->click(); // refused: nothing filled in
    QCOMPARE(edited.count(), 0);
    page->findChild<QLineEdit *>(QStringLiteral("subjectEdit"))->setText(QStringLiteral("周会"));
    page->findChild<QPlainTextEdit *>(QStringLiteral("contentEdit"))->setPlainText(QStringLiteral("三楼"));
    page->findChild<QTimeEdit *>()->setTime(QTime(9, 30));
    add->click();
    QCOMPARE(edited.count(), 1);
    QCOMPARE(program.db.sql(QStringLiteral("select count(*) from 日程提醒")).trimmed(), QStringLiteral("1"));
}

void TestMainWindow::trayIconHidesAndShows()
{
    Program program;
    RecordingTrayBackend &tray = *program.services.trayBackend;
    QVERIFY(program.services.trayJournal.contains(QStringLiteral("show")));

    // The tray icon's click hides the program and brings it back at the top right.
    const QPoint topRight = program.window.pos();
    program.window.move(100, 100);
    tray.activate(QSystemTrayIcon::Trigger);
    QVERIFY(program.programWindows.isMinimized());
    QVERIFY(!program.programWindows.hasTaskbarEntry());
    tray.activate(QSystemTrayIcon::Trigger);
    QVERIFY(!program.programWindows.isMinimized());
    QTRY_VERIFY(program.window.isVisible());
    QCOMPARE(program.window.pos(), topRight);

    // The menu's 隐藏/显示 brings it back where it was.
    program.window.move(100, 100);
    QAction *hideShow = program.menuAction(QStringLiteral("隐藏/显示"));
    hideShow->trigger();
    QVERIFY(program.programWindows.isMinimized());
    hideShow->trigger();
    QTRY_VERIFY(program.window.isVisible());
    QCOMPARE(program.window.pos(), QPoint(100, 100));
}

void TestMainWindow::agendaRefreshedOnReturnFromOwnWindow()
{
    Program program;
    QTRY_COMPARE(program.agenda()->text(), QString()); // the first refresh has run
    program.db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values('早会','', '2026-03-04 08:30:00','2026-03-04')"));

    QCOMPARE(program.agenda()->text(), QString()); // nothing asks for the agenda meanwhile

    // Coming back from one of the program's own windows rebuilds it.
    QWidget other;
    other.setWindowTitle(QStringLiteral("another window of the program"));
    other.show();
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    other.hide();
    program.window.activateWindow();
    QTRY_COMPARE(program.agenda()->text(), QStringLiteral("08:30:00  早会\n\n"));
}

void TestMainWindow::trayToolTipTellsTheNextReminder()
{
    Program program;
    RecordingTrayBackend &tray = *program.services.trayBackend;
    QTRY_COMPARE(tray.toolTip, kApplicationTitle); // no reminder today

    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 0)));
    program.db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values"
                                  "('午会','c','2026-03-04 11:00:00','2026-03-04'),"
                                  "('会议','c','2026-03-04 09:30:00','2026-03-04'),"
                                  "('昨天','c','2026-03-03 10:00:00','2026-03-03')"));
    program.tick(); // the store changed: the agenda is read again
    QTRY_COMPARE(tray.toolTip, QStringLiteral("09:30:00  会议"));

    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 30, 5)));
    program.tick();
    AlertWindow *alert = nullptr;
    QTRY_VERIFY(alert = qobject_cast<AlertWindow *>(QApplication::activeModalWidget()));
    QCOMPARE(tray.toolTip, QStringLiteral("11:00:00  午会"));
    alert->reject();
}

void TestMainWindow::remindersDueTogetherAlertInTurn()
{
    Program program;
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 30, 5)));
    program.db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values"
                                  "('第二','c','2026-03-04 09:31:00','2026-03-04'),"
                                  "('第一甲','c','2026-03-04 09:30:00','2026-03-04'),"
                                  "('第一乙','c','2026-03-04 09:30:00','2026-03-04')"));
    program.tick();
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 31, 5)));
    program.tick(); // falls due while the first alert is open
    QStringList shown;
    for (int alert = 0; alert < 3; ++alert) {
        AlertWindow *window = nullptr;
        QTRY_VERIFY(window = qobject_cast<AlertWindow *>(QApplication::activeModalWidget()));
        shown << window->findChild<QLineEdit *>(QStringLiteral("subjectField"))->text();
        QTRY_COMPARE(program.services.played.size(), alert + 1);
        program.tick(); // a later look raises none of them again
        window->reject();
    }
    QCOMPARE(shown, (QStringList{QStringLiteral("第一甲"), QStringLiteral("第一乙"), QStringLiteral("第二")}));
    QTest::qWait(100);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainWindow::agendaFollowsTheDayAndOtherPrograms()
{
    Program program;
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(23, 59, 45)));
    QTRY_COMPARE(program.agenda()->text(), QString());
    program.db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values"
                                  "('今天','', '2026-03-04 21:00:00','2026-03-04'),"
                                  "('明天','', '2026-03-05 08:00:00','2026-03-05')"));
    program.tick(); // another program wrote the store: the next look shows it
    QCOMPARE(program.agenda()->text(), QStringLiteral("21:00:00  今天\n\n"));
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 5), QTime(0, 0, 15)));
    program.tick(); // midnight passed
    QCOMPARE(program.agenda()->text(), QStringLiteral("08:00:00  明天\n\n"));
}

void TestMainWindow::storeFailuresStandInOneBoxAtATime()
{
    Program program(Program::StoreMissing);
    RecordingDialogs &dialogs = program.services.recordingDialogs;
    QTRY_COMPARE(dialogs.shown.size(), 1); // the first agenda could not be read
    // While the box stands, the ticks that fail show no box of their own.
    for (int tick = 0; tick < 5; ++tick)
        program.tick();
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.standingBoxes().size(), 1);
    dialogs.standingBoxes().first()->accept();
    program.tick(); // closed, and the store still fails: the next tick reports again
    QCOMPARE(dialogs.shown.size(), 2);
    QVERIFY(dialogs.shown.last().contains(QStringLiteral("找不到数据库文件")));
}

// Another program holds the store locked: the box that says so does not keep a reminder that falls due
// once the lock is gone from alerting in its minute.
void TestMainWindow::lockedStoreLeavesTheWatchTicking()
{
    Program program;
    RecordingDialogs &dialogs = program.services.recordingDialogs;
    QTRY_COMPARE(program.agenda()->text(), QString()); // the first agenda was read
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 30, 5)));
    program.db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values('锁后','c','2026-03-04 09:31:00','2026-03-04')"));
    QProcess holder;
    holder.start(QStringLiteral("sqlite3"), {program.db.path()});
    holder.write("BEGIN EXCLUSIVE;\nselect 'locked';\n");
    QVERIFY(holder.waitForReadyRead(10000));
    program.tick(); // waits out SQLite's busy time, then fails
    QCOMPARE(dialogs.standingBoxes().size(), 1);
    QVERIFY(dialogs.shown.last().contains(QStringLiteral("locked")));
    holder.write("COMMIT;\n");
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(10000));
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 31, 5)));
    program.tick();
    AlertWindow *alert = nullptr;
    QTRY_VERIFY(alert = qobject_cast<AlertWindow *>(QApplication::activeModalWidget()));
    QCOMPARE(alert->findChild<QLineEdit *>(QStringLiteral("subjectField"))->text(), QStringLiteral("锁后"));
    QCOMPARE(dialogs.standingBoxes().size(), 1); // the box still stands
    alert->reject();
}

void TestMainWindow::openWindowsSurviveTheTray()
{
    Program program;
    QAction *hideShow = program.menuAction(QStringLiteral("隐藏/显示"));

    click(program.area("settingsArea"));
    auto *manager = program.window.findChild<ManagerWindow *>();
    QVERIFY(manager);
    auto *subject = manager->findChild<QLineEdit *>(QStringLiteral("subjectEdit"));
    QVERIFY(subject);
    subject->setText(QStringLiteral("typed before the tray"));
    hideShow->trigger();
    QVERIFY(!manager->isVisible());
    hideShow->trigger();
    QTRY_VERIFY(manager->isVisible());
    QCOMPARE(subject->text(), QStringLiteral("typed before the tray"));
    QVERIFY(manager->isModal());

    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 30, 5)));
    program.db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values('会议','c','2026-03-04 09:30:00','2026-03-04')"));
    program.tick();
    AlertWindow *alert = nullptr;
    QTRY_VERIFY(alert = qobject_cast<AlertWindow *>(QApplication::activeModalWidget()));
    QTRY_COMPARE(program.services.played.size(), 1);
    hideShow->trigger();
    QVERIFY(!alert->isVisible());
    QVERIFY(alert->isOpen());
    program.tick(); // still open, only minimised: no second alert
    hideShow->trigger();
    QTRY_VERIFY(alert->isVisible());
    QCOMPARE(alert->findChild<QLineEdit *>(QStringLiteral("subjectField"))->text(), QStringLiteral("会议"));
    QTest::qWait(600); // a shake's time: it does not sound again
    QCOMPARE(program.services.played.size(), 1);
    alert->reject();
    manager->close();
}

void TestMainWindow::dialTellsTheTime()
{
    Program program;
    const QPoint centre(165, 143);
    const auto colourAt = [&](int dx, int dy) {
        return program.window.grab().toImage().pixelColor(centre + QPoint(dx, dy));
    };
    const auto isWhite = [](const QColor &c) { return c.red() > 220 && c.green() > 220 && c.blue() > 220; };
    // The thin second hand is blended with the blue face at its edges: orange enough is red well above blue.
    const auto isOrange = [](const QColor &c) { return c.red() > 160 && c.red() > c.blue() + 80; };

    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(3, 0, 30)));
    QTest::qWait(1100);                 // the next second's tick
    QVERIFY(isWhite(colourAt(35, 0)));  // the hour hand points at three
    QVERIFY(isWhite(colourAt(3, -60))); // the minute hand just past twelve
    QVERIFY(isOrange(colourAt(0, 70))); // the second hand at half past
    QVERIFY(!isWhite(colourAt(-35, 0)) && !isOrange(colourAt(-70, 0)));

    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(3, 0, 45)));
    QTRY_VERIFY_WITH_TIMEOUT(isOrange(colourAt(-70, 0)), 1500); // it moves on with the clock
    QVERIFY(!isOrange(colourAt(0, 70)));
}

void TestMainWindow::startAtLoginFromTheMenu()
{
    Program program;
    auto *menu = program.window.findChild<QMenu *>(QStringLiteral("mainMenu"));
    QStringList items;
    for (QAction *action : menu->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{QStringLiteral("隐藏/显示"), QStringLiteral("登录时自动启动"),
                                 QStringLiteral("同步设置…"), QStringLiteral("退出")}));
    QAction *atLogin = program.menuAction(QStringLiteral("登录时自动启动"));
    QVERIFY(atLogin->isCheckable());
    const QString entry = m_config.filePath(QStringLiteral("autostart/orvane-reminder.desktop"));
    atLogin->trigger();
    QVERIFY(QFile::exists(entry));
    QVERIFY(atLogin->isChecked());
    atLogin->trigger();
    QVERIFY(!QFile::exists(entry));
    QVERIFY(!atLogin->isChecked());
    // The mark follows the file, whoever wrote it, each time the menu opens.
    QDir().mkpath(m_config.filePath(QStringLiteral("autostart")));
    QFile written(entry);
    QVERIFY(written.open(QIODevice::WriteOnly));
    written.write("[Desktop Entry]\nType=Application\nName=Orvane\nExec=orvane-reminder\n");
    written.close();
    emit menu->aboutToShow();
    QVERIFY(atLogin->isChecked());
    QFile::remove(entry);
}

// The tray's menu is the main window's.
void TestMainWindow::syncSetupFromTheMenus()
{
    Program program;
    QCOMPARE(program.services.trayBackend->menu, program.window.findChild<QMenu *>(QStringLiteral("mainMenu")));
    QSignalSpy asked(&program.window, &MainWindow::syncSetupRequested);
    program.menuAction(QStringLiteral("同步设置…"))->trigger();
    QCOMPARE(asked.size(), 1);
}

void TestMainWindow::dueReminderIsAlsoNotified()
{
    Program program;
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 30, 5)));
    program.db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values('会议','c','2026-03-04 09:30:00','2026-03-04')"));
    program.tick();
    QCOMPARE(program.services.notified.size(), 1);
    QCOMPARE(program.services.notified.first().subject, QStringLiteral("会议"));
    program.menuAction(QStringLiteral("隐藏/显示"))->trigger(); // the program goes to the tray
    QVERIFY(program.programWindows.isMinimized());
    program.services.notifier->activate(); // the user picks the notification
    QVERIFY(!program.programWindows.isMinimized());
    auto *alert = qobject_cast<AlertWindow *>(QApplication::activeModalWidget());
    QTRY_VERIFY(alert = qobject_cast<AlertWindow *>(QApplication::activeModalWidget()));
    QVERIFY(alert->isVisible());
    alert->reject();
}

void TestMainWindow::putOffItShowsInTheAgendaAtItsNewTime()
{
    Program program;
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 30, 5)));
    program.db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values"
                                  "('会议','c','2026-03-04 09:30:00','2026-03-04'),"
                                  "('电话','c','2026-03-04 09:30:00','2026-03-04')"));
    program.tick();
    AlertWindow *alert = nullptr;
    QTRY_VERIFY(alert = qobject_cast<AlertWindow *>(QApplication::activeModalWidget()));
    for (QAction *choice : alert->findChild<QMenu *>(QStringLiteral("snoozeMenu"))->actions()) {
        if (choice->text() == QStringLiteral("30 分钟"))
            choice->trigger();
    }
    QVERIFY(!alert->isVisible());
    QTRY_VERIFY(alert->isVisible());                                        // the next one, 电话
    program.services.notifier->snooze(program.services.notified.at(1), 10); // from its notification
    QTRY_VERIFY(!alert->isVisible());
    QCOMPARE(program.agenda()->text(), QStringLiteral("09:30:00  会议\n\n09:30:00  电话\n\n09:40:05  电话（稍后）\n\n"
                                                      "10:00:05  会议（稍后）\n\n"));
    program.services.fakeClock.setNow(QDateTime(QDate(2026, 3, 4), QTime(9, 40, 10)));
    program.tick(); // it comes again and leaves the agenda's later entries
    QTRY_VERIFY(alert->isVisible());
    QCOMPARE(alert->findChild<QLineEdit *>(QStringLiteral("subjectField"))->text(), QStringLiteral("电话"));
    QCOMPARE(program.agenda()->text(),
             QStringLiteral("09:30:00  会议\n\n09:30:00  电话\n\n10:00:05  会议（稍后）\n\n"));
    alert->reject();
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
