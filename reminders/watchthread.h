#pragma once

#include "store/reminder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThread>

class Clock;
class WatchLooks;

// The watch's looks on a thread of their own, with a connection of their own to the store's file: a look that
// moves thousands of repeating reminders at once keeps SQLite busy longer than a frame, and the windows must
// not wait for it. Looks run one after another in the order they were asked for; what they raise and how they
// end come back as signals in this object's thread.
class WatchThread : public QObject
{
    Q_OBJECT

public:
    // Watches the file at `storePath` from now on; the clock is read from the watch's thread, so it must be safe
    // to read from another thread.
    WatchThread(const QString &storePath, const Clock &clock, QObject *parent = nullptr);
    // A look under way ends first; what it raised is no longer told.
    ~WatchThread() override;

public slots:
    // Asks for one look.
    void check();

signals:
    // The reminders that fell due since the last look, earliest first.
    void remindersDue(const QList<Reminder> &reminders);
    // A look ended: `failure` is the store's message when it failed (the same minutes are looked at again at the
    // next look), empty when it did not.
    void looked(const QString &failure);

private:
    QThread m_thread;
    WatchLooks *m_looks; // lives on m_thread
};
