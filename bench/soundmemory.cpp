// Resident memory of the program around its alert sound, played as the program plays it (ModuleAlertSound,
// which loads the sound module at the first sound): before any sound, after the first alert has played to
// its end, and then along a day of alerts, each one replayed mid-sound once and then played to its end.
// A day's alerts play a short cut of the chime so that the run takes minutes, not a day.
// Usage: soundmemory [alerts, default 1440] [sound file, default 1.mp3 beside the executable]
// Play it on an audio server (PULSE_SERVER), or it measures the silent path.

#include "alert/alertsound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kChimeMs = 3500;
constexpr int kCutBytes = 3000; // the chime's first sixth of a second, with its header frame
constexpr int kReplayAfterMs = 40;
constexpr int kCutPlaysMs = 400; // the cut's sound and its stream's end

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Resident KiB: all of it, then the private part and the mapped files (libraries) within it.
void report(const char *when)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    long rss = 0, anon = 0, file = 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const auto value = [&line] { return line.split(':').value(1).trimmed().split(' ').value(0).toLong(); };
        if (line.startsWith("VmRSS:"))
            rss = value();
        else if (line.startsWith("RssAnon:"))
            anon = value();
        else if (line.startsWith("RssFile:"))
            file = value();
    }
    std::printf("%-36s %8ld KiB resident (%ld private, %ld libraries and files)\n", when, rss, anon, file);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // nothing is shown
    QApplication app(argc, argv);
    const int alerts = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1440;
    const QString chime = argc > 2 ? QString::fromLocal8Bit(argv[2]) : alertSoundPath();

    QTemporaryDir dir;
    const QString cut = dir.filePath(QStringLiteral("cut.mp3"));
    QFile chimeFile(chime);
    QFile cutFile(cut);
    if (!chimeFile.open(QIODevice::ReadOnly) || !cutFile.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "soundmemory: cannot read %s\n", qPrintable(chime));
        return 1;
    }
    cutFile.write(chimeFile.read(kCutBytes));
    cutFile.close();

    ModuleAlertSound sound;
    wait(500);
    report("before the first alert");
    QElapsedTimer timer;
    timer.start();
    sound.play(chime);
    std::printf("%-36s %8.2f ms\n", "first play() returned after", double(timer.nsecsElapsed()) / 1e6);
    wait(kChimeMs + 1500);
    report("after the first alert");

    for (int alert = 1; alert <= alerts; ++alert) {
        sound.play(cut);
        wait(kReplayAfterMs);
        sound.play(cut);
        wait(kCutPlaysMs);
        if (alert % 240 == 0 || alert == alerts)
            report(qPrintable(QStringLiteral("after %1 alerts").arg(alert)));
    }
    return 0;
}
