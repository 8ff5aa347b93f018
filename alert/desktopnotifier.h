#pragma once

#include "store/reminder.h"

#include <QObject>
#include <QString>

// A desktop notification for each reminder that falls due, beside the alert window: desktops that keep a
// window that a timer raises behind the others (GNOME on Wayland) still show the reminder this way. The
// notification shows the subject, then the time and the content, with the program's icon and critical
// urgency, and offers an action that brings the alert window forward and one that puts the reminder off
// (稍后提醒) by ten minutes. Where the desktop has no
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
    // The user picked the action that puts `reminder` off by `minutes`.
    void snoozeRequested(const Reminder &reminder, int minutes);
};

// What the notification module (orvane-notify) gives the program: its notifier on the session bus.
class DesktopNotifierModule
{
public:
    virtual ~DesktopNotifierModule() = default;
    virtual DesktopNotifier *createDesktopNotifier(QObject *parent) = 0;
};

#define DesktopNotifierModule_iid "org.orvane.reminder.DesktopNotifier/1.1"
Q_DECLARE_INTERFACE(DesktopNotifierModule, DesktopNotifierModule_iid)
