#pragma once

#include "core/clock.h"

// A clock that says what the test sets.
class FakeClock : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 3, 4), QTime(8, 30, 15)))
        : current(std::move(now))
    {
    }
    QDateTime now() const override { return current; }
    QDateTime current;
};
