#include "alert/alertsound.h"
#include "alert/alertwindow.h"
#include "alert/windowshake.h"
#include "store/reminder.h"
#include "store/textformats.h"
#include "tests/support/fakescreen.h"
#include "tests/support/recordingsound.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

Reminder reminderAt(QTime time, const QString &subject = QStringLiteral("会议"),
                    const QString &content = QStringLiteral("带上笔记本"))
{
    Reminder reminder;
    reminder.id = 1;
    reminder.subject = subject;
    reminder.content = content;
    reminder.due = QDateTime(QDate(2026, 3, 4), time, Qt::UTC);
    reminder.day = QDate(2026, 3, 4);
    return reminder;
}

// Records where a window stands after every move.
class MoveRecorder : public QObject
{
public:
    explicit MoveRecorder(QWidget &window) { window.installEventFilter(this); }
    QList<QPoint> seen;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Move)
            seen << static_cast<QMoveEvent *>(event)->pos();
        return false;
    }
};

} // namespace

class TestAlert : public QObject
{
    Q_OBJECT

private slots:
    void fieldsShowTheReminder_data();
    void fieldsShowTheReminder();
    void everyAlertShakesThenSounds();
    void firstAlertIsCentredLaterOnesStayPut();
    void closedWhileShakingItNeitherShakesOnNorSounds();
    void keyboardReachesEveryControlFromTheSubject();
    void keys_data();
    void keys();
    void shakeStaysInBoundsAndReturns();
    void soundLivesBesideTheExecutable();
    void putOffFromTheKeyboard_data();
    void putOffFromTheKeyboard();
    void putOffBesideBackCoveringNothing();
};

void TestAlert::fieldsShowTheReminder_data()
{
    QTest::addColumn<Reminder>("reminder");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("content");
    const QString nineThirty = regionalDateTimeText(QDateTime(QDate(2026, 3, 4), QTime(9, 30), Qt::UTC));
    const QString midnight = regionalDateTimeText(QDateTime(QDate(2026, 3, 4), QTime(0, 0), Qt::UTC));
    QTest::newRow("full reminder") << reminderAt(QTime(9, 30), QStringLiteral("会议"),
                                                 QStringLiteral("第一行\r\n第二行"))
                                   << "会议" << nineThirty << "第一行\n第二行";
    QTest::newRow("midnight shows the date alone") << reminderAt(QTime(0, 0)) << "会议" << midnight << "带上笔记本";
    QTest::newRow("empty subject") << reminderAt(QTime(9, 30), QStringLiteral("")) << "" << nineThirty << "带上笔记本";
    QTest::newRow("blank subject kept") << reminderAt(QTime(9, 30), QStringLiteral("   ")) << "   " << nineThirty
                                        << "带上笔记本";
    QTest::newRow("empty content") << reminderAt(QTime(9, 30), QStringLiteral("s"), QStringLiteral("")) << "s"
                                   << nineThirty << "";
    QTest::newRow("no content") << reminderAt(QTime(9, 30), QStringLiteral("s"), QString()) << "s" << nineThirty << "";
    QTest::newRow("no subject") << reminderAt(QTime(9, 30), QString()) << "" << nineThirty << "带上笔记本";
    const QString huge(10 * 1024 * 1024, QLatin1Char('x')); // one unbroken run, as another tool may write it
    QTest::newRow("10 MB content") << reminderAt(QTime(9, 30), QStringLiteral("s"), huge) << "s" << nineThirty << huge;
    Reminder unreadableTime = reminderAt(QTime(9, 30));
    unreadableTime.due = QDateTime();
    QTest::newRow("unreadable time") << unreadableTime << "会议"
                                     << ""
                                     << "带上笔记本";
}

void TestAlert::fieldsShowTheReminder()
{
    QFETCH(Reminder, reminder);
    QFETCH(QString, subject);
    QFETCH(QString, time);
    QFETCH(QString, content);
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    auto *subjectField = alert.findChild<QLineEdit *>(QStringLiteral("subjectField"));
    subjectField->setText(QStringLiteral("left from an earlier alert"));
    alert.showReminder(reminder);
    QCOMPARE(subjectField->text(), subject);
    QCOMPARE(alert.findChild<QLineEdit *>(QStringLiteral("timeField"))->text(), time);
    QCOMPARE(alert.findChild<QPlainTextEdit *>(QStringLiteral("contentField"))->toPlainText(), content);
    QVERIFY(alert.isVisible()); // shown all the same
}

void TestAlert::everyAlertShakesThenSounds()
{
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    for (int showing = 1; showing <= 2; ++showing) {
        alert.showReminder(reminderAt(QTime(9, 30)));
        QVERIFY(alert.isOpen());
        const QPoint origin = alert.pos();
        QCOMPARE(played.size(), showing - 1); // not before the shake has ended
        QTRY_COMPARE(played.size(), showing);
        QCOMPARE(alert.pos(), origin);
        QCOMPARE(played.last(), alertSoundPath());
        alert.reject();
        QVERIFY(!alert.isOpen());
    }
}

void TestAlert::firstAlertIsCentredLaterOnesStayPut()
{
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    alert.showReminder(reminderAt(QTime(9, 30)));
    QCOMPARE(alert.pos(), centredOn(screen.geometry(), QSize(600, 450)));
    QTRY_COMPARE(played.size(), 1);
    alert.reject();
    alert.move(40, 30); // where the user dragged it
    alert.showReminder(reminderAt(QTime(9, 31)));
    QCOMPARE(alert.pos(), QPoint(40, 30));
}

void TestAlert::closedWhileShakingItNeitherShakesOnNorSounds()
{
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    alert.showReminder(reminderAt(QTime(9, 30)));
    const QPoint origin = centredOn(screen.geometry(), QSize(600, 450));
    alert.reject(); // at once, well inside the shake
    QCOMPARE(alert.pos(), origin);
    QTest::qWait(700); // longer than a shake
    QVERIFY(played.isEmpty());
    QCOMPARE(alert.pos(), origin);
    alert.showReminder(reminderAt(QTime(9, 31))); // the next alert has a shake and a sound of its own
    QTRY_COMPARE(played.size(), 1);
    QCOMPARE(alert.pos(), origin);
    alert.reject();
}

// Tab goes through the fields, 返回 and then the picture's areas, each named for screen readers; the window
// opens on the subject, where Enter does nothing.
void TestAlert::keyboardReachesEveryControlFromTheSubject()
{
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    alert.showReminder(reminderAt(QTime(9, 30)));
    QVERIFY(QTest::qWaitForWindowActive(&alert));
    const auto focusNameAndRole = [] {
        QAccessibleInterface *focus = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
        return focus->text(QAccessible::Name) + QLatin1Char(' ') + QString::number(focus->role());
    };
    const QString edit = QString::number(QAccessible::EditableText);
    const QString button = QString::number(QAccessible::Button);
    const QStringList order{"日程主题： " + edit, "日程内容： " + edit, "提醒时间： " + edit,
                            "返回 " + button,     "稍后提醒 " + button, "最小化 " + button,
                            "关闭 " + button,     "播放 " + button,     "日程主题： " + edit};
    QStringList visited{focusNameAndRole()};
    for (int presses = 1; presses < order.size(); ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusNameAndRole();
    }
    QCOMPARE(visited, order);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(alert.isOpen());
    alert.reject();
}

void TestAlert::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Escape in the content") << "contentField" << int(Qt::Key_Escape) << true;
    QTest::newRow("Enter in the content") << "contentField" << int(Qt::Key_Return) << false;
    QTest::newRow("Enter on 返回") << "backButton" << int(Qt::Key_Return) << true;
    QTest::newRow("Space on 返回") << "backButton" << int(Qt::Key_Space) << true;
}

void TestAlert::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, closes);
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    QSignalSpy finished(&alert, &QDialog::finished);
    alert.showReminder(reminderAt(QTime(9, 30)));
    QVERIFY(QTest::qWaitForWindowActive(&alert));
    auto *control = alert.findChild<QWidget *>(focus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key));
    QCOMPARE(alert.isOpen(), !closes);
    QCOMPARE(finished.size(), closes ? 1 : 0);
    alert.reject();
}

void TestAlert::shakeStaysInBoundsAndReturns()
{
    QWidget window;
    window.move(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    MoveRecorder moves(window);
    WindowShake shake(&window);
    QSignalSpy finished(&shake, &WindowShake::finished);
    shake.start();
    QVERIFY(finished.wait());
    QTRY_COMPARE(moves.seen.last(), QPoint(300, 200));
    QCOMPARE(window.pos(), QPoint(300, 200));
    QVERIFY(moves.seen.size() > WindowShake::kPasses); // a move that lands where the window stands is no move
    QSet<int> offsets;
    for (const QPoint &p : std::as_const(moves.seen)) {
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
}

void TestAlert::putOffFromTheKeyboard_data()
{
    QTest::addColumn<Qt::Key>("opens");
    QTest::addColumn<int>("downs");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("testChoice");
    QTest::newRow("space, first") << Qt::Key_Space << 0 << 5 << false;
    QTest::newRow("enter, last") << Qt::Key_Return << 3 << 60 << false;
    QTest::newRow("the tests' minute first") << Qt::Key_Space << 0 << 1 << true;
    QTest::newRow("then the usual ones") << Qt::Key_Space << 2 << 10 << true;
}

void TestAlert::putOffFromTheKeyboard()
{
    QFETCH(Qt::Key, opens);
    QFETCH(int, downs);
    QFETCH(int, minutes);
    QFETCH(bool, testChoice);
    if (testChoice)
        qputenv("ORVANE_TEST_SNOOZE_CHOICE", "1");
    else
        qunsetenv("ORVANE_TEST_SNOOZE_CHOICE");
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    qunsetenv("ORVANE_TEST_SNOOZE_CHOICE");
    QSignalSpy snoozed(&alert, &AlertWindow::snoozeRequested);
    QSignalSpy closed(&alert, &QDialog::finished);
    alert.showReminder(reminderAt(QTime(9, 30), QStringLiteral("取快递")));
    QVERIFY(QTest::qWaitForWindowActive(&alert));
    auto *back = alert.findChild<QPushButton *>(QStringLiteral("backButton"));
    back->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("snoozeButton"));
    QTest::keyClick(QApplication::focusWidget(), opens);
    auto *menu = alert.findChild<QMenu *>(QStringLiteral("snoozeMenu"));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), testChoice ? 5 : 4);
    QVERIFY(alert.isOpen()); // until a delay is chosen
    for (int down = 0; down <= downs; ++down)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    QCOMPARE(snoozed.size(), 1);
    QCOMPARE(snoozed.first().at(0).value<Reminder>().subject, QStringLiteral("取快递"));
    QCOMPARE(snoozed.first().at(1).toInt(), minutes);
    QCOMPARE(closed.size(), 1);
    QVERIFY(!alert.isOpen());
}

void TestAlert::putOffBesideBackCoveringNothing()
{
    FakeScreen screen;
    QStringList played;
    AlertWindow alert(screen, std::make_unique<RecordingSound>(played));
    auto *snooze = alert.findChild<QPushButton *>(QStringLiteral("snoozeButton"));
    auto *back = alert.findChild<QPushButton *>(QStringLiteral("backButton"));
    QCOMPARE(back->geometry(), QRect(467, 276, 75, 25));
    QCOMPARE(snooze->text(), QStringLiteral("稍后提醒"));
    QCOMPARE(snooze->y(), back->y());
    for (QWidget *control : snooze->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control != snooze)
            QVERIFY2(!control->geometry().intersects(snooze->geometry()), qPrintable(control->objectName()));
    }
}

QTEST_MAIN(TestAlert)
#include "tst_alert.moc"
