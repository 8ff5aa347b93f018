// Draws the program's pictures and icons into the folder given as the only argument:
//   orvane-makeassets <folder>
// Runs without a display (the offscreen platform is used unless another one is chosen).

#include "beetle.h"
#include "captions.h"
#include "paint.h"
#include "pictures.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "orvane-makeassets: %s\n", qUtf8Printable(message));
    return 1;
}

// The windows' pictures with the captions of one language, into `folder`; the path that could not be written,
// if any.
QString writePictures(const art::Captions &captions, const QDir &folder)
{
    const struct
    {
        const char *file;
        QImage image;
        int quality; // -1: the format's default
    } outputs[] = {
        {"main.png", art::mainPicture(captions), -1},       {"main@2x.png", art::mainPicture(captions, 2), -1},
        {"alert.png", art::alertPicture(captions), -1},     {"alert@2x.png", art::alertPicture(captions, 2), -1},
        {"manager.png", art::managerPicture(captions), -1}, {"manager@2x.png", art::managerPicture(captions, 2), -1},
        {"about.jpg", art::aboutPicture(captions), 92},     {"about@2x.jpg", art::aboutPicture(captions, 2), 92},
    };
    for (const auto &output : outputs) {
        const QString path = folder.filePath(QString::fromLatin1(output.file));
        if (!output.image.save(path, nullptr, output.quality))
            return path;
    }
    return {};
}

// The program's icon in the desktop's icon theme, for a package to install:
// icons/hicolor/<n>x<n>/apps/orvane-reminder.png and icons/hicolor/scalable/apps/orvane-reminder.svg.
bool writeThemeIcons(const QDir &folder)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        if (!folder.mkpath(dir)
            || !art::beetleIcon(art::kRedShell, size)
                    .save(folder.filePath(dir + QStringLiteral("/orvane-reminder.png"))))
            return false;
    }
    const QString dir = QStringLiteral("icons/hicolor/scalable/apps");
    if (!folder.mkpath(dir))
        return false;
    QSvgGenerator svg;
    svg.setFileName(folder.filePath(dir + QStringLiteral("/orvane-reminder.svg")));
    svg.setTitle(QStringLiteral("Orvane日程提醒"));
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    art::drawBeetle(painter, QRectF(0, 0, 256, 256), art::kRedShell);
    return painter.end();
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
    } icons[] = {
        {"beetle-green.png", art::beetleIcon(art::kGreenShell, 32)},
        {"beetle-green@2x.png", art::beetleIcon(art::kGreenShell, 64)},
        {"beetle-red.png", art::beetleIcon(art::kRedShell, 32)},
        {"beetle-red@2x.png", art::beetleIcon(art::kRedShell, 64)},
        {"beetle-yellow.png", art::beetleIcon(art::kYellowShell, 32)},
        {"beetle-yellow@2x.png", art::beetleIcon(art::kYellowShell, 64)},
        {"app.png", art::beetleIcon(art::kRedShell, 64)},
    };
    for (const auto &icon : icons) {
        const QString path = folder.filePath(QString::fromLatin1(icon.file));
        if (!icon.image.save(path))
            return fail(QStringLiteral("cannot write %1").arg(path));
    }
    // The Chinese pictures are the program's own; the English ones lie under en/ with the same names.
    const QDir english(folder.filePath(QStringLiteral("en")));
    if (!folder.mkpath(QStringLiteral("en")))
        return fail(QStringLiteral("cannot create %1").arg(english.absolutePath()));
    QString failed = writePictures(art::chineseCaptions(), folder);
    if (failed.isEmpty())
        failed = writePictures(art::englishCaptions(), english);
    if (!failed.isEmpty())
        return fail(QStringLiteral("cannot write %1").arg(failed));
    if (!writeThemeIcons(folder))
        return fail(QStringLiteral("cannot write the icons under %1").arg(folder.filePath(QStringLiteral("icons"))));
    return 0;
}
