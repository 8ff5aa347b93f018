#pragma once

#include "alert/alertsound.h"

#include <QStringList>

// A player that notes every file it is asked to play, in a list the test keeps.
class RecordingSound : public AlertSound
{
public:
    explicit RecordingSound(QStringList &played)
        : m_played(played)
    {
    }
    void play(const QString &path) override { m_played << path; }

private:
    QStringList &m_played;
};
