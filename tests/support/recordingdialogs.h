#pragma once

#include "window/dialogs.h"

#include <QStringList>

#include <functional>

// Records every notice instead of blocking on a message box. Each entry reads "kind|caption|text".
class RecordingDialogs : public Dialogs
{
public:
    void errorBox(const QString &message) override { record(QStringLiteral("error||") + errorBoxText(message)); }
    void informationBox(const QString &text, const QString &caption) override
    {
        record(QStringLiteral("info|%1|%2").arg(caption, text));
    }
    void messageDialog(const QString &text) override { record(QStringLiteral("message||") + text); }

    QStringList shown;
    // Runs while a box stands, as the program's timers would in a real box's event loop.
    std::function<void()> whileShown;

private:
    void record(const QString &entry)
    {
        shown << entry;
        if (whileShown)
            whileShown();
    }
};
