#pragma once

#include "notice/noticeclient.h"

#include <QTimer>

// The notice client as the program has it: the HTTP client of the notice module (orvane-notice beside the
// executable), loaded at the first fetch so that start-up does not pay for Qt Network; it forwards the
// module's client's signals.
class ModuleNoticeClient : public NoticeClient
{
    Q_OBJECT

public:
    explicit ModuleNoticeClient(QObject *parent = nullptr);

    void get(const QString &address) override;
    void abort() override;
    bool isBusy() const override;

private:
    bool load();

    // The module's client, a child of this one; null until the first get() and when the module is missing.
    NoticeClient *m_client = nullptr;
    QString m_loadError;
    // Reports a module that cannot be loaded from the event loop, not from inside get().
    QTimer m_loadFailure;
};
