#pragma once

#include <QDateTime>
#include <time.h>

// Source of the current local date and time, and of the time that really passes; tests hand in a fixed one.
// The watch and the sync read it from threads of their own: every clock must be safe to read from any thread.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that nobody sets and that runs on while the machine sleeps: the time that really
    // passed between two readings, whatever was done to the wall clock meanwhile.
    virtual qint64 sinceBoot() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    // CLOCK_BOOTTIME, not CLOCK_MONOTONIC (QElapsedTimer's): the minutes of a sleep really passed.
    qint64 sinceBoot() const override
    {
        timespec time{};
        clock_gettime(CLOCK_BOOTTIME, &time);
        return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
    }
};
