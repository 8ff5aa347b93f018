// The sound module: the program's player on Qt Multimedia, loaded at the first sound.
#include "alert/soundplayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace {

class QtMediaSoundPlayer : public SoundPlayer
{
public:
    QtMediaSoundPlayer()
    {
        m_output.setVolume(0.5f);
        m_player.setAudioOutput(&m_output);
    }

    void setUrl(const QString &path) override
    {
        const QUrl source = QUrl::fromLocalFile(path);
        if (m_player.source() == source)
            m_player.stop(); // the same address again: start over from the beginning
        else
            m_player.setSource(source);
        m_player.play();
    }

private:
    QAudioOutput m_output;
    QMediaPlayer m_player;
};

} // namespace

extern "C" Q_DECL_EXPORT SoundPlayer *orvaneCreateSoundPlayer()
{
    return new QtMediaSoundPlayer;
}
