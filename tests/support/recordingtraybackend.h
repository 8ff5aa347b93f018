#pragma once

#include "window/traybackend.h"

#include <QStringList>

// Writes what the icon asks of the notification area into a journal that outlives it ("show", "icon",
// "hide"), answers as told, and lets the test act on the icon.
class RecordingTrayBackend : public TrayBackend
{
    Q_OBJECT

public:
    explicit RecordingTrayBackend(QStringList &journal)
        : m_journal(journal)
    {
    }

    bool show(const QIcon &icon) override
    {
        m_journal << QStringLiteral("show");
        shownIcon = icon;
        return showAccepted;
    }
    void setIcon(const QIcon &icon) override
    {
        m_journal << QStringLiteral("icon");
        shownIcon = icon;
    }
    bool hide() override
    {
        m_journal << QStringLiteral("hide");
        return true;
    }
    bool isTrayAvailable() const override { return trayAvailable; }
    void setMenu(QMenu *menu) override { this->menu = menu; }
    void setToolTip(const QString &text) override { toolTip = text; }

    // The user acting on the icon.
    void activate(QSystemTrayIcon::ActivationReason reason) { emit activated(reason); }

    bool showAccepted = true;
    bool trayAvailable = true;
    QIcon shownIcon;
    QMenu *menu = nullptr;
    QString toolTip;

private:
    QStringList &m_journal;
};
