#include "alert/alertsound.h"

#include "core/module.h"

#include <QCoreApplication>

void ModuleAlertSound::play(const QString &path)
{
    if (!m_player) {
        using Create = AlertSound *(*)();
        // Looked up once per program: without the module the program stays silent.
        static const auto create =
            reinterpret_cast<Create>(moduleFunction(QStringLiteral("orvane-sound"), "orvaneCreateAlertSound"));
        if (create)
            m_player.reset(create());
    }
    if (m_player)
        m_player->play(path);
}

QString alertSoundPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/1.mp3");
}
