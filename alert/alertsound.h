#pragma once

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
