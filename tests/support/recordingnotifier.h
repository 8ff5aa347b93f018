#pragma once

#include "alert/desktopnotifier.h"
#include "store/reminder.h"

#include <QList>

// A notifier that notes every reminder it is asked to show, in a list that outlives it, and lets the test
// pick the notification's action.
class RecordingNotifier : public DesktopNotifier
{
    Q_OBJECT

public:
    explicit RecordingNotifier(QList<Reminder> &notified)
        : m_notified(notified)
    {
    }
    void notify(const Reminder &reminder) override { m_notified << reminder; }

    // The user picking the notification's action.
    void activate() { emit activated(); }
    // The user picking the notification's action that puts `reminder` off.
    void snooze(const Reminder &reminder, int minutes) { emit snoozeRequested(reminder, minutes); }

private:
    QList<Reminder> &m_notified;
};
