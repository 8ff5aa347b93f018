#pragma once

#include "caldav/caldavclient.h"
#include "sync/syncaccount.h"

#include <QDialog>
#include <QPointer>
#include <QUrl>

class CalDavJob;
class CalendarDiscovery;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SyncSettings;

// 同步设置…: the server's address, the user and the password, 测试连接 which finds the account's calendars
// (or says plainly what is wrong), the calendar to sync with picked from those or made new, and 保存, which
// keeps it all through SyncSettings. Nothing in it waits: the server's answers and the secret store come back
// through the event loop, and the question about plain http is a box opened above it.
class SyncSetupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SyncSetupDialog(SyncSettings &settings, QWidget *parent = nullptr);

    // The name of the calendars that 新建日历 makes.
    static QString newCalendarName() { return QStringLiteral("Orvane日程提醒"); }

private:
    void showAccount(const SyncAccount &account);
    void testConnection();
    void confirmPlainHttp(const QUrl &address);
    void discover(const QUrl &address);
    void discovered(CalendarDiscovery *discovery);
    void createCalendar();
    void addCalendar(const QUrl &url, const QString &name);
    void save();
    // Starts `job` of the client: the buttons wait until it finished.
    void follow(CalDavJob *job);
    void setBusy(bool busy);
    void showStatus(const QString &text);
    // What the server's address is now, as the user typed it.
    QUrl address() const;

    SyncSettings &m_settings;
    CalDavClient m_client;
    QPointer<CalDavJob> m_job;
    QUrl m_home; // where 新建日历 makes a calendar; empty when unknown
    // Plain http to another machine, confirmed for this address.
    bool m_insecureHttpAllowed = false;
    QLineEdit *m_address;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QPushButton *m_test;
    QLabel *m_status;
    QListWidget *m_calendars;
    QPushButton *m_create;
    QPushButton *m_save;
};

// What the user is told when the server could not be used.
QString connectionProblem(CalDavError error);
