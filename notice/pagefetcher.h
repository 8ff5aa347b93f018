#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

// What fetches the notice page (HTTP1): the body of the reply to a GET of an http address, byte for
// byte. Throws AppError when the page cannot be fetched.
class PageFetcher
{
public:
    virtual ~PageFetcher() = default;
    virtual QByteArray Get(const QString &address) = 0;
};

// HTTP1 as the program has it: the HTTP client of the notice module (orvane-notice beside the
// executable), loaded at the first fetch so that start-up does not pay for Qt Network.
class ModulePageFetcher : public PageFetcher
{
public:
    QByteArray Get(const QString &address) override;

private:
    std::unique_ptr<PageFetcher> m_client;
};
