#include "alert/soundplayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaPlayer>
#include <QUrl>

MediaSoundPlayer::MediaSoundPlayer() = default;
MediaSoundPlayer::~MediaSoundPlayer() = default;

void MediaSoundPlayer::setUrl(const QString &path)
{
    if (!m_player) {
        m_output = std::make_unique<QAudioOutput>();
        m_output->setVolume(0.5f);
        m_player = std::make_unique<QMediaPlayer>();
        m_player->setAudioOutput(m_output.get());
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (m_player->source() == source)
        m_player->stop(); // the same address again: start over from the beginning
    else
        m_player->setSource(source);
    m_player->play();
}

QString alertSoundPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/1.mp3");
}

void PlayAlertSound(SoundPlayer &player)
{
    player.setUrl(alertSoundPath());
}
