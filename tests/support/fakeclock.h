#pragma once

#include "core/clock.h"

#include <QMutex>

// A clock that says what the test sets. Setting a later time with setNow() is time passing (a machine asleep
// too); setting an earlier one, or with setByHand(), is a wall clock set by hand: no time passes. Safe to read
// from the watch's thread while the test sets it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 3, 4), QTime(8, 30, 15)))
        : m_current(std::move(now))
        , m_seen(m_current)
    {
    }
    QDateTime now() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_current;
    }
    qint64 sinceBoot() const override
    {
        QMutexLocker lock(&m_mutex);
        return countPassed();
    }
    void setNow(const QDateTime &to)
    {
        QMutexLocker lock(&m_mutex);
        m_current = to;
    }
    void setByHand(const QDateTime &to)
    {
        QMutexLocker lock(&m_mutex);
        countPassed();
        m_current = to;
        m_seen = to;
    }

private:
    qint64 countPassed() const
    {
        if (m_seen < m_current)
            m_sinceBoot += m_seen.msecsTo(m_current);
        m_seen = m_current;
        return m_sinceBoot;
    }

    mutable QMutex m_mutex;
    QDateTime m_current;
    mutable QDateTime m_seen; // m_current when the time that passed was last counted
    mutable qint64 m_sinceBoot = 0;
};
