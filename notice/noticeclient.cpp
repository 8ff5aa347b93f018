#include "notice/noticeclient.h"

#include "core/module.h"

ModuleNoticeClient::ModuleNoticeClient(QObject *parent)
    : NoticeClient(parent)
{
    m_loadFailure.setSingleShot(true);
    m_loadFailure.setInterval(0);
    connect(&m_loadFailure, &QTimer::timeout, this,
            [this] { emit failed(QStringLiteral("无法载入通知模块：") + m_loadError); });
}

void ModuleNoticeClient::get(const QString &address)
{
    if (!load()) {
        m_loadFailure.start();
        return;
    }
    m_client->get(address);
}

void ModuleNoticeClient::abort()
{
    m_loadFailure.stop();
    if (m_client)
        m_client->abort();
}

bool ModuleNoticeClient::isBusy() const
{
    return m_client ? m_client->isBusy() : m_loadFailure.isActive();
}

bool ModuleNoticeClient::load()
{
    if (m_client)
        return true;
    m_client =
        createFromModule<NoticeClient>(QStringLiteral("orvane-notice"), "orvaneCreateNoticeClient", &m_loadError);
    if (!m_client)
        return false;
    m_client->setParent(this);
    forwardSignal(*m_client, *this, QMetaMethod::fromSignal(&NoticeClient::fetched));
    forwardSignal(*m_client, *this, QMetaMethod::fromSignal(&NoticeClient::failed));
    return true;
}
