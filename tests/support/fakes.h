#pragma once

#include "core/clock.h"
#include "window/dialogs.h"

#include <QStringList>

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

// Records every notice instead of blocking on a message box. Each entry reads "kind|caption|text".
class RecordingDialogs : public Dialogs
{
public:
    void errorBox(const QString &message) override { shown << QStringLiteral("error||") + errorBoxText(message); }
    void informationBox(const QString &text, const QString &caption) override
    {
        shown << QStringLiteral("info|%1|%2").arg(caption, text);
    }
    void messageDialog(const QString &text) override { shown << QStringLiteral("message||") + text; }
    QStringList shown;
};
