#pragma once

#include "window/dialogs.h"

#include <QStringList>

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
