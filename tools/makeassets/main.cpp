// Draws the program's pictures and icons into the folder given as the only argument:
//   orvane-makeassets <folder>
// Runs without a display (the offscreen platform is used unless another one is chosen).

#include "beetle.h"
#include "paint.h"
#include "pictures.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "orvane-makeassets: %s\n", qUtf8Printable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2)
        return fail(QStringLiteral("usage: orvane-makeassets <output folder>"));
    if (!QFontDatabase::families().contains(QString::fromLatin1(art::kCaptionFamily)))
        return fail(QStringLiteral("the font \"%1\" is missing (Debian package fonts-wqy-microhei)")
                        .arg(QString::fromLatin1(art::kCaptionFamily)));
    const QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot create %1").arg(folder.absolutePath()));

    const struct
    {
        const char *file;
        QImage image;
        int quality; // -1: the format's default
    } outputs[] = {
        {"main.png", art::mainPicture(), -1},
        {"alert.png", art::alertPicture(), -1},
        {"manager.png", art::managerPicture(), -1},
        {"about.jpg", art::aboutPicture(), 92},
        {"beetle-green.png", art::beetleIcon(art::kGreenShell, 32), -1},
        {"beetle-red.png", art::beetleIcon(art::kRedShell, 32), -1},
        {"beetle-yellow.png", art::beetleIcon(art::kYellowShell, 32), -1},
        {"app.png", art::beetleIcon(art::kRedShell, 64), -1},
    };
    for (const auto &output : outputs) {
        const QString path = folder.filePath(QString::fromLatin1(output.file));
        if (!output.image.save(path, nullptr, output.quality))
            return fail(QStringLiteral("cannot write %1").arg(path));
    }
    return 0;
}
