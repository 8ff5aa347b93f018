// The main window's picture, 600 x 300. Everything outside the dial, the display and the grip tabs is pure
// black, the key colour that shaping cuts away; the program lays its labels and agenda panel over the display
// and its three hot areas over the painted buttons.

#include "captions.h"
#include "paint.h"
#include "pictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRadialGradient>

namespace art {

namespace {

const QSize kSize(600, 300);
const QPointF kDialCentre(165, 143);
constexpr qreal kDialRadius = 126;
const QRectF kScreen(290, 47, 254, 194); // the dark display under the labels and the agenda panel
const QRectF kBezel = kScreen.adjusted(-9, -9, 9, 9);
constexpr qreal kBezelRadius = 20;
const QRectF kBridge(236, 72, 64, 142); // joins the dial to the display

// The hot areas Image1 to Image3 lie exactly over these.
const struct
{
    QRectF rect;
    QString Captions::*caption;
} kButtons[] = {
    {{111, 230, 33, 25}, &Captions::settings},
    {{147, 238, 33, 25}, &Captions::quit},
    {{189, 233, 33, 25}, &Captions::about},
};

// A window hidden at an edge keeps a 40-pixel strip on screen: columns 0-39 at the right edge, columns
// 560-599 at the left edge, rows 260-299 at the top edge. A grip tab reaches into each strip so that the
// pointer can find the window there; its ridged end is the part that sticks out.
const struct
{
    QRectF tab;
    QRectF ridges;
    Qt::Orientation orientation;
} kGrips[] = {
    {{6, 114, 48, 60}, {12, 124, 22, 40}, Qt::Vertical},
    {{540, 106, 54, 76}, {562, 118, 24, 52}, Qt::Vertical},
    {{378, 236, 78, 52}, {392, 258, 50, 24}, Qt::Horizontal},
};

constexpr qreal kGripRadius = 9;

const QColor kOutline(0x0b, 0x22, 0x46);
const QColor kSteelLight(0x9a, 0xc6, 0xf4);
const QColor kSteelDark(0x1f, 0x4c, 0x8e);

void drawGrip(QPainter &painter, const QRectF &tab, const QRectF &ridges, Qt::Orientation orientation)
{
    painter.setPen(QPen(kOutline, 1.5));
    painter.setBrush(verticalGradient(tab, kSteelLight, kSteelDark));
    painter.drawRoundedRect(tab, kGripRadius, kGripRadius);
    const bool vertical = orientation == Qt::Vertical;
    const qreal extent = vertical ? ridges.width() : ridges.height();
    for (qreal step = 0; step <= extent; step += 5) {
        const QLineF ridge = vertical
                                 ? QLineF(ridges.left() + step, ridges.top(), ridges.left() + step, ridges.bottom())
                                 : QLineF(ridges.left(), ridges.top() + step, ridges.right(), ridges.top() + step);
        painter.setPen(QPen(QColor(0x12, 0x30, 0x5c), 1.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(ridge);
        painter.setPen(QPen(QColor(255, 255, 255, 150), 1, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(ridge.translated(vertical ? 1.2 : 0, vertical ? 0 : 1.2));
    }
}

void drawDisplay(QPainter &painter)
{
    painter.setPen(QPen(kOutline, 1.5));
    painter.setBrush(verticalGradient(kBridge, kSteelLight, kSteelDark));
    painter.drawRect(kBridge);

    painter.setBrush(verticalGradient(kBezel, kSteelLight, kSteelDark));
    painter.drawRoundedRect(kBezel, kBezelRadius, kBezelRadius);
    painter.setPen(QPen(QColor(0x08, 0x18, 0x33), 2));
    painter.setBrush(verticalGradient(kScreen, QColor(0x15, 0x3d, 0x78), QColor(0x0a, 0x1f, 0x45)));
    painter.drawRoundedRect(kScreen, 14, 14);

    // A faint reflection across the glass.
    QPainterPath glass;
    glass.addRoundedRect(kScreen.adjusted(1, 1, -1, -1), 13, 13);
    QPainterPath sheen(kScreen.topLeft());
    sheen.lineTo(kScreen.left() + 150, kScreen.top());
    sheen.lineTo(kScreen.left() + 40, kScreen.bottom());
    sheen.lineTo(kScreen.left(), kScreen.bottom());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 14));
    painter.drawPath(glass.intersected(sheen));
}

void drawTicks(QPainter &painter)
{
    painter.save();
    painter.translate(kDialCentre);
    for (int minute = 0; minute < 60; ++minute, painter.rotate(6)) {
        if (minute > 24 && minute < 36)
            continue; // the painted buttons sit on this part of the rim
        const bool hour = minute % 5 == 0;
        painter.setPen(QPen(hour ? QColor(255, 255, 255) : QColor(255, 255, 255, 130), hour ? 3 : 1.2, Qt::SolidLine,
                            Qt::RoundCap));
        painter.drawLine(QPointF(0, -(kDialRadius - 21)), QPointF(0, -(kDialRadius - (hour ? 31 : 25))));
    }
    painter.restore();
}

QRectF dialCircle(qreal radius)
{
    return QRectF(kDialCentre.x() - radius, kDialCentre.y() - radius, 2 * radius, 2 * radius);
}

void drawDial(QPainter &painter)
{
    painter.setPen(QPen(kOutline, 1.5));
    painter.setBrush(verticalGradient(dialCircle(kDialRadius), kSteelLight, kSteelDark));
    painter.drawEllipse(dialCircle(kDialRadius));

    // A groove lit from below inside the rim, so the rim reads as raised.
    const QRectF groove = dialCircle(kDialRadius - 9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(groove, QColor(0x16, 0x3e, 0x7a), QColor(0x78, 0xaa, 0xe6)));
    painter.drawEllipse(groove);

    const qreal face = kDialRadius - 14;
    QRadialGradient light(kDialCentre - QPointF(0, 30), face + 30);
    light.setColorAt(0, QColor(0x5a, 0x9d, 0xec));
    light.setColorAt(1, QColor(0x17, 0x45, 0x8e));
    painter.setBrush(light);
    painter.drawEllipse(dialCircle(face));

    drawTicks(painter);
    // No hands: the window turns its own over the face. The pin they turn on stays.
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(0xf5, 0x84, 0x16));
    painter.drawEllipse(kDialCentre, 7, 7);
}

constexpr qreal kPlateRadius = 13.5;

QFont namePlateFont()
{
    return captionFont(15, true);
}

// The plate sits on the dial's upper rim and stands out past its curve. It is as wide as the program's
// Chinese name needs, in every language, since the window's outline follows it.
QRectF namePlate()
{
    const qreal width = QFontMetricsF(namePlateFont()).horizontalAdvance(chineseCaptions().name) + 30;
    return QRectF(kDialCentre.x() - width / 2, 22, width, 27);
}

void drawNamePlate(QPainter &painter, const QString &name)
{
    const QRectF plate = namePlate();
    painter.setPen(QPen(QColor(0x9c, 0x4a, 0x06), 1.5));
    painter.setBrush(verticalGradient(plate, QColor(0xff, 0xc2, 0x5c), QColor(0xec, 0x7a, 0x0c)));
    painter.drawRoundedRect(plate, kPlateRadius, kPlateRadius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 70));
    painter.drawRoundedRect(plate.adjusted(3, 2, -3, -plate.height() / 2), 10, 6);
    // Clear of the rounded ends.
    const QFont font = fittedFont(namePlateFont(), name, plate.width() - 2 * kPlateRadius);
    drawCaption(painter, plate, name, font, Qt::white, QColor(0x86, 0x3c, 0x00));
}

QPainterPath outline()
{
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    shape.addEllipse(dialCircle(kDialRadius));
    shape.addRoundedRect(kBezel, kBezelRadius, kBezelRadius);
    shape.addRect(kBridge);
    shape.addRoundedRect(namePlate(), kPlateRadius, kPlateRadius);
    for (const auto &grip : kGrips)
        shape.addRoundedRect(grip.tab, kGripRadius, kGripRadius);
    for (const auto &button : kButtons)
        shape.addRect(button.rect); // the whole hot area, corners too, even where it leaves the rim
    return shape;
}

} // namespace

QImage mainPicture(const Captions &captions, int scale)
{
    QImage canvas = transparentCanvas(kSize * scale);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        for (const auto &grip : kGrips)
            drawGrip(painter, grip.tab, grip.ridges, grip.orientation);
        drawDisplay(painter);
        drawDial(painter);
        drawNamePlate(painter, captions.name);
        for (const auto &button : kButtons)
            drawPushButton(painter, button.rect, captions.*button.caption, 12);
    }
    return flattenWithKey(canvas, outline(), Qt::black, kOutline, scale);
}

} // namespace art
