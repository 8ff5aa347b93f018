#include "alert/alertsound.h"

#include "core/module.h"

#include <QCoreApplication>

void ModuleAlertSound::play(const QString &path)
{
    if (!m_player) // without the module the program stays silent
        m_player.reset(createFromModule<AlertSound>(QStringLiteral("orvane-sound"), "orvaneCreateAlertSound"));
    if (m_player)
        m_player->play(path);
}

QString alertSoundPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/1.mp3");
}
