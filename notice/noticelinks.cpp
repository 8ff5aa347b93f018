#include "notice/noticelinks.h"

#include "notice/browserlauncher.h"
#include "notice/gbk.h"
#include "notice/noticeclient.h"
#include "notice/textbetweentags.h"

#include <QtGlobal>

QString noticePageAddress()
{
    const QString host = qEnvironmentVariable("ORVANE_NOTICE_HOST");
    return QStringLiteral("http://%1/index.html").arg(host.isEmpty() ? kDefaultNoticeHost : host);
}

NoticeLinks::NoticeLinks(NoticeClient &client, BrowserLauncher &launcher, QString pageAddress, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_launcher(launcher)
    , m_pageAddress(std::move(pageAddress))
{
    connect(&m_client, &NoticeClient::fetched, this, &NoticeLinks::pageFetched);
    connect(&m_client, &NoticeClient::failed, this, &NoticeLinks::fetchFailed);
}

NoticeLinks::~NoticeLinks()
{
    if (isBusy())
        m_client.abort();
}

void NoticeLinks::open(int element)
{
    Q_ASSERT(element == 1 || element == 2);
    if (isBusy())
        return;
    m_element = element;
    emit busyChanged(true);
    m_client.get(m_pageAddress);
}

int NoticeLinks::finish()
{
    const int element = m_element;
    m_element = 0;
    if (element != 0)
        emit busyChanged(false);
    return element;
}

void NoticeLinks::pageFetched(const QByteArray &page)
{
    const int element = finish();
    if (element == 0)
        return;
    const QByteArray number = QByteArray::number(element);
    // A page edited by hand often has the address on a line of its own between the tags.
    const QString address = fromGbk(textBetweenTags(page, "<zeqa" + number + '>', "</zeqa" + number + '>')).trimmed();
    if (!isWebAddress(address)) {
        emit noAddress();
        return;
    }
    m_launcher.launch(address);
}

void NoticeLinks::fetchFailed(const QString &message)
{
    if (finish() != 0)
        emit failed(message);
}
