#include "app/mainwindow.h"

#include "alert/alertsound.h"
#include "alert/alertwindow.h"
#include "app/abouttexts.h"
#include "app/agenda.h"
#include "app/agendaview.h"
#include "app/clockhands.h"
#include "core/apptitle.h"
#include "core/clock.h"
#include "core/text.h"
#include "manager/linklabel.h"
#include "manager/managerwindow.h"
#include "notice/noticeclient.h"
#include "reminders/reminders.h"
#include "store/reminderstore.h"
#include "store/snoozerecord.h"
#include "window/dialogs.h"
#include "window/edgedocker.h"
#include "window/hotarea.h"
#include "window/picture.h"
#include "window/programwindows.h"
#include "window/screen.h"
#include "window/services.h"
#include "window/shapedpicture.h"
#include "window/trayicon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWindow>

namespace {

QString skinStyleSheet()
{
    QFile skin(QStringLiteral(":/skin.ini"));
    return skin.open(QIODevice::ReadOnly) ? QString::fromUtf8(skin.readAll()) : QString();
}

QLabel *captionLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

MainWindow::MainWindow(ReminderStore &store, Reminders &reminders, ProgramWindows &programWindows, Services &services,
                       QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , m_store(store)
    , m_reminders(reminders)
    , m_programWindows(programWindows)
    , m_services(services)
    , m_dialogs(services.dialogs())
    , m_storeErrors(m_dialogs)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kApplicationTitle);
    setStyleSheet(skinStyleSheet());
    new ShapedPicture(QStringLiteral(":/assets/main.rgb32"), this);

    new ClockHands(services.clock(), {165, 143}, this); // the dial's centre on the picture

    m_agendaPanel = new QFrame(this);
    m_agendaPanel->setObjectName(QStringLiteral("agendaPanel"));
    m_agendaPanel->setGeometry(328, 88, 202, 125);
    m_agenda = new AgendaView(m_agendaPanel);
    m_agenda->setObjectName(QStringLiteral("agenda"));
    m_agenda->setAccessibleName(tr("每日提醒"));
    m_agenda->move(16, 128);
    captionLabel(this, "agendaHeading", tr("每日提醒"), {328, 64, 201, 21});
    auto *introductionLink = new LinkLabel(tr("【Orvane日程提醒V2.0简介】"), this, LinkLabel::Look::Styled);
    introductionLink->setObjectName(QStringLiteral("introductionLink"));
    introductionLink->setGeometry(328, 216, 202, 21);
    introductionLink->setAlignment(Qt::AlignCenter);
    connect(introductionLink, &LinkLabel::clicked, this, [this] { m_dialogs.messageDialog(introductionText()); });

    auto *settingsArea = new HotArea(this, {111, 230, 33, 25});
    auto *quitArea = new HotArea(this, {147, 238, 33, 25});
    auto *aboutArea = new HotArea(this, {189, 233, 33, 25});
    settingsArea->setObjectName(QStringLiteral("settingsArea"));
    quitArea->setObjectName(QStringLiteral("quitArea"));
    aboutArea->setObjectName(QStringLiteral("aboutArea"));
    settingsArea->setAccessibleName(tr("设置"));
    settingsArea->setAccessibleDescription(tr("添加、修改、删除和浏览提醒"));
    quitArea->setAccessibleName(tr("退出"));
    aboutArea->setAccessibleName(tr("关于"));
    connect(settingsArea, &HotArea::clicked, this, &MainWindow::openManager);
    connect(quitArea, &HotArea::clicked, qApp, &QCoreApplication::quit);
    connect(aboutArea, &HotArea::clicked, this, [this] { m_dialogs.messageDialog(aboutText()); });

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mainMenu"));
    QAction *hideShowAction = m_menu->addAction(tr("隐藏/显示"));
    m_autostartAction = m_menu->addAction(tr("登录时自动启动"));
    m_autostartAction->setCheckable(true);
    QAction *syncSetupAction = m_menu->addAction(tr("同步设置…"));
    QAction *quitAction = m_menu->addAction(tr("退出"));
    // The check mark tells whether the login entry is there, however it got there or went.
    connect(m_menu, &QMenu::aboutToShow, this, [this] { m_autostartAction->setChecked(m_autostart.isEnabled()); });
    connect(m_autostartAction, &QAction::triggered, this, [this](bool checked) {
        guarded(m_dialogs, [&] { m_autostart.setEnabled(checked); });
        m_autostartAction->setChecked(m_autostart.isEnabled());
    });
    connect(hideShowAction, &QAction::triggered, this, &MainWindow::toggleHidden);
    connect(syncSetupAction, &QAction::triggered, this, &MainWindow::syncSetupRequested);
    connect(quitAction, &QAction::triggered, qApp, &QCoreApplication::quit);

    auto *docker = new EdgeDocker(this, services.screen());
    docker->setVisibleStrip(40);
    docker->setSnapDistance(30);

    auto *scrollTimer = new QTimer(this);
    scrollTimer->setObjectName(QStringLiteral("scrollTimer"));
    connect(scrollTimer, &QTimer::timeout, this, &MainWindow::scrollAgenda);
    scrollTimer->start(100);
    connect(&m_storeErrors, &LoneErrorBox::closed, this, &MainWindow::forgetOwnWindowActivity);
    connect(&m_reminders, &Reminders::showAlert, this, &MainWindow::showAlert);
    connect(&m_reminders, &Reminders::alertWithdrawn, this, [this] {
        if (m_alert)
            m_alert->reject();
    });
    connect(&m_reminders, &Reminders::agendaChanged, this, &MainWindow::showAgenda);
    connect(&m_reminders, &Reminders::storeFailed, this, &MainWindow::reportStoreFailure);
    // The notification's action brings the alert forward, from the tray too, as a second start does.
    connect(&m_reminders, &Reminders::alertRequested, &m_programWindows, &ProgramWindows::requestRestore);

    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainWindow::noteActiveWindow);
}

MainWindow::~MainWindow() = default;

// The beetles turn once a second; a right click opens the menu, a left click hides or shows the program.
void MainWindow::createTrayIcon()
{
    if (m_trayIcon)
        return;
    m_trayIcon = new TrayIcon(m_programWindows, m_services.screen(), m_services.makeTrayBackend(), this);
    m_trayIcon->setContextMenu(m_menu);
    m_trayIcon->setAnimationFrames({loadIcon(QStringLiteral(":/assets/beetle-green.png")),
                                    loadIcon(QStringLiteral(":/assets/beetle-red.png")),
                                    loadIcon(QStringLiteral(":/assets/beetle-yellow.png"))});
    connect(m_trayIcon, &TrayIcon::clicked, this, &MainWindow::trayClicked);
    updateTrayToolTip();
    guarded(m_dialogs, [this] { m_trayIcon->show(); });
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    placeAtTopRight();
    // The tray icon, with its pictures and the backend that asks the desktop for its tray (a D-Bus round
    // trip), is made once the window is on its way to the screen, so as not to delay it.
    QMetaObject::invokeMethod(this, &MainWindow::createTrayIcon, Qt::QueuedConnection);
    // The first agenda is built once the window is on screen, whatever the window manager does with the
    // focus, so that an error box of the refresh does not hold the window back.
    QMetaObject::invokeMethod(this, &MainWindow::showAgenda, Qt::QueuedConnection);
}

void MainWindow::placeAtTopRight()
{
    const QRect workArea = m_services.screen().workArea();
    move(workArea.x() + workArea.width() - width(), m_services.screen().geometry().top());
}

void MainWindow::noteActiveWindow(QWindow *window)
{
    // A box that start-up shows before this window is a first showing, not a window to come back from.
    if (!window || !m_shown)
        return;
    if (window != windowHandle()) {
        m_ownWindowWasActive = true;
        return;
    }
    if (std::exchange(m_ownWindowWasActive, false))
        showAgenda();
}

void MainWindow::showAgenda()
{
    if (!m_storeErrors.run([this] { refreshAgenda(); }))
        forgetOwnWindowActivity();
}

void MainWindow::forgetOwnWindowActivity()
{
    // Coming back from the store's box would only ask the store again, and show the same box again and again.
    m_ownWindowWasActive = false;
}

void MainWindow::openStore()
{
    if (!m_storeErrors.runWaiting([this] { m_store.open(); }))
        forgetOwnWindowActivity();
}

void MainWindow::refreshAgenda()
{
    const QDate today = m_services.clock().now().date();
    m_today = m_store.onDay(today) + snoozedEntries(SnoozeRecord(m_store).onDay(today));
    m_agenda->setText(withLineFeeds(agendaText(m_today)));
    updateTrayToolTip();
}

// The day's next reminder, or the program's title when none is left; again after each alert, whose
// reminder is then past.
void MainWindow::updateTrayToolTip()
{
    if (!m_trayIcon)
        return;
    const QString next = nextReminderText(m_today, m_services.clock().now().time());
    m_trayIcon->setToolTip(next.isEmpty() ? kApplicationTitle : next);
}

void MainWindow::scrollAgenda()
{
    m_agenda->move(m_agenda->x(), marqueeStep(m_agenda->y(), m_agenda->height(), m_agendaPanel->height()));
}

void MainWindow::reportStoreFailure(const QString &message)
{
    m_storeErrors.report(message);
    forgetOwnWindowActivity();
}

void MainWindow::showAlert(const Reminder &reminder)
{
    makeAlertWindow();
    m_alert->showReminder(reminder);
    updateTrayToolTip();
}

void MainWindow::makeAlertWindow()
{
    if (m_alert)
        return;
    m_alert = std::make_unique<AlertWindow>(m_services.screen(), m_services.makeAlertSound());
    connect(m_alert.get(), &AlertWindow::minimizeProgramRequested, &m_programWindows, &ProgramWindows::minimize);
    connect(m_alert.get(), &AlertWindow::snoozeRequested, &m_reminders, &Reminders::snooze);
    connect(m_alert.get(), &QDialog::finished, &m_reminders, &Reminders::alertClosed, Qt::QueuedConnection);
}

// A fresh manager window for every opening; it goes when it closes.
void MainWindow::openManager()
{
    guarded(m_dialogs, [this] {
        auto *manager = new ManagerWindow(
            m_store, m_services,
            [this] {
                emit remindersEdited();
                refreshAgenda();
            },
            this);
        manager->setAttribute(Qt::WA_DeleteOnClose);
        manager->open(); // modal to the main window; an alert that falls due meanwhile opens above it
    });
}

// From the menu the program comes back where it was; from the tray icon, at the top right.
void MainWindow::toggleHidden()
{
    createTrayIcon(); // the menu may come before the event loop has made the icon
    if (m_programWindows.isMinimized())
        m_trayIcon->restore();
    else
        m_trayIcon->minimizeToTray();
}

void MainWindow::trayClicked()
{
    if (m_programWindows.isMinimized()) {
        m_trayIcon->restore();
        placeAtTopRight();
    } else {
        m_trayIcon->minimizeToTray();
    }
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
}

// The menu key and Shift+F10 open the menu over the window, as the keyboard has no pointer place.
void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        event->accept();
        m_menu->popup(mapToGlobal(rect().center()));
        return;
    }
    QWidget::keyPressEvent(event);
}

// The main window ends the program, also when the window system closes it.
void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}
