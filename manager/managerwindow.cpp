#include "manager/managerwindow.h"

#include "core/clock.h"
#include "manager/datagrid.h"
#include "manager/linklabel.h"
#include "manager/pagecontrol.h"
#include "store/datamodule.h"
#include "window/bmpshape.h"
#include "window/dialogs.h"
#include "window/hotarea.h"
#include "window/picture.h"
#include "window/windowdrag.h"

#include <QApplication>
#include <QCursor>
#include <QDateEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>

namespace {

constexpr int kTabHeight = 19;

enum Page { AddPage, ModifyPage, DeletePage, BrowsePage, AboutPage };

// The design font does not exist here: the UI font, with a Chinese face for what it lacks, sized for
// the 19-pixel fields.
QFont managerFont()
{
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    return font;
}

} // namespace

QPoint centredOn(const QRect &screen, const QSize &window)
{
    return screen.topLeft()
           + QPoint(std::max((screen.width() - window.width()) / 2, 0),
                    std::max((screen.height() - window.height()) / 2, 0));
}

TForm2::TForm2(Tdm &dm, Dialogs &dialogs, const Clock &clock, std::function<void()> refreshAgenda,
               std::unique_ptr<SoundPlayer> player, std::unique_ptr<BrowserLauncher> browser, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_dm(dm)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_refreshAgenda(std::move(refreshAgenda))
    , WindowsMediaPlayer1(std::move(player))
    , m_browser(std::move(browser))
    , m_noticeLinks(HTTP1, *m_browser)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("日程设置"));
    setFont(managerFont());
    buildWindowControls();
    buildAddPage();
    buildModifyPage();
    buildDeletePage();
    buildBrowsePage();
    buildAboutPage();
    PageControl1->setCurrentIndex(AddPage);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm2::onPageShown);
    FormCreate();
}

void TForm2::FormCreate()
{
    BmpShape1->ShapeForm();
    DateTimePicker1->setDate(m_clock.now().date());
}

void TForm2::buildWindowControls()
{
    // The picture first, so that every other control lies above it.
    BmpShape1 = new TBmpShape(loadPicture(QStringLiteral(":/assets/manager.png")), this);
    BmpShape1->setObjectName(QStringLiteral("BmpShape1"));
    BmpShape1->setDither(false);
    m_drag = new WindowDrag(this);
    connect(BmpShape1, &TBmpShape::mouseMoved, this, &TForm2::BmpShape1MouseMove);

    const auto hotArea = [this](const QString &name, const QRect &geometry) {
        auto *area = new HotArea(this, geometry);
        area->setObjectName(name);
        return area;
    };
    connect(hotArea(QStringLiteral("Image1"), {544, 0, 17, 20}), &HotArea::clicked, this, &TForm2::Image1Click);
    hotArea(QStringLiteral("Image2"), {562, 0, 17, 20}); // takes the click and does nothing with it
    connect(hotArea(QStringLiteral("Image3"), {579, 0, 17, 20}), &HotArea::clicked, this, &QWidget::close);
    // Image4 to Image8 select the pages in order, exactly as their tabs do.
    const int pageAreaLefts[] = {6, 65, 127, 188, 249};
    for (int page = AddPage; page <= AboutPage; ++page) {
        HotArea *area = hotArea(QStringLiteral("Image%1").arg(4 + page), {pageAreaLefts[page], 23, 57, 25});
        connect(area, &HotArea::clicked, this, [this, page] { PageControl1->setCurrentIndex(page); });
    }
    connect(hotArea(QStringLiteral("Image9"), {309, 23, 57, 25}), &HotArea::clicked, this, &QWidget::close);
    connect(hotArea(QStringLiteral("Image10"), {406, 23, 57, 25}), &HotArea::clicked, this, &TForm2::Image10Click);
    connect(hotArea(QStringLiteral("Image11"), {282, 409, 38, 34}), &HotArea::clicked, this, &TForm2::Image11Click);

    URLLabel1 = new LinkLabel(QStringLiteral("更多信息..."), this);
    URLLabel1->setObjectName(QStringLiteral("URLLabel1"));
    URLLabel1->setGeometry(481, 421, 57, 13);
    connect(URLLabel1, &LinkLabel::clicked, this, &TForm2::URLLabel1Click);

    PageControl1 = new PageControl(kTabHeight, this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 48, 585, 345);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("删除"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, &TForm2::N1Click);
}

// Centred once, on the whole primary screen: later showings keep where the user dragged it.
void TForm2::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        move(centredOn(QGuiApplication::primaryScreen()->geometry(), size()));
    }
    QDialog::showEvent(event);
}

// Escape closes nothing here; Enter presses no button because none is a default one.
void TForm2::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Only the bare picture drags the window: the controls above it take their own mouse input.
void TForm2::BmpShape1MouseMove(ShiftState shift)
{
    guarded(m_dialogs, [&] {
        if (shift.testFlag(ssLeft))
            m_drag->start(QCursor::pos());
    });
}

void TForm2::Image1Click()
{
    setWindowState(windowState() | Qt::WindowMinimized);
}

void TForm2::Image11Click()
{
    guarded(m_dialogs, [this] { PlayAlertSound(*WindowsMediaPlayer1); });
}

void TForm2::Image10Click()
{
    openNoticeLink(1);
}

void TForm2::URLLabel1Click()
{
    openNoticeLink(2);
}

void TForm2::openNoticeLink(int element)
{
    guarded(m_dialogs, [&] {
        bool opened = false;
        {
            // The fetch holds back input until it returns.
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
            opened = m_noticeLinks.open(element);
        }
        if (!opened)
            m_dialogs.informationBox(kNoNoticeAddressMessage, QStringLiteral("提示"));
    });
}

void TForm2::onPageShown(int index)
{
    switch (index) {
    case ModifyPage:
        TabSheet2Show();
        break;
    case DeletePage:
        TabSheet3Show();
        break;
    case BrowsePage:
        TabSheet4Show();
        break;
    default:
        break;
    }
}

void TForm2::TabSheet2Show()
{
    guarded(m_dialogs, [this] {
        m_dm.qry2.close();
        m_dm.qry2.open();
    });
}

void TForm2::TabSheet3Show()
{
    guarded(m_dialogs, [this] { reopenListSuspended(); });
}

void TForm2::TabSheet4Show()
{
    guarded(m_dialogs, [this] { reopenListSuspended(); });
}

// Re-reads the list with the grids suspended, so that they repaint once; they come back also when the
// reading fails.
void TForm2::reopenListSuspended()
{
    DataSource &source = m_dm.DataSource1;
    source.disableControls();
    const auto resume = qScopeGuard([&source] { source.enableControls(); });
    m_dm.qry2.close();
    m_dm.qry2.open();
}
