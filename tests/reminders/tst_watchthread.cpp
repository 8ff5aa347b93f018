// The watch on its own thread: what a look raises, and how it fails, reaches the thread that asked, once however
// many looks were asked for meanwhile; and it ends cleanly with a look under way.

#include "reminders/watchthread.h"
#include "tests/support/fakeclock.h"
#include "tests/support/tempdatabase.h"

#include <QFile>
#include <QTest>
#include <QThread>

namespace {

QDateTime at(QTime time)
{
    return QDateTime(QDate(2026, 3, 4), time);
}

} // namespace

class TestWatchThread : public QObject
{
    Q_OBJECT

private slots:
    void looksComeBackOnceToTheAskingThread_data();
    void looksComeBackOnceToTheAskingThread();
    void endsWithALookUnderWay();
};

void TestWatchThread::looksComeBackOnceToTheAskingThread_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QStringList>("raised");
    QTest::addColumn<QString>("failure");
    QTest::newRow("a reminder falls due") << true << QStringList{QStringLiteral("会议")} << QString();
    QTest::newRow("the file is gone") << false << QStringList() << QStringLiteral("找不到数据库文件");
}

void TestWatchThread::looksComeBackOnceToTheAskingThread()
{
    QFETCH(bool, fileThere);
    QFETCH(QStringList, raised);
    QFETCH(QString, failure);
    TempDatabase db;
    db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values('会议','','2026-03-04 08:30:00','2026-03-04')"));
    if (!fileThere)
        QVERIFY(QFile::remove(db.path()));
    FakeClock clock(at(QTime(8, 29, 50)));
    WatchThread watch(db.path(), clock);
    QStringList due;
    QStringList ends; // each look's failure, or none
    int elsewhere = 0;
    connect(&watch, &WatchThread::remindersDue, this, [&](const QList<Reminder> &reminders) {
        elsewhere += QThread::currentThread() != thread();
        for (const Reminder &reminder : reminders)
            due << reminder.subject;
    });
    connect(&watch, &WatchThread::looked, this, [&](const QString &message) {
        elsewhere += QThread::currentThread() != thread();
        ends << message;
    });
    clock.setNow(at(QTime(8, 30, 10)));
    for (int asked = 0; asked < 3; ++asked) // asked for while the first runs
        watch.check();
    QTRY_COMPARE(ends.size(), 3);
    QCOMPARE(due, raised);
    for (const QString &message : std::as_const(ends))
        QVERIFY2(failure.isEmpty() ? message.isEmpty() : message.contains(failure), qPrintable(message));
    QCOMPARE(elsewhere, 0);
}

// The program closes while the watch looks: the look ends on its thread, and nothing comes back after.
void TestWatchThread::endsWithALookUnderWay()
{
    TempDatabase db;
    FakeClock clock;
    auto watch = std::make_unique<WatchThread>(db.path(), clock);
    watch->check();
    watch.reset();
    QTest::qWait(50); // what the look sent back is gone with the watch
}

QTEST_GUILESS_MAIN(TestWatchThread)
#include "tst_watchthread.moc"
