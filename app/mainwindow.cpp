#include "app/mainwindow.h"

#include "alert/alertwindow.h"
#include "app/agenda.h"
#include "app/notices.h"
#include "app/reminderwatch.h"
#include "core/apptitle.h"
#include "core/text.h"
#include "manager/managerwindow.h"
#include "store/datamodule.h"
#include "window/appwindow.h"
#include "window/bmpshape.h"
#include "window/dialogs.h"
#include "window/hotarea.h"
#include "window/picture.h"
#include "window/screeninfo.h"
#include "window/trayicon.h"
#include "window/windowdrag.h"
#include "window/znhideform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace {

QString skinStyleSheet()
{
    QFile skin(QStringLiteral(":/skin.ini"));
    return skin.open(QIODevice::ReadOnly) ? QString::fromUtf8(skin.readAll()) : QString();
}

QLabel *skinLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TForm1::TForm1(Tdm &dm, Dialogs &dialogs, const Clock &clock, AppWindow &appWindow, const ScreenInfo &screen,
               std::function<std::unique_ptr<TrayBackend>()> makeTrayBackend, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , m_dm(dm)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_appWindow(appWindow)
    , m_screen(screen)
{
    setWindowTitle(kApplicationTitle);
    setStyleSheet(skinStyleSheet());

    BmpShape1 = new TBmpShape(loadPicture(QStringLiteral(":/assets/main.rgb32")), this);
    BmpShape1->setDither(false);
    m_drag = new WindowDrag(this);
    connect(BmpShape1, &TBmpShape::mouseMoved, this, [this](ShiftState shift) {
        if (shift.testFlag(ssLeft))
            m_drag->start(QCursor::pos());
    });

    SkinPanel1 = new QFrame(this);
    SkinPanel1->setObjectName(QStringLiteral("SkinPanel1"));
    SkinPanel1->setGeometry(328, 88, 202, 125);

    SkinPopupMenu1 = new QMenu(this);
    SkinPopupMenu1->setObjectName(QStringLiteral("SkinPopupMenu1"));
    qew1 = SkinPopupMenu1->addAction(QStringLiteral("隐藏/显示"));
    wqe1 = SkinPopupMenu1->addAction(QStringLiteral("退出"));
    connect(qew1, &QAction::triggered, this, [this] { guarded(m_dialogs, [this] { qew1Click(); }); });
    connect(wqe1, &QAction::triggered, this, [this] { guarded(m_dialogs, [this] { wqe1Click(); }); });

    // The tray icon, with its pictures and the backend that asks the desktop for its tray (a D-Bus round
    // trip), is made once the event loop runs, just after the window is on screen, so as not to delay it.
    m_makeTrayBackend = std::move(makeTrayBackend);
    QMetaObject::invokeMethod(
        this, [this] { createTrayIcon(); }, Qt::QueuedConnection);

    ZnHideForm1 = new TZnHideForm(this, m_screen);
    ZnHideForm1->setAutoDock(true);
    ZnHideForm1->setAlwaysTop(false);
    ZnHideForm1->setEdgeSpace(40);
    ZnHideForm1->setValidSpace(30);

    SkinLabel1 = skinLabel(this, "SkinLabel1", QStringLiteral("每日提醒"), {328, 64, 201, 21});

    // Both timers are queued: the watch shows the alert modally from its tick, and Qt does not fire a
    // timer again while its own event is being handled; the watch must keep ticking under the alert.
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer, Qt::QueuedConnection);

    Label1 = new QLabel(SkinPanel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 128, 3, 13);

    Image1 = new HotArea(this, {111, 230, 33, 25});
    Image2 = new HotArea(this, {147, 238, 33, 25});
    Image3 = new HotArea(this, {189, 233, 33, 25});
    connect(Image1, &HotArea::clicked, this, [this] { guarded(m_dialogs, [this] { Image1Click(); }); });
    connect(Image2, &HotArea::clicked, this, [this] { guarded(m_dialogs, [this] { Image2Click(); }); });
    connect(Image3, &HotArea::clicked, this, [this] { guarded(m_dialogs, [this] { Image3Click(); }); });

    Timer2 = new QTimer(this);
    Timer2->setInterval(30000);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer, Qt::QueuedConnection);

    Button1 = new QPushButton(QStringLiteral("Button1"), this);
    Button1->setGeometry(8, 264, 75, 25);
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, [this] { guarded(m_dialogs, [this] { Button1Click(); }); });

    SkinLabel2 = skinLabel(this, "SkinLabel2", QStringLiteral("【Orvane日程提醒V2.0简介】"), {328, 216, 202, 21});
    SkinLabel2->setCursor(Qt::PointingHandCursor);
    SkinLabel2->installEventFilter(this);

    m_watch = std::make_unique<ReminderWatch>(
        m_dm.qry4, m_clock, [this] { return m_alert && m_alert->isVisible(); }, [this] { showAlert(); });

    FormCreate();
    Timer1->start();
    Timer2->start();
    watchActivation();
}

TForm1::~TForm1() = default;

// The tray icon with the main window's settings, applied in their stored order: the beetles turn once
// a second, a right-button release opens the menu, a left-button release runs TrayIcon1Click. Made once.
void TForm1::createTrayIcon()
{
    if (TrayIcon1)
        return;
    iglIcons = {loadIcon(QStringLiteral(":/assets/beetle-green.png")),
                loadIcon(QStringLiteral(":/assets/beetle-red.png")),
                loadIcon(QStringLiteral(":/assets/beetle-yellow.png"))};
    TrayIcon1 = new TTrayIcon(m_appWindow, m_makeTrayBackend(), this);
    guarded(m_dialogs, [this] { TrayIcon1->setVisible(true); });
    TrayIcon1->setPopupMenu(SkinPopupMenu1);
    TrayIcon1->setHide(true);
    TrayIcon1->setRestoreOn(imNone);
    TrayIcon1->setPopupMenuOn(imRightClickUp);
    TrayIcon1->setIcons(iglIcons);
    TrayIcon1->setIconIndex(0);
    TrayIcon1->setAnimate(true);
    TrayIcon1->setOnClick([this](TTrayIcon *) { guarded(m_dialogs, [this] { TrayIcon1Click(); }); });
    TrayIcon1->loaded();
}

void TForm1::FormCreate()
{
    BmpShape1->ShapeForm();
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    FormShow();
    // The first showing builds the agenda, whatever the window manager does with focus; once the window
    // is on screen, so that an error box of the refresh does not hold the window back.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm1::FormShow()
{
    placeAtTopRight();
}

void TForm1::placeAtTopRight()
{
    const QRect workArea = m_screen.workArea();
    move(workArea.x() + workArea.width() - width(), 0);
}

// The agenda is rebuilt when the main window takes the focus back from another window of the program
// (the manager, the alert, a message box), not when the user comes back from another program.
void TForm1::watchActivation()
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (!now || now->window() != this || !old || old->window() == this)
            return;
        FormActivate();
    });
}

void TForm1::FormActivate()
{
    Button1->click();
}

void TForm1::Button1Click()
{
    const QString text = buildAgendaText(m_dm.qry5, m_clock);
    Label1->setText(withLineFeeds(text));
    Label1->adjustSize();
}

void TForm1::Timer1Timer()
{
    Label1->move(Label1->x(), marqueeStep(Label1->y(), Label1->height(), SkinPanel1->height()));
}

void TForm1::Timer2Timer()
{
    guarded(m_dialogs, [this] { m_watch->tick(); });
}

void TForm1::showAlert()
{
    if (!m_alert)
        m_alert = std::make_unique<TForm3>(m_dm, m_dialogs, [this] { m_appWindow.minimize(); });
    m_alert->exec();
}

void TForm1::Image1Click()
{
    TForm2 manager(m_dm, m_dialogs, m_clock, [this] { Button1Click(); });
    manager.exec();
}

void TForm1::Image2Click()
{
    QCoreApplication::quit();
}

void TForm1::wqe1Click()
{
    QCoreApplication::quit();
}

void TForm1::Image3Click()
{
    m_dialogs.messageDialog(versionNotice());
}

void TForm1::SkinLabel2Click()
{
    m_dialogs.messageDialog(featureNotice());
}

void TForm1::qew1Click()
{
    createTrayIcon(); // the menu may come before the event loop has made the icon
    if (m_appWindow.isMinimized())
        TrayIcon1->Restore();
    else
        TrayIcon1->Minimize();
}

void TForm1::TrayIcon1Click()
{
    if (m_appWindow.isMinimized()) {
        TrayIcon1->Restore();
        placeAtTopRight();
    } else {
        TrayIcon1->Minimize();
    }
}

void TForm1::contextMenuEvent(QContextMenuEvent *event)
{
    SkinPopupMenu1->popup(event->globalPos());
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SkinLabel2 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        guarded(m_dialogs, [this] { SkinLabel2Click(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The main window ends the program, also when the window system closes it.
void TForm1::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}
