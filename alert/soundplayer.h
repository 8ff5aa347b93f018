#pragma once

#include <QString>
#include <memory>

class QAudioOutput;
class QMediaPlayer;

// A hidden player: takes an address and plays it once at once, at half volume, with no window and no
// error message of its own; setting an address again starts it again from the beginning.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void setUrl(const QString &path) = 0;
};

// The real player on Qt Multimedia, created on the first sound so that start-up does not pay for it.
class MediaSoundPlayer : public SoundPlayer
{
public:
    MediaSoundPlayer();
    ~MediaSoundPlayer() override;
    void setUrl(const QString &path) override;

private:
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

// "1.mp3" beside the executable, wherever the program was started from.
QString alertSoundPath();
// Plays the alert sound on the given player. A missing or unplayable file is not reported.
void PlayAlertSound(SoundPlayer &player);
