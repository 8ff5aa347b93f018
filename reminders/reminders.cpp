#include "reminders/reminders.h"

#include "alert/desktopnotifier.h"
#include "core/apperror.h"
#include "core/clock.h"
#include "core/wallclock.h"
#include "store/connection.h"
#include "store/reminderstore.h"

#include <QTimer>

Reminders::Reminders(ReminderStore &store, const Clock &clock, std::unique_ptr<DesktopNotifier> notifier,
                     QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clock(clock)
    , m_watch(store.connection().path(), clock)
    , m_snoozes(store)
    , m_notifier(std::move(notifier))
{
    connect(&m_watch, &WatchThread::remindersDue, this, &Reminders::queue);
    connect(&m_watch, &WatchThread::looked, this, &Reminders::lookEnded);
    connect(m_notifier.get(), &DesktopNotifier::activated, this, &Reminders::alertRequested);
    connect(m_notifier.get(), &DesktopNotifier::snoozeRequested, this, &Reminders::snoozeFromNotification);
    auto *watchTimer = new QTimer(this);
    watchTimer->setObjectName(QStringLiteral("watchTimer"));
    connect(watchTimer, &QTimer::timeout, &m_watch, &WatchThread::check);
    watchTimer->start(30000);
}

Reminders::~Reminders() = default;

void Reminders::checkNow()
{
    m_watch.check();
}

// What was put off, and the agenda, follow a look that succeeded; a failed one tells its failure alone.
void Reminders::lookEnded(const QString &failure)
{
    // Nothing may escape a slot that Qt calls: a failure goes to the windows as a message.
    if (!failure.isEmpty())
        emit storeFailed(failure);
    else if (const std::optional<QString> message = failureOf([this] { afterLook(); }))
        emit storeFailed(*message);
    emit looked();
}

void Reminders::afterLook()
{
    raiseSnoozed();
    const QDate today = m_clock.now().date();
    const qint64 version = m_store.dataVersion();
    if (today != m_agendaDay || version != m_agendaVersion) {
        m_agendaDay = today;
        m_agendaVersion = version;
        emit agendaChanged();
    }
}

// What was put off comes again at its time, or at the first look after it: after a restart or a sleep too.
void Reminders::raiseSnoozed()
{
    const QList<Reminder> due = m_snoozes.takeDue(WallClock::of(m_clock.now()));
    if (due.isEmpty())
        return;
    emit agendaChanged(); // they leave it
    queue(due);
}

void Reminders::snooze(const Reminder &reminder, int minutes)
{
    const std::optional<QString> failure = failureOf([&] {
        m_snoozes.snooze(reminder, WallClock::of(m_clock.now()).addSecs(qint64(minutes) * 60));
        emit agendaChanged(); // it shows there at its new time
    });
    if (failure)
        emit storeFailed(*failure);
}

// Put off from its notification: its alert, open or waiting, goes too.
void Reminders::snoozeFromNotification(const Reminder &reminder, int minutes)
{
    snooze(reminder, minutes);
    const auto same = [&reminder](const Reminder &other) {
        return other.rowid == reminder.rowid && other.due == reminder.due;
    };
    m_waiting.removeIf(same);
    if (m_alertOpen && same(m_showing))
        emit alertWithdrawn();
}

void Reminders::queue(const QList<Reminder> &due)
{
    for (const Reminder &reminder : due)
        m_notifier->notify(reminder);
    m_waiting += due;
    showNext();
}

void Reminders::alertClosed()
{
    m_alertOpen = false;
    showNext();
}

void Reminders::showNext()
{
    if (m_alertOpen || m_waiting.isEmpty())
        return;
    m_alertOpen = true;
    m_showing = m_waiting.takeFirst();
    emit showAlert(m_showing);
}
