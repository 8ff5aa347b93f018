#pragma once

#include <QString>

// Starting the program at login: the desktop entry $XDG_CONFIG_HOME/autostart/orvane-reminder.desktop
// (~/.config/autostart without XDG_CONFIG_HOME, or with a relative one), which the desktop runs when the user logs in.
// Installed, the entry runs the launcher beside the program's folder (bin/orvane-reminder), as the menu entry does; run
// from a build folder, it runs the program itself in the directory it was started in. Nothing but that one file is ever
// written.
class Autostart
{
public:
    // `programPath`: the program's executable; `startDirectory`: the directory it was started in.
    Autostart(const QString &programPath, const QString &startDirectory);
    // The program as it runs now.
    Autostart();

    // Whether the entry exists and the desktop will run it.
    bool isEnabled() const;
    // Writes the entry, or removes it. Throws AppError when it cannot.
    void setEnabled(bool enabled);

    static QString entryPath();

private:
    QString entryText() const;

    QString m_programPath;
    QString m_startDirectory;
    QString m_launcher; // empty when the program does not run installed
};
