#include "notice/modulenoticeclient.h"

#include "core/module.h"

ModuleNoticeClient::ModuleNoticeClient(QObject *parent)
    : NoticeClient(parent)
{
    m_loadFailure.setSingleShot(true);
    m_loadFailure.setInterval(0);
    connect(&m_loadFailure, &QTimer::timeout, this, [this] { emit failed(tr("无法载入通知模块：") + m_loadError); });
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
    auto *module = moduleInterface<NoticeClientModule>(QStringLiteral("orvane-notice"), &m_loadError);
    if (!module)
        return false;
    m_client = module->createNoticeClient(this);
    connect(m_client, &NoticeClient::fetched, this, &NoticeClient::fetched);
    connect(m_client, &NoticeClient::failed, this, &NoticeClient::failed);
    return true;
}
