#include "notice/noticelinks.h"

#include "notice/browserlauncher.h"
#include "notice/gbk.h"
#include "notice/pagefetcher.h"
#include "notice/textbetweentags.h"

#include <QtGlobal>

QString noticePageAddress()
{
    const QString host = qEnvironmentVariable("ORVANE_NOTICE_HOST");
    return QStringLiteral("http://%1/index.html").arg(host.isEmpty() ? kDefaultNoticeHost : host);
}

NoticeLinks::NoticeLinks(PageFetcher &client, BrowserLauncher &launcher, QString pageAddress)
    : m_client(client)
    , m_launcher(launcher)
    , m_pageAddress(std::move(pageAddress))
{
}

bool NoticeLinks::open(int element)
{
    Q_ASSERT(element == 1 || element == 2);
    const QByteArray page = m_client.Get(m_pageAddress);
    const QByteArray number = QByteArray::number(element);
    const QString address = fromGbk(TextBetweenTags(page, "<zeqa" + number + '>', "</zeqa" + number + '>'));
    if (!isWebAddress(address))
        return false;
    m_launcher.launch(address);
    return true;
}
