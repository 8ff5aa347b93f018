#pragma once

#include <QObject>
#include <QString>

struct Reminder;

// A desktop notification for each reminder that falls due, beside the alert window: desktops that keep a
// window that a timer raises behind the others (GNOME on Wayland) still show the reminder this way. The
// notification shows the subject, then the time and the content, with the program's icon and critical
// urgency, and offers an action that brings the alert window forward. Where the desktop has no
// notification service nothing is shown and nothing is reported.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void notify(const Reminder &reminder) = 0;

signals:
    // The user picked a notification's action: the alert window is to come forward.
    void activated();
};

// The body of the notification of `reminder` (its summary is the subject): the time as the alert window
// shows it, a line feed, and the content.
QString notificationBody(const Reminder &reminder);

// The notifier as the program has it: the one of the notification module (orvane-notify beside the
// executable), loaded at the first notification as the program's other modules are, so that nothing of the
// notifications is made before a reminder falls due; it forwards the module's notifier's signal. Without
// the module nothing is shown, and the reason goes once to the error output.
class ModuleDesktopNotifier : public DesktopNotifier
{
    Q_OBJECT

public:
    using DesktopNotifier::DesktopNotifier;

    void notify(const Reminder &reminder) override;

private:
    // The module's notifier, a child of this one; null until the first notification and without the module.
    DesktopNotifier *m_notifier = nullptr;
};
