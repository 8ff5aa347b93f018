#include "window/picture.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

QImage loadPicture(const QString &path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon loadIcon(const QString &path)
{
    return QIcon(QPixmap::fromImage(loadPicture(path)));
}
