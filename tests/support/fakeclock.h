#pragma once

#include "core/clock.h"

// A clock that says what the test sets. Setting `current` later is time passing (a machine asleep too);
// setting it earlier, or with setByHand(), is a wall clock set by hand: no time passes.
class FakeClock : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 3, 4), QTime(8, 30, 15)))
        : current(std::move(now))
        , m_seen(current)
    {
    }
    QDateTime now() const override { return current; }
    qint64 sinceBoot() const override
    {
        if (m_seen < current)
            m_sinceBoot += m_seen.msecsTo(current);
        m_seen = current;
        return m_sinceBoot;
    }
    void setByHand(const QDateTime &to)
    {
        sinceBoot();
        current = to;
        m_seen = to;
    }

    QDateTime current;

private:
    mutable QDateTime m_seen; // `current` when the time that passed was last counted
    mutable qint64 m_sinceBoot = 0;
};
