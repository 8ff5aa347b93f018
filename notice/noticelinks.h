#pragma once

#include "core/translatedtext.h"

#include <QObject>
#include <QString>

class BrowserLauncher;
class NoticeClient;

// The notice page's host when ORVANE_NOTICE_HOST does not name another (a host or host:port).
inline const QString kDefaultNoticeHost = QStringLiteral("notice.example.com");

// Text of the information box (caption "提示") when the notice page names no web address to open.
inline const TranslatedText kNoNoticeAddressMessage{
    "NoticeLinks",
    QT_TRANSLATE_NOOP("NoticeLinks", "通知页面中没有可以打开的网址（只能打开 http 或 https 网址），未启动浏览器。")};

// "http://" + the notice host + "/index.html" (ORVANE_NOTICE_HOST names another host or host:port).
QString noticePageAddress();

// The manager window's two web notice links: open(1) for 更多软件, open(2) for 更多信息... . Each fetches the
// notice page, takes the text between "<zeqaN>" and "</zeqaN>", blanks and line breaks around it removed,
// and starts the browser on it. The client and the launcher must outlive the links; links destroyed
// mid-fetch end the fetch.
class NoticeLinks : public QObject
{
    Q_OBJECT

public:
    NoticeLinks(NoticeClient &client, BrowserLauncher &launcher, QString pageAddress = noticePageAddress(),
                QObject *parent = nullptr);
    ~NoticeLinks() override;

    // Starts a fetch; ignored while one runs (the window shows a busy cursor meanwhile).
    void open(int element);
    bool isBusy() const { return m_element != 0; }

signals:
    // True when a fetch starts, false when it ends with a result, before failed or noAddress, so that the
    // cursor is back when a box shows. Links destroyed mid-fetch end it without a signal.
    void busyChanged(bool busy);
    // The fetch failed: the error box shows `message`; no browser was started.
    void failed(const QString &message);
    // The page names no address to open (isWebAddress false): the window tells kNoNoticeAddressMessage.
    void noAddress();

private:
    void pageFetched(const QByteArray &page);
    void fetchFailed(const QString &message);
    // Ends the running fetch: the element it was for, 0 when none runs.
    int finish();

    NoticeClient &m_client;
    BrowserLauncher &m_launcher;
    QString m_pageAddress;
    int m_element = 0;
};
