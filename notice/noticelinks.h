#pragma once

#include <QString>

class BrowserLauncher;
class PageFetcher;

// The notice page's host when ORVANE_NOTICE_HOST does not name another (a host or host:port).
inline const QString kDefaultNoticeHost = QStringLiteral("notice.example.com");

// Text of the information box (caption "提示") when the notice page names no web address to open.
inline const QString kNoNoticeAddressMessage =
    QStringLiteral("通知页面中没有可以打开的网址（只能打开 http 或 https 网址），未启动浏览器。");

// "http://" + the notice host + "/index.html".
QString noticePageAddress();

// The manager window's two web notice links. Image10Click (更多软件) opens element 1, URLLabel1Click
// (更多信息...) element 2:
//
//     guarded(dialogs, [&] {
//         bool opened = false;
//         {
//             QApplication::setOverrideCursor(Qt::WaitCursor);
//             const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
//             opened = m_noticeLinks.open(2);
//         }
//         if (!opened)
//             dialogs.informationBox(kNoNoticeAddressMessage, QStringLiteral("提示"));
//     });
class NoticeLinks
{
public:
    // client is the window's HTTP1; both must outlive the links.
    NoticeLinks(PageFetcher &client, BrowserLauncher &launcher, QString pageAddress = noticePageAddress());

    // Fetches the notice page, takes the text between "<zeqaN>" and "</zeqaN>" (N = element, 1 or 2)
    // and starts the browser on it. Returns false, having started nothing, when that text is not a web
    // address (isWebAddress); the caller then shows kNoNoticeAddressMessage. A failed fetch throws its
    // AppError and nothing is started.
    bool open(int element);

private:
    PageFetcher &m_client;
    BrowserLauncher &m_launcher;
    QString m_pageAddress;
};
