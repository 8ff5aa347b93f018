#include "alert/soundplayer.h"

#include "core/module.h"

#include <QCoreApplication>

void MediaSoundPlayer::setUrl(const QString &path)
{
    if (!m_player) {
        using Create = SoundPlayer *(*)();
        // Tried once per program: without the module the program stays silent.
        static const auto create =
            reinterpret_cast<Create>(moduleFunction(QStringLiteral("orvane-sound"), "orvaneCreateSoundPlayer"));
        if (create)
            m_player.reset(create());
    }
    if (m_player)
        m_player->setUrl(path);
}

QString alertSoundPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/1.mp3");
}

void PlayAlertSound(SoundPlayer &player)
{
    player.setUrl(alertSoundPath());
}
