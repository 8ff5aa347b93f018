// orvane-rawpicture <picture> <output>: writes a picture as raw pixels for the build: the width and the
// height as two 32-bit little-endian numbers, then the rows from the top, each pixel a 32-bit 0xffRRGGBB
// in this machine's byte order (QImage::Format_RGB32). The program shows such a picture without
// decoding it.
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvane-rawpicture <picture> <output>\n");
        return 2;
    }
    const QImage picture = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) {
        std::fprintf(stderr, "orvane-rawpicture: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "orvane-rawpicture: cannot write %s\n", argv[2]);
        return 1;
    }
    const quint32 size[2] = {qToLittleEndian(quint32(picture.width())), qToLittleEndian(quint32(picture.height()))};
    bool written = output.write(reinterpret_cast<const char *>(size), sizeof(size)) == qint64(sizeof(size));
    for (int y = 0; written && y < picture.height(); ++y) {
        const qint64 row = qint64(picture.width()) * 4;
        written = output.write(reinterpret_cast<const char *>(picture.constScanLine(y)), row) == row;
    }
    if (!written || !output.flush()) {
        std::fprintf(stderr, "orvane-rawpicture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
