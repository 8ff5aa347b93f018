#include "notice/pagefetcher.h"

#include "core/apperror.h"
#include "core/module.h"

QByteArray ModulePageFetcher::Get(const QString &address)
{
    if (!m_client) {
        using Create = PageFetcher *(*)();
        QString error;
        const auto create =
            reinterpret_cast<Create>(moduleFunction(QStringLiteral("orvane-notice"), "orvaneCreateHttpClient", &error));
        if (!create)
            throw AppError(QStringLiteral("无法载入通知模块：") + error);
        m_client.reset(create());
    }
    return m_client->Get(address);
}
