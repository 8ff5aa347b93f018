#include "alert/alertwindow.h"
#include "alert/shake.h"
#include "store/datamodule.h"
#include "store/textformats.h"
#include "tests/support/fakes.h"
#include "tests/support/tempdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

class RecordingPlayer : public SoundPlayer
{
public:
    explicit RecordingPlayer(QStringList &played)
        : m_played(played)
    {
    }
    void setUrl(const QString &path) override { m_played << path; }

private:
    QStringList &m_played;
};

} // namespace

class TestAlert : public QObject
{
    Q_OBJECT

private slots:
    void fieldsFromTheDueRow_data();
    void fieldsFromTheDueRow();
    void everyShowingShakesAndSounds();
    void shakeStaysInBoundsAndReturns();
    void soundLivesBesideTheExecutable();
};

void TestAlert::fieldsFromTheDueRow_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("reported");
    const QString nineThirty = regionalDateTimeText(QDateTime(QDate(2026, 3, 4), QTime(9, 30), Qt::UTC));
    const QString midnight = regionalDateTimeText(QDateTime(QDate(2026, 3, 4), QTime(0, 0), Qt::UTC));
    QTest::newRow("full row") << "'会议','第一行\r\n第二行','2026-03-04 09:30:00'"
                              << "会议" << nineThirty << "第一行\n第二行" << false;
    QTest::newRow("midnight shows the date alone") << "'s','c','2026-03-04 00:00:00'"
                                                   << "s" << midnight << "c" << false;
    QTest::newRow("empty subject") << "'','c','2026-03-04 09:30:00'"
                                   << "" << nineThirty << "c" << false;
    QTest::newRow("blank subject kept") << "'   ','c','2026-03-04 09:30:00'"
                                        << "   " << nineThirty << "c" << false;
    QTest::newRow("empty content") << "'s','','2026-03-04 09:30:00'"
                                   << "s" << nineThirty << "" << false;
    QTest::newRow("no due row") << ""
                                << ""
                                << ""
                                << "" << false;
    QTest::newRow("missing content stops the filling") << "'s',null,'2026-03-04 09:30:00'"
                                                       << "s" << nineThirty << "" << true;
}

void TestAlert::fieldsFromTheDueRow()
{
    QFETCH(QString, row);
    QFETCH(QString, subject);
    QFETCH(QString, time);
    QFETCH(QString, content);
    QFETCH(bool, reported);
    TempDatabase db;
    if (!row.isEmpty())
        db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values(%1,'2026-03-04')").arg(row));
    Tdm dm(db.path());
    dm.qry4.bind(0, row.contains(QLatin1String("00:00:00")) ? "2026-03-04 00:00:00" : "2026-03-04 09:30:00");
    dm.qry4.open();
    RecordingDialogs dialogs;
    QStringList played;
    TForm3 alert(
        dm, dialogs, [] {}, std::make_unique<RecordingPlayer>(played));
    alert.Edit3->setText(QStringLiteral("left from an earlier alert"));
    alert.FormShow();
    QCOMPARE(alert.Edit3->text(), subject);
    QCOMPARE(alert.Edit5->text(), time);
    QCOMPARE(alert.Memo3->toPlainText(), content);
    QCOMPARE(dialogs.shown.size(), reported ? 1 : 0);
}

void TestAlert::everyShowingShakesAndSounds()
{
    TempDatabase db;
    Tdm dm(db.path());
    dm.qry4.bind(0, "2026-03-04 09:30:00");
    dm.qry4.open();
    RecordingDialogs dialogs;
    QStringList played;
    TForm3 alert(
        dm, dialogs, [] {}, std::make_unique<RecordingPlayer>(played));
    for (int showing = 1; showing <= 2; ++showing) {
        QTimer::singleShot(0, &alert, [&] {
            QTRY_COMPARE(played.size(), showing);
            alert.close();
        });
        alert.exec();
    }
    QCOMPARE(played.size(), 2);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestAlert::shakeStaysInBoundsAndReturns()
{
    QWidget window;
    window.move(300, 200);
    QList<QPoint> seen;
    shakeWindow(window, [&] { seen << window.pos(); });
    QCOMPARE(seen.size(), 202);
    QCOMPARE(window.pos(), QPoint(300, 200));
    QSet<int> offsets;
    for (const QPoint &p : seen) {
        QVERIFY(p.x() >= 290 && p.x() <= 309);
        QVERIFY(p.y() >= 190 && p.y() <= 209);
        offsets << p.x() - 300;
    }
    QVERIFY(offsets.size() > 10); // really random, not one fixed offset
}

void TestAlert::soundLivesBesideTheExecutable()
{
    // Started from another working directory, the path still points beside the executable.
    QDir::setCurrent(QDir::tempPath());
    QCOMPARE(alertSoundPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/1.mp3"));
    QStringList played;
    RecordingPlayer player(played);
    PlayAlertSound(player);
    PlayAlertSound(player);
    QCOMPARE(played, QStringList(2, alertSoundPath()));
}

QTEST_MAIN(TestAlert)
#include "tst_alert.moc"
