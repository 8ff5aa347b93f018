#pragma once

#include "notice/noticeclient.h"

#include <QStringList>
#include <QTimer>

// A notice client that answers every fetch from the event loop with what the test set: the page, or the
// failure when one is set. It notes the addresses asked for.
class FakeNoticeClient : public NoticeClient
{
    Q_OBJECT

public:
    void get(const QString &address) override
    {
        asked << address;
        m_busy = true;
        QTimer::singleShot(0, this, [this] {
            if (!m_busy)
                return;
            m_busy = false;
            if (failure.isEmpty())
                emit fetched(page);
            else
                emit failed(failure);
        });
    }
    void abort() override { m_busy = false; }
    bool isBusy() const override { return m_busy; }

    QByteArray page;
    QString failure;
    QStringList asked;

private:
    bool m_busy = false;
};
