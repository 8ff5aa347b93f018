#pragma once

#include <QObject>

// Tells when the machine wakes from sleep (logind's PrepareForSleep(false) on the system bus), so that the
// reminder watch looks at once instead of at its next tick. Without a system bus or logind it stays silent.
class SleepWatch : public QObject
{
    Q_OBJECT

public:
    explicit SleepWatch(QObject *parent = nullptr);

signals:
    void resumed();

private slots:
    void prepareForSleep(bool sleeping);
};
