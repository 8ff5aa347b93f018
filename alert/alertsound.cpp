#include "alert/alertsound.h"

#include "core/module.h"

#include <QCoreApplication>

void ModuleAlertSound::play(const QString &path)
{
    if (!m_player) { // without the module the program stays silent
        if (auto *module = moduleInterface<AlertSoundModule>(QStringLiteral("orvane-sound")))
            m_player = module->createAlertSound();
    }
    if (m_player)
        m_player->play(path);
}

QString alertSoundPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/1.mp3");
}
