#include "window/picture.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <QtEndian>

namespace {

QImage rawPicture(const QString &path)
{
    const QResource resource(path);
    constexpr qint64 kHeader = 2 * sizeof(quint32);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression || resource.size() < kHeader)
        return {};
    const uchar *data = resource.data();
    const quint32 width = qFromLittleEndian<quint32>(data);
    const quint32 height = qFromLittleEndian<quint32>(data + sizeof(quint32));
    if (width > 0x8000 || height > 0x8000 || resource.size() != kHeader + qint64(width) * height * 4)
        return {};
    const uchar *pixels = data + kHeader;
    const QImage picture(pixels, int(width), int(height), int(width * 4), QImage::Format_RGB32);
    // Pixels are read as 32-bit words, which must be aligned; the resource compiler does not promise it.
    return reinterpret_cast<quintptr>(pixels) % alignof(quint32) == 0 ? picture : picture.copy();
}

} // namespace

QImage loadPicture(const QString &path)
{
    const QString format = QFileInfo(path).suffix();
    if (format == QLatin1String("rgb32"))
        return rawPicture(path);
    // A reader left without its file warns on the terminal; a picture with no double-size one is no fault.
    if (!QFile::exists(path))
        return {};
    QImageReader reader(path, format.toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QImage loadPicture(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1) {
        QImage sharp = loadPicture(doubleSizePath(path));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    return loadPicture(path);
}

QString doubleSizePath(const QString &path)
{
    const QFileInfo file(path);
    const QString ending = file.suffix() == QLatin1String("rgb32") ? QStringLiteral("png") : file.suffix();
    return file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral("@2x.") + ending;
}

QIcon loadIcon(const QString &path)
{
    QIcon icon(QPixmap::fromImage(loadPicture(path)));
    // QIcon would read a file added to it at once, and through every image plugin: only where it serves.
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1) {
        const QImage sharp = loadPicture(doubleSizePath(path));
        if (!sharp.isNull())
            icon.addPixmap(QPixmap::fromImage(sharp));
    }
    return icon;
}
