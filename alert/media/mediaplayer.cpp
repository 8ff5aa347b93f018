// The sound module: the alert sound on Qt Multimedia, loaded at the first sound.
#include "alert/alertsound.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace {

class MediaAlertSound : public AlertSound
{
public:
    MediaAlertSound()
    {
        m_output.setVolume(0.5f);
        m_player.setAudioOutput(&m_output);
    }

    void play(const QString &path) override
    {
        const QUrl source = QUrl::fromLocalFile(path);
        if (m_player.source() == source)
            m_player.stop(); // the same file again: start over from the beginning
        else
            m_player.setSource(source);
        m_player.play();
    }

private:
    QAudioOutput m_output;
    QMediaPlayer m_player;
};

} // namespace

extern "C" Q_DECL_EXPORT AlertSound *orvaneCreateAlertSound()
{
    return new MediaAlertSound;
}
