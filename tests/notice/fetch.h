#pragma once

#include "notice/noticeclient.h"

#include <QSignalSpy>
#include <QTest>
#include <optional>

// How one fetch ended: the body, or the error message.
struct FetchOutcome
{
    QByteArray body;
    QString error;
};

// One fetch as the program runs it. None, with the reason in the test's output, when the client breaks
// its contract: get() must return busy with nothing said, and exactly one signal must follow.
inline std::optional<FetchOutcome> fetch(NoticeClient &client, const QString &address, int timeoutMs = 10000)
{
    QSignalSpy fetched(&client, &NoticeClient::fetched);
    QSignalSpy failed(&client, &NoticeClient::failed);
    client.get(address);
    if (fetched.count() + failed.count() != 0 || !client.isBusy()) {
        qWarning("get() did not return busy before the fetch ended");
        return std::nullopt;
    }
    if (!QTest::qWaitFor([&] { return fetched.count() + failed.count() != 0; }, timeoutMs)) {
        qWarning("the fetch did not end within %d ms", timeoutMs);
        return std::nullopt;
    }
    // A second signal would come from the same pass of the event loop.
    QTest::qWait(1);
    if (fetched.count() + failed.count() != 1 || client.isBusy()) {
        qWarning("the fetch ended with %lld signals, busy: %d", qlonglong(fetched.count() + failed.count()),
                 client.isBusy());
        return std::nullopt;
    }
    if (!fetched.isEmpty())
        return FetchOutcome{fetched.first().first().toByteArray(), {}};
    return FetchOutcome{{}, failed.first().first().toString()};
}
