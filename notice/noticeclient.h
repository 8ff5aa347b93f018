#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

// Fetches the notice page: the body of the reply to a GET of an http address, byte for byte (the page is
// GBK text). Signal-driven: get() returns at once, and exactly one of fetched or failed follows for each
// get() (never from inside get() itself: always from the event loop). One fetch at a time: a get() while
// one runs ends the running one as abort() does. Destroying the client, or abort(), ends a running fetch
// at once with no signal; the program can quit at any moment.
class NoticeClient : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void get(const QString &address) = 0;
    virtual void abort() = 0;
    // From get() until fetched or failed has been emitted.
    virtual bool isBusy() const = 0;

signals:
    void fetched(const QByteArray &body);
    // The message the error box shows: a socket error, "Connection Closed Gracefully.", the status line of
    // a reply that is not followed or not successful, ... (the texts of notice/fetcherrors.h), or
    // "无法载入通知模块：" and the reason when the module cannot be loaded.
    void failed(const QString &message);
};

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
