// How long the user-interface thread is held up: the lateness of a 5 ms timer while the alert shakes,
// while a notice page trickles in from a slow local server, while the agenda is rebuilt with 10,000
// reminders today, and while the watch looks, on its own thread, at 10,000 repeating reminders. A stall over
// 16 ms is a frame the user sees missed. Also the background sync of 10,000 reminders down from a Radicale of
// its own while the main window runs. Run it from a Release build, on the offscreen platform or a real
// display; it prints one line per figure.

#include "alert/alertsound.h"
#include "alert/alertwindow.h"
#include "alert/desktopnotifier.h"
#include "app/desktopservices.h"
#include "app/mainwindow.h"
#include "caldav/caldavclient.h"
#include "caldav/etaglisting.h"
#include "core/clock.h"
#include "notice/http/httpclient.h"
#include "reminders/reminders.h"
#include "store/connection.h"
#include "store/reminder.h"
#include "store/reminderstore.h"
#include "store/schema.h"
#include "sync/syncscheduler.h"
#include "window/programwindows.h"

#include "radicaleserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kProbeMs = 5;
constexpr int kFrameMs = 16;

// Measures the lateness of a 5 ms timer until `done` says the work has ended.
class StallProbe
{
public:
    explicit StallProbe(const char *name)
        : m_name(name)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kProbeMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_late.push_back(double(now - m_last) / 1e6 - kProbeMs);
            m_last = now;
        });
    }

    void run(const std::function<void()> &start, const std::function<bool()> &done)
    {
        m_clock.start();
        m_last = 0;
        m_timer.start();
        QTimer::singleShot(0, start);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        poll.start(1);
        loop.exec();
        m_timer.stop();
        report();
    }

private:
    void report()
    {
        std::vector<double> late = m_late;
        std::sort(late.begin(), late.end());
        const double worst = late.empty() ? 0 : late.back();
        const double p99 = late.empty() ? 0 : late[std::min(late.size() - 1, late.size() * 99 / 100)];
        std::printf("%-44s longest stall %7.2f ms  99th percentile %6.2f ms  (%zu ticks)  %s\n", m_name, worst, p99,
                    late.size(), worst <= kFrameMs ? "within a frame" : "over a frame");
    }

    const char *m_name;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    std::vector<double> m_late;
};

// The program's services with a silent player that counts what it is asked to play.
class BenchServices : public DesktopServices
{
public:
    class CountingSound : public AlertSound
    {
    public:
        explicit CountingSound(int &plays)
            : m_plays(plays)
        {
        }
        void play(const QString &) override { ++m_plays; }

    private:
        int &m_plays;
    };

    std::unique_ptr<AlertSound> makeAlertSound() override { return std::make_unique<CountingSound>(plays); }
    int plays = 0;
};

Reminder dueReminder()
{
    Reminder reminder;
    reminder.id = 1;
    reminder.subject = QStringLiteral("会议");
    reminder.content = QStringLiteral("带上笔记本");
    reminder.due = QDateTime(QDate(2026, 3, 4), QTime(9, 30), Qt::UTC);
    reminder.day = reminder.due.date();
    return reminder;
}

void alertShake()
{
    BenchServices services;
    AlertWindow alert(services.screen(), services.makeAlertSound());
    StallProbe("alert: show, shake and sound")
        .run([&] { alert.showReminder(dueReminder()); }, [&] { return services.plays > 0; });
    alert.reject();
}

// A server on its own thread that answers with a page trickled out a few bytes every 50 ms for 2 seconds.
class SlowServer : public QThread
{
public:
    quint16 port = 0;

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        port = server.serverPort();
        m_ready.release();
        if (!server.waitForNewConnection(10000))
            return;
        QTcpSocket *client = server.nextPendingConnection();
        client->waitForReadyRead(5000);
        const QByteArray page = QByteArray("<zeqa2>http://example.com/</zeqa2>").repeated(40);
        client->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(page.size()) + "\r\n\r\n");
        for (qsizetype sent = 0; sent < page.size(); sent += 34) {
            client->write(page.mid(sent, 34));
            client->waitForBytesWritten(1000);
            msleep(50);
        }
        client->waitForDisconnected(1000);
    }

public:
    void waitUntilListening() { m_ready.acquire(); }

private:
    QSemaphore m_ready;
};

void noticeFetch()
{
    SlowServer server;
    server.start();
    server.waitUntilListening();
    HttpClient client;
    bool ended = false;
    QObject::connect(&client, &NoticeClient::fetched, [&] { ended = true; });
    QObject::connect(&client, &NoticeClient::failed, [&](const QString &message) {
        std::fprintf(stderr, "stall_bench: the fetch failed: %s\n", qUtf8Printable(message));
        ended = true;
    });
    StallProbe("notice fetch from a slow server (2 s)")
        .run([&] { client.get(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.port)); },
             [&] { return ended; });
    server.wait();
}

void agendaRefresh()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    ReminderStore::create(path);
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {path, QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<10000) "
                                       "insert into 日程提醒(主题,内容,时间,日期) "
                                       "select '提醒 '||i,'',printf('%1 %02d:%02d:00',(i/60)%24,i%60),'%1' from n")
                            .arg(today)});
    if (!sqlite.waitForFinished() || sqlite.exitCode() != 0)
        std::fprintf(stderr, "stall_bench: sqlite3 could not fill the store\n");
    BenchServices services;
    ReminderStore store(path);
    Reminders reminders(store, services.clock(), services.makeNotifier());
    ProgramWindows programWindows(services.dialogs());
    MainWindow window(store, reminders, programWindows, services);
    window.show();
    QElapsedTimer settle;
    settle.start();
    StallProbe("settling (the first agenda is built)").run([] {}, [&] { return settle.elapsed() > 1500; });
    QElapsedTimer after;
    StallProbe("agenda refresh, 10,000 reminders today")
        .run(
            [&] {
                after.start();
                window.refreshAgenda();
            },
            [&] { return after.isValid() && after.elapsed() > 500; });
}

// A clock that the bench moves on: the wall clock and the time since boot together. The watch reads it from its
// own thread.
class SteppedClock : public Clock
{
public:
    QDateTime now() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_now;
    }
    qint64 sinceBoot() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_sinceBoot;
    }
    void moveTo(const QDateTime &to)
    {
        QMutexLocker lock(&m_mutex);
        m_sinceBoot += m_now.isValid() ? m_now.msecsTo(to) : 0;
        m_now = to;
    }

private:
    mutable QMutex m_mutex;
    QDateTime m_now;
    qint64 m_sinceBoot = 0;
};

// A notifier that counts what it is asked to show: the desktop's notifications are not the watch's time.
class CountingNotifier : public DesktopNotifier
{
public:
    explicit CountingNotifier(int &notified)
        : m_notified(notified)
    {
    }
    void notify(const Reminder &) override { ++m_notified; }

private:
    int &m_notified;
};

// 10,000 reminders every day at 09:00, each series begun on another day of the last year, half of them by the
// program's own kind and half by a calendar's rule: the first look after a day away moves them all to today's
// occurrence, at 09:00 they fall due together and move to tomorrow's, and a look a minute later finds nothing.
// The program's reminders make the looks, with a notifier that only counts.
void repeatingWatch()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    ReminderStore::create(path);
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {path, repeatTableStatements().join(u';')
                            + QStringLiteral(";with recursive n(i) as (select 1 union all select i+1 from n where "
                                             "i<10000) insert into 日程提醒(主题,内容,时间,日期) select '提醒 '||i,'',"
                                             "'2026-03-04 09:00:00','2026-03-04' from n;"
                                             "insert into reminder_repeats(row,rule,start) select rowid,"
                                             "iif(rowid%2,'daily','FREQ=DAILY'),"
                                             "date(日期,-(rowid%365)||' days')||' 09:00:00' from 日程提醒")});
    if (!sqlite.waitForFinished() || sqlite.exitCode() != 0)
        std::fprintf(stderr, "stall_bench: sqlite3 could not fill the store\n");
    ReminderStore store(path);
    SteppedClock clock;
    const QDate today(2026, 3, 5);
    clock.moveTo(QDateTime(today, QTime(8, 59, 30)));
    int notified = 0;
    Reminders reminders(store, clock, std::make_unique<CountingNotifier>(notified));
    QObject::connect(&reminders, &Reminders::storeFailed, [](const QString &message) {
        std::fprintf(stderr, "stall_bench: the look failed: %s\n", qUtf8Printable(message));
    });
    const auto look = [&](const char *name, QTime at, int falling) {
        clock.moveTo(QDateTime(today, at));
        QElapsedTimer took;
        double tookMs = -1;
        const QMetaObject::Connection looked =
            QObject::connect(&reminders, &Reminders::looked, [&] { tookMs = double(took.nsecsElapsed()) / 1e6; });
        const int before = notified;
        StallProbe(name).run(
            [&] {
                took.start();
                reminders.checkNow();
            },
            [&] { return tookMs >= 0; });
        QObject::disconnect(looked);
        std::printf("%-44s the look took %.1f ms, on the watch's thread\n", "", tookMs);
        if (notified - before != falling)
            std::fprintf(stderr, "stall_bench: %d fell due instead of %d\n", notified - before, falling);
    };
    look("watch, first look moves 10,000 series", QTime(8, 59, 40), 0);
    look("watch, 10,000 repeating fall due together", QTime(9, 0, 10), 10000);
    look("watch, a look with 10,000 repeating", QTime(9, 0, 40), 0);
}

// The first sync of 10,000 reminders down from a calendar that a phone filled, by the program's scheduler, while
// the main window shows its agenda and scrolls and the reminders are looked at in the store.
void backgroundSync()
{
    constexpr int kEvents = 10000;
    RadicaleServer server({QStringLiteral("alice:secret")});
    if (!server.start())
        return;
    const QUrl calendar = server.makeCalendar(QStringLiteral("alice"), QStringLiteral("bench"));
    if (calendar.isEmpty())
        return;
    const QDate today = QDate::currentDate();
    for (int i = 1; i <= kEvents; ++i) {
        QFile file(server.folderOf(calendar.path()) + QStringLiteral("phone-%1.ics").arg(i));
        file.open(QIODevice::WriteOnly);
        const QDateTime start(today.addDays(i % 200), QTime((i / 200) % 24, i % 60));
        file.write(QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\n"
                                  "UID:phone-%1\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:%2\r\nSUMMARY:提醒 %1\r\n"
                                  "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:提醒\r\nTRIGGER:PT0S\r\nEND:VALARM\r\n"
                                  "END:VEVENT\r\nEND:VCALENDAR\r\n")
                       .arg(i)
                       .arg(start.toString(QStringLiteral("yyyyMMdd'T'HHmmss")))
                       .toUtf8());
    }
    // Radicale reads the files once and keeps its cache of them, as it would have as the phone stored them.
    CalDavClient client;
    client.setCredentials(QStringLiteral("alice"), QStringLiteral("secret"));
    client.setTimeout(std::chrono::minutes(10));
    std::unique_ptr<EtagListing> listing(client.listEtags(calendar));
    QEventLoop listed;
    QObject::connect(listing.get(), &CalDavJob::finished, &listed, &QEventLoop::quit);
    listed.exec();
    if (listing->error() != CalDavError::None) {
        std::fprintf(stderr, "stall_bench: %s\n", qUtf8Printable(listing->errorMessage()));
        return;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    ReminderStore::create(path);
    BenchServices services;
    ReminderStore store(path);
    Reminders reminders(store, services.clock(), services.makeNotifier());
    ProgramWindows programWindows(services.dialogs());
    MainWindow window(store, reminders, programWindows, services);
    window.show();
    SyncScheduler scheduler(store.connection().path(), services.clock());
    bool synced = false;
    QObject::connect(&scheduler, &SyncScheduler::synced, [&](const SyncSummary &summary) {
        std::printf("%-44s %d reminders came\n", "", summary.added);
        synced = true;
    });
    QObject::connect(&scheduler, &SyncScheduler::trouble, [&](const QString &message) {
        std::fprintf(stderr, "stall_bench: the sync failed: %s\n", qUtf8Printable(message));
        synced = true;
    });
    // The window's first showing and agenda are not the sync's.
    QEventLoop settle;
    QTimer::singleShot(1500, &settle, &QEventLoop::quit);
    settle.exec();
    // The program looks at the store every 30 s and after each pass; here every 100 ms, so that looks fall
    // inside the pass's writes.
    QTimer looks;
    QObject::connect(&looks, &QTimer::timeout, &reminders, &Reminders::checkNow);
    looks.start(100);
    QElapsedTimer elapsed;
    StallProbe("background sync, 10,000 reminders down")
        .run(
            [&] {
                elapsed.start();
                scheduler.setAccount({calendar, QStringLiteral("alice"), QStringLiteral("secret"), false});
            },
            [&] { return synced; });
    std::printf("%-44s took %.1f s\n", "", double(elapsed.elapsed()) / 1000);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    alertShake();
    noticeFetch();
    agendaRefresh();
    repeatingWatch();
    backgroundSync();
    return 0;
}
