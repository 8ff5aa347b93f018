#include "paint.h"

#include <QFontMetricsF>
#include <QPainter>

namespace art {

const char *const kCaptionFamily = "WenQuanYi Micro Hei";

QFont captionFont(qreal pixelSize, bool bold)
{
    QFont font(QString::fromLatin1(kCaptionFamily));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont fittedFont(QFont font, const QString &text, qreal width)
{
    while (font.pixelSize() > 1 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QLinearGradient verticalGradient(const QRectF &rect, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

void drawCaption(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font, const QColor &colour,
                 const QColor &shadow)
{
    painter.save();
    painter.setFont(font);
    if (shadow.isValid()) {
        painter.setPen(shadow);
        painter.drawText(rect.translated(0, 1), Qt::AlignCenter, text);
    }
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter, text);
    painter.restore();
}

void drawPushButton(QPainter &painter, const QRectF &rect, const QString &caption, qreal fontPixels)
{
    const QRectF face = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin(6.0, face.height() / 3);
    painter.save();
    painter.setPen(QPen(QColor(0x1d, 0x46, 0x80), 1));
    painter.setBrush(verticalGradient(face, QColor(0xff, 0xff, 0xff), QColor(0xbf, 0xd3, 0xef)));
    painter.drawRoundedRect(face, radius, radius);
    // The gloss: a brighter upper half inside the rim.
    const QRectF upper = face.adjusted(1.5, 1.5, -1.5, -face.height() / 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 140));
    painter.drawRoundedRect(upper, radius - 1, radius - 1);
    painter.restore();
    // A rim's width of room on either side.
    const QFont font = fittedFont(captionFont(fontPixels, true), caption, face.width() - 4);
    drawCaption(painter, face, caption, font, QColor(0x12, 0x33, 0x5f), QColor(255, 255, 255, 200));
}

QImage transparentCanvas(QSize size)
{
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

QImage flattenWithKey(const QImage &art, const QPainterPath &shape, QColor key, QColor backing, int scale)
{
    // The outline is filled without antialiasing: a window region is all or nothing per pixel.
    QImage inside(art.size() / scale, QImage::Format_Grayscale8);
    inside.fill(0);
    {
        QPainter painter(&inside);
        painter.fillPath(shape, Qt::white);
    }
    inside = inside.scaled(art.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);

    QImage picture(art.size(), QImage::Format_RGB32);
    picture.fill(backing);
    {
        QPainter painter(&picture);
        painter.drawImage(0, 0, art);
    }

    const QRgb keyRgb = key.rgb();
    const QRgb nudged = qRgb(qRed(keyRgb), qGreen(keyRgb), qBlue(keyRgb) ^ 1);
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *mask = inside.constScanLine(y);
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (mask[x] == 0)
                row[x] = keyRgb;
            else if ((row[x] & 0xffffff) == (keyRgb & 0xffffff))
                row[x] = nudged;
        }
    }
    return picture.convertToFormat(QImage::Format_RGB888);
}

} // namespace art
