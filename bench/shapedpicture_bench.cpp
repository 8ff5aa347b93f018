// How long regionFromPicture takes for the program's three background pictures and for a noisy 600 x 450
// picture (its worst case: short runs that never merge into bands). Prints one line per picture.

#include "window/shapedpicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 200;

QImage noisyPicture()
{
    QImage image(600, 450, QImage::Format_RGB32);
    QRandomGenerator random(2024);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.bounded(2) ? qRgb(0, 0, 0) : qRgb(200, 60, 30));
    }
    return image;
}

void measure(const char *name, const QImage &file, bool tolerant)
{
    const QImage picture = file.convertToFormat(QImage::Format_RGB32); // as the window keeps it
    std::vector<double> times;
    int rects = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QRegion region = regionFromPicture(picture, tolerant);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        rects = region.rectCount();
    }
    std::sort(times.begin(), times.end());
    std::printf("regionFromPicture %-24s %4d x %3d%s: median %.3f ms, best %.3f ms, %d rectangles\n", name,
                picture.width(), picture.height(), tolerant ? " tolerant" : "         ", times[times.size() / 2],
                times.front(), rects);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // nothing is shown
    QApplication app(argc, argv);
    measure("main window picture", QImage(QStringLiteral(":/assets/main.png")), false);
    measure("manager window picture", QImage(QStringLiteral(":/assets/manager.png")), false);
    measure("alert window picture", QImage(QStringLiteral(":/assets/alert.png")), false);
    measure("noisy picture", noisyPicture(), false);
    measure("noisy picture", noisyPicture(), true);
    return 0;
}
