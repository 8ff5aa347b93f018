#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

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

// What the notice module (orvane-notice) gives the program: its HTTP client.
class NoticeClientModule
{
public:
    virtual ~NoticeClientModule() = default;
    virtual NoticeClient *createNoticeClient(QObject *parent) = 0;
};

#define NoticeClientModule_iid "org.orvane.reminder.NoticeClient/1.0"
Q_DECLARE_INTERFACE(NoticeClientModule, NoticeClientModule_iid)
