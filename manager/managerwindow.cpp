#include "manager/managerwindow.h"

#include "alert/alertsound.h"
#include "manager/addpage.h"
#include "manager/browsepage.h"
#include "manager/deletepage.h"
#include "manager/linklabel.h"
#include "manager/modifypage.h"
#include "manager/pagecontrols.h"
#include "manager/pagetabs.h"
#include "notice/noticeclient.h"
#include "store/reminderlistmodel.h"
#include "window/dialogs.h"
#include "window/hotarea.h"
#include "window/keys.h"
#include "window/picture.h"
#include "window/screen.h"
#include "window/services.h"
#include "window/shapedpicture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kTabHeight = 19;

enum PageIndex { AddPageIndex, ModifyPageIndex, DeletePageIndex, BrowsePageIndex, AboutPageIndex };

// The UI font, with a Chinese face for what it lacks, sized for the 19-pixel fields.
QFont managerFont()
{
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    return font;
}

QWidget *makeAboutPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("aboutPage"));
    auto *picture = new QLabel(page);
    picture->setObjectName(QStringLiteral("aboutPicture"));
    picture->setGeometry(0, 0, 581, 322);
    picture->setPixmap(
        QPixmap::fromImage(loadPicture(QStringLiteral(":/assets/about.jpg"), picture->devicePixelRatioF())));
    return page;
}

} // namespace

ManagerWindow::ManagerWindow(ReminderStore &store, Services &services, std::function<void()> refreshAgenda,
                             QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_dialogs(services.dialogs())
    , m_screen(services.screen())
    , m_sound(services.makeAlertSound())
    , m_noticeClient(services.makeNoticeClient())
    , m_noticeLinks(*m_noticeClient, services.browser())
    , m_list(store)
    , m_context{store, m_dialogs, services.clock(), std::move(refreshAgenda), m_list}
{
    setObjectName(QStringLiteral("managerWindow"));
    setWindowTitle(tr("日程设置"));
    setFont(managerFont());
    new ShapedPicture(QStringLiteral(":/assets/manager.png"), this);
    // Made in tab order: the page first, then the links and areas of the picture.
    addPages();

    auto *moreInfoLink = new LinkLabel(tr("更多信息..."), this);
    moreInfoLink->setObjectName(QStringLiteral("moreInfoLink"));
    moreInfoLink->setGeometry(481, 421, 57, 13);
    connect(moreInfoLink, &LinkLabel::clicked, this, [this] { m_noticeLinks.open(2); });

    addHotAreas();

    connect(m_list.model(), &ReminderListModel::fetchFailed, this, &ManagerWindow::reportFetchFailure);
    connect(m_list.model(), &QAbstractItemModel::modelReset, this, [this] { m_fetchFailureReported = false; });
    connect(&m_noticeLinks, &NoticeLinks::busyChanged, this, &ManagerWindow::setBusy);
    connect(&m_noticeLinks, &NoticeLinks::failed, this,
            [this](const QString &message) { m_dialogs.errorBox(message); });
    connect(&m_noticeLinks, &NoticeLinks::noAddress, this,
            [this] { m_dialogs.informationBox(kNoNoticeAddressMessage, kNoticeCaption); });
}

// A fetch still running ends with the window, without a signal: its busy cursor goes here.
ManagerWindow::~ManagerWindow()
{
    if (m_noticeLinks.isBusy())
        setBusy(false);
}

void ManagerWindow::addHotAreas()
{
    const auto hotArea = [this](const char *name, const QString &caption, const QRect &geometry) {
        auto *area = new HotArea(this, geometry);
        area->setObjectName(QLatin1String(name));
        area->setAccessibleName(caption);
        return area;
    };
    connect(hotArea("playArea", tr("播放"), {282, 409, 38, 34}), &HotArea::clicked, this, &ManagerWindow::playSound);
    // The page areas select their pages exactly as the tabs do.
    const std::pair<const char *, int> pageAreas[] = {{"addPageArea", 6},
                                                      {"modifyPageArea", 65},
                                                      {"deletePageArea", 127},
                                                      {"browsePageArea", 188},
                                                      {"aboutPageArea", 249}};
    for (int page = AddPageIndex; page <= AboutPageIndex; ++page) {
        const auto [name, left] = pageAreas[page];
        HotArea *area = hotArea(name, m_pages->tabText(page), {left, 23, 57, 25});
        area->setAccessibleRole(QAccessible::PageTab);
        connect(area, &HotArea::clicked, this, [this, page] { m_pages->setCurrentIndex(page); });
    }
    connect(hotArea("exitArea", tr("退出"), {309, 23, 57, 25}), &HotArea::clicked, this, &QWidget::close);
    HotArea *moreSoftwareArea = hotArea("moreSoftwareArea", tr("更多软件"), {406, 23, 57, 25});
    moreSoftwareArea->setAccessibleDescription(tr("在浏览器中打开"));
    connect(moreSoftwareArea, &HotArea::clicked, this, [this] { m_noticeLinks.open(1); });
    connect(hotArea("minimizeArea", tr("最小化"), {544, 0, 17, 20}), &HotArea::clicked, this, &QWidget::showMinimized);
    // Takes the click and does nothing with it; nothing to reach by the keyboard.
    hotArea("maximizeArea", tr("最大化"), {562, 0, 17, 20})->setFocusPolicy(Qt::NoFocus);
    connect(hotArea("closeArea", tr("关闭"), {579, 0, 17, 20}), &HotArea::clicked, this, &QWidget::close);
}

void ManagerWindow::addPages()
{
    m_pages = new PageTabs(kTabHeight, this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->setGeometry(8, 48, 585, 345);
    auto *addPage = new AddPage(m_context);
    auto *modifyPage = new ModifyPage(m_context);
    auto *deletePage = new DeletePage(m_context);
    auto *browsePage = new BrowsePage(m_context);
    m_pages->addTab(addPage, tr("添加提醒"));
    m_pages->addTab(modifyPage, tr("修改提醒"));
    m_pages->addTab(deletePage, tr("删除提醒"));
    m_pages->addTab(browsePage, tr("浏览数据"));
    m_pages->addTab(makeAboutPage(), tr("关于"));
    m_pages->setCurrentIndex(AddPageIndex);
    connect(addPage, &AddPage::backRequested, this, &QWidget::close);
    connect(modifyPage, &ModifyPage::backRequested, this, &QWidget::close);
    connect(browsePage, &BrowsePage::backRequested, this, &QWidget::close);
    connect(m_pages, &QTabWidget::currentChanged, this, &ManagerWindow::pageShown);
}

// The list pages read the list afresh each time they are shown, so that they show what other programs
// wrote meanwhile.
void ManagerWindow::pageShown(int index)
{
    if (index == ModifyPageIndex || index == DeletePageIndex || index == BrowsePageIndex)
        guarded(m_dialogs, [this] { m_list.reload(); });
}

void ManagerWindow::playSound()
{
    guarded(m_dialogs, [this] { m_sound->play(alertSoundPath()); });
}

// A grid asks for more rows inside its own event handling, again as it is laid out, and each grid on the
// list may ask: the user is told once for each reading of the list, after the view's work is done.
void ManagerWindow::reportFetchFailure(const QString &message)
{
    if (m_fetchFailureReported)
        return;
    m_fetchFailureReported = true;
    QTimer::singleShot(0, this, [this, message] { m_dialogs.errorBox(message); });
}

void ManagerWindow::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// Centred once, on the whole primary screen: later showings keep where the user dragged it.
void ManagerWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        move(centredOn(m_screen.geometry(), size()));
    }
    QDialog::showEvent(event);
}

// Escape closes the window as 返回 does; Enter presses the button that has the focus, as no button is a
// default one.
void ManagerWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        close();
        return;
    }
    if (pressFocusedButton(event))
        return;
    QDialog::keyPressEvent(event);
}
