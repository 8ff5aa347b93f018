// The alert and manager windows' pictures, 600 x 450: a blue frame with a title bar, a white working area
// and a media strip along the bottom. Both windows are rectangles but for their top-left pixel, whose colour
// occurs nowhere else in the picture.

#include "beetle.h"
#include "captions.h"
#include "paint.h"
#include "pictures.h"

#include <QPainter>
#include <QRadialGradient>

namespace art {

namespace {

const QSize kSize(600, 450);
const QColor kKey(0xff, 0x00, 0xff);
const QColor kBorder(0x12, 0x34, 0x63);
const QColor kFrameTop(0x3d, 0x7c, 0xcc);
const QColor kFrameBottom(0x1f, 0x4f, 0x95);
const QRectF kTitleBar(0, 0, 600, 23);
const QRectF kAlertWhiteArea(6, 28, 588, 368);
const QRectF kManagerWhiteArea(6, 48, 588, 348); // below the manager's bar

// Title-bar glyphs, each under its hot area (Image1 to Image3 on both windows).
enum class Glyph { Minimise, Maximise, Close };
const struct
{
    QRectF hotArea;
    Glyph glyph;
} kGlyphs[] = {
    {{544, 0, 17, 20}, Glyph::Minimise},
    {{562, 0, 17, 20}, Glyph::Maximise},
    {{579, 0, 17, 20}, Glyph::Close},
};

const QRectF kMediaStrip(6, 400, 588, 44);
const QRectF kPlayHotArea(282, 409, 38, 34);

void drawGlyph(QPainter &painter, const QRectF &hotArea, Glyph glyph)
{
    const QRectF face(hotArea.left() + 1, hotArea.top() + 3, 15, 15);
    const bool close = glyph == Glyph::Close;
    painter.setPen(QPen(close ? QColor(0x7a, 0x16, 0x10) : QColor(0x16, 0x3a, 0x70), 1));
    painter.setBrush(close ? verticalGradient(face, QColor(0xf2, 0x7d, 0x6e), QColor(0xc4, 0x2e, 0x22))
                           : verticalGradient(face, QColor(0x8e, 0xbd, 0xf2), QColor(0x35, 0x6c, 0xb8)));
    painter.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);

    painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const QRectF mark = face.adjusted(4.5, 4.5, -4.5, -4.5);
    switch (glyph) {
    case Glyph::Minimise:
        painter.drawLine(QPointF(mark.left(), mark.bottom()), mark.bottomRight());
        break;
    case Glyph::Maximise:
        painter.drawRect(mark);
        painter.drawLine(mark.topLeft() + QPointF(0, 1), mark.topRight() + QPointF(0, 1));
        break;
    case Glyph::Close:
        painter.drawLine(mark.topLeft(), mark.bottomRight());
        painter.drawLine(mark.topRight(), mark.bottomLeft());
        break;
    }
}

void drawFrame(QPainter &painter, const QString &title)
{
    const QRectF whole(QPointF(0, 0), kSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(whole, kFrameTop, kFrameBottom));
    painter.drawRect(whole);
    painter.setBrush(verticalGradient(kTitleBar, QColor(0x6b, 0xa6, 0xea), QColor(0x2b, 0x61, 0xad)));
    painter.drawRect(kTitleBar);
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
    painter.drawLine(QPointF(1, 1.5), QPointF(kSize.width() - 1, 1.5));
    painter.setPen(QPen(kBorder, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(whole.adjusted(0.5, 0.5, -0.5, -0.5));

    drawBeetle(painter, QRectF(6, 3, 17, 17), kRedShell);
    drawCaption(painter, kTitleBar.adjusted(0, 1, 0, 0), title, captionFont(14, true), Qt::white,
                QColor(0x0e, 0x2c, 0x58));
    for (const auto &glyph : kGlyphs)
        drawGlyph(painter, glyph.hotArea, glyph.glyph);
}

void drawWhiteArea(QPainter &painter, const QRectF &area)
{
    painter.setPen(QPen(QColor(0x0f, 0x33, 0x66), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(area.adjusted(-0.5, -0.5, 0.5, 0.5));
}

void drawPlayButton(QPainter &painter, const QPointF &centre, qreal radius)
{
    QRadialGradient glow(centre - QPointF(0, radius / 2), radius * 1.4);
    glow.setColorAt(0, QColor(0x8c, 0xc4, 0xff));
    glow.setColorAt(0.6, QColor(0x2f, 0x74, 0xd0));
    glow.setColorAt(1, QColor(0x16, 0x44, 0x8c));
    painter.setPen(QPen(QColor(0x0f, 0x2f, 0x5e), 1.5));
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.drawEllipse(QRectF(centre.x() - radius * 0.62, centre.y() - radius * 0.86, radius * 1.24, radius * 0.8));
    const qreal s = radius * 0.42;
    const QPointF triangle[] = {centre + QPointF(-s * 0.7, -s), centre + QPointF(-s * 0.7, s),
                                centre + QPointF(s * 1.1, 0)};
    painter.setBrush(Qt::white);
    painter.drawPolygon(triangle, 3);
}

// The smaller, painted-only controls of the strip.
enum class Control { Stop, Previous, Next };

void drawSmallControl(QPainter &painter, const QPointF &centre, Control control)
{
    painter.setPen(QPen(QColor(0x6d, 0x86, 0xa8), 1));
    painter.setBrush(verticalGradient(QRectF(centre.x() - 11, centre.y() - 11, 22, 22), QColor(0xff, 0xff, 0xff),
                                      QColor(0xc6, 0xd3, 0xe4)));
    painter.drawEllipse(centre, 11, 11);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x34, 0x4d, 0x70));
    if (control == Control::Stop) {
        painter.drawRect(QRectF(centre.x() - 4, centre.y() - 4, 8, 8));
        return;
    }
    // A triangle against a bar, pointing the way the control skips.
    const qreal way = control == Control::Next ? 1 : -1;
    painter.drawRect(QRectF(centre.x() + 4.5 * way - 1, centre.y() - 4.5, 2, 9));
    const QPointF triangle[] = {centre + QPointF(3 * way, 0), centre + QPointF(-4 * way, -4.5),
                                centre + QPointF(-4 * way, 4.5)};
    painter.drawPolygon(triangle, 3);
}

void drawMediaStrip(QPainter &painter)
{
    painter.setPen(QPen(QColor(0x0f, 0x33, 0x66), 1));
    painter.setBrush(verticalGradient(kMediaStrip, QColor(0xf7, 0xfa, 0xfe), QColor(0xcf, 0xdb, 0xea)));
    painter.drawRoundedRect(kMediaStrip.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);

    const qreal middle = kPlayHotArea.center().y();
    // Elapsed time and the seek groove with its knob at the start.
    drawCaption(painter, QRectF(16, middle - 9, 40, 18), QStringLiteral("00:00"), captionFont(12),
                QColor(0x34, 0x4d, 0x70));
    const QRectF groove(62, middle - 2.5, 150, 5);
    painter.setPen(QPen(QColor(0x8a, 0x9c, 0xb5), 1));
    painter.setBrush(QColor(0xe9, 0xee, 0xf5));
    painter.drawRoundedRect(groove, 2.5, 2.5);
    painter.setBrush(verticalGradient(QRectF(62, middle - 6, 12, 12), Qt::white, QColor(0x9f, 0xb4, 0xd0)));
    painter.drawEllipse(QPointF(66, middle), 6, 6);

    drawSmallControl(painter, QPointF(234, middle), Control::Stop);
    drawSmallControl(painter, QPointF(262, middle), Control::Previous);
    drawPlayButton(painter, kPlayHotArea.center(), 16.5);
    drawSmallControl(painter, QPointF(340, middle), Control::Next);

    // Loudness: a speaker and a rising wedge, half full.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x34, 0x4d, 0x70));
    const QPointF speaker[] = {{376, middle - 3}, {380, middle - 3}, {385, middle - 7},
                               {385, middle + 7}, {380, middle + 3}, {376, middle + 3}};
    painter.drawPolygon(speaker, 6);
    const QPointF wedge[] = {{392, middle + 6}, {452, middle + 6}, {452, middle - 6}};
    painter.setBrush(QColor(0xd2, 0xdc, 0xea));
    painter.drawPolygon(wedge, 3);
    const QPointF level[] = {{392, middle + 6}, {422, middle + 6}, {422, middle}};
    painter.setBrush(QColor(0x3f, 0x7f, 0xd2));
    painter.drawPolygon(level, 3);
}

// A little bell, the sign of a reminder that has fallen due.
void drawBell(QPainter &painter, const QRectF &box)
{
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 16, box.height() / 16);
    QPainterPath bell(QPointF(2, 12.5));
    bell.cubicTo(QPointF(4, 10.5), QPointF(3.5, 8), QPointF(4, 6));
    bell.cubicTo(QPointF(4.8, 2.8), QPointF(11.2, 2.8), QPointF(12, 6));
    bell.cubicTo(QPointF(12.5, 8), QPointF(12, 10.5), QPointF(14, 12.5));
    bell.closeSubpath();
    painter.setPen(QPen(QColor(0x9c, 0x4a, 0x06), 0.8));
    painter.setBrush(verticalGradient(QRectF(2, 2, 12, 11), QColor(0xff, 0xd2, 0x6e), QColor(0xf0, 0x86, 0x12)));
    painter.drawPath(bell);
    painter.drawEllipse(QPointF(8, 13.8), 1.6, 1.6);
    painter.drawEllipse(QPointF(8, 2.4), 1, 1);
    painter.restore();
}

// The heading above the alert's fields.
void drawAlertHeading(QPainter &painter, const Captions &captions)
{
    const QRectF band(7, 29, 586, 24);
    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(band, QColor(0xf1, 0xf6, 0xfd), QColor(0xdb, 0xe8, 0xf8)));
    painter.drawRect(band);
    painter.setPen(QPen(QColor(0xb4, 0xcb, 0xea), 1));
    painter.drawLine(QPointF(7, band.bottom() + 0.5), QPointF(593, band.bottom() + 0.5));
    drawBell(painter, QRectF(16, 33, 16, 16));
    const QRectF line(38, 29, 300, 24);
    painter.setFont(fittedFont(captionFont(13, true), captions.alertHeading, line.width()));
    painter.setPen(QColor(0x15, 0x35, 0x63));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, captions.alertHeading);
}

void drawManagerBar(QPainter &painter, const Captions &captions)
{
    const QRectF bar(1, 23, 598, 25);
    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(bar, QColor(0xee, 0xf4, 0xfc), QColor(0xc2, 0xd5, 0xee)));
    painter.drawRect(bar);
    painter.setPen(QPen(QColor(0x7f, 0xa0, 0xcc), 1));
    painter.drawLine(QPointF(1, 47.5), QPointF(599, 47.5));
    drawPushButton(painter, QRectF(309, 24, 57, 23), captions.managerQuit, 12);
    drawPushButton(painter, QRectF(406, 24, 57, 23), captions.moreSoftware, 12);
}

// The frame, the white area and the media strip, with what is particular to one window drawn on top.
QImage windowPicture(const QString &title, const QRectF &whiteArea,
                     void (*drawParticulars)(QPainter &, const Captions &), const Captions &captions, int scale)
{
    QImage canvas = transparentCanvas(kSize * scale);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        drawFrame(painter, title);
        drawWhiteArea(painter, whiteArea);
        drawMediaStrip(painter);
        drawParticulars(painter, captions);
    }
    QPainterPath shape;
    shape.addRect(QRectF(QPointF(0, 0), kSize));
    QPainterPath corner;
    corner.addRect(0, 0, 1, 1);
    return flattenWithKey(canvas, shape.subtracted(corner), kKey, kBorder, scale);
}

} // namespace

QImage alertPicture(const Captions &captions, int scale)
{
    return windowPicture(captions.alertTitle, kAlertWhiteArea, drawAlertHeading, captions, scale);
}

QImage managerPicture(const Captions &captions, int scale)
{
    return windowPicture(captions.managerTitle, kManagerWhiteArea, drawManagerBar, captions, scale);
}

} // namespace art
