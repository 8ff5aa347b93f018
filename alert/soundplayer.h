#pragma once

#include <QString>
#include <memory>

// A hidden player: takes an address and plays it once at once, at half volume, with no window and no
// error message of its own; setting an address again starts it again from the beginning.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void setUrl(const QString &path) = 0;
};

// The real player on Qt Multimedia, made by the sound module beside the executable (orvane-sound),
// which is loaded at the first sound so that start-up does not pay for Qt Multimedia. Without the
// module the program stays silent and says why once on its error output.
class MediaSoundPlayer : public SoundPlayer
{
public:
    void setUrl(const QString &path) override;

private:
    std::unique_ptr<SoundPlayer> m_player;
};

// "1.mp3" beside the executable, wherever the program was started from.
QString alertSoundPath();
// Plays the alert sound on the given player. A missing or unplayable file is not reported.
void PlayAlertSound(SoundPlayer &player);
