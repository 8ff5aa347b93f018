#pragma once

#include <QObject>
#include <QString>
#include <memory>

// A hidden player: plays a file once, at once, at half volume, with no window and no error message of its
// own; playing again starts over from the beginning. Each window that plays the alert sound owns one.
class AlertSound
{
public:
    virtual ~AlertSound() = default;
    virtual void play(const QString &path) = 0;
};

// What the sound module (orvane-sound) gives the program: its players.
class AlertSoundModule
{
public:
    virtual ~AlertSoundModule() = default;
    // Null when not even the audio client can be made: the program then stays silent.
    virtual std::unique_ptr<AlertSound> createAlertSound() = 0;
};

#define AlertSoundModule_iid "org.orvane.reminder.AlertSound/1.0"
Q_DECLARE_INTERFACE(AlertSoundModule, AlertSoundModule_iid)

// The player of the sound module (orvane-sound beside the executable), loaded at the first sound so that
// start-up does not pay for the audio libraries. Without the module the program stays silent and says why
// once on its error output.
class ModuleAlertSound : public AlertSound
{
public:
    void play(const QString &path) override;

private:
    std::unique_ptr<AlertSound> m_player;
};

// "1.mp3" beside the executable, wherever the program was started from.
QString alertSoundPath();
