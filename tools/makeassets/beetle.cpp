#include "beetle.h"

#include "paint.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace art {

const ShellColours kGreenShell{QColor(0x9c, 0xe8, 0x86), QColor(0x34, 0xb0, 0x48), QColor(0x17, 0x62, 0x24)};
const ShellColours kRedShell{QColor(0xff, 0x9a, 0x84), QColor(0xe2, 0x36, 0x2b), QColor(0x86, 0x14, 0x10)};
const ShellColours kYellowShell{QColor(0xff, 0xf1, 0x9c), QColor(0xf6, 0xc3, 0x14), QColor(0x9a, 0x6e, 0x00)};

namespace {

const QColor kInk(0x24, 0x22, 0x22);

// One side's legs and feeler, in `colour`, with strokes widened by `widen`.
void drawLimbs(QPainter &painter, const QColor &colour, qreal widen)
{
    painter.setPen(QPen(colour, 1.7 + widen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF legs[3][3] = {
        {{21, 14}, {26, 11.5}, {28, 7.5}},
        {{22.5, 19.5}, {27.5, 19.5}, {30, 17}},
        {{21, 25}, {26, 27}, {27.5, 30.5}},
    };
    for (const auto &leg : legs)
        painter.drawPolyline(leg, 3);

    QPainterPath feeler(QPointF(17.5, 6));
    feeler.quadTo(QPointF(19, 2.5), QPointF(22.5, 1.8));
    painter.setPen(QPen(colour, 1.1 + widen, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(feeler);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(22.6, 1.9), 1.2 + widen / 2, 1.2 + widen / 2);
}

// Both sides: the left is the mirror image of the right across the middle column.
void drawLimbPairs(QPainter &painter, const QColor &colour, qreal widen)
{
    for (const bool mirrored : {false, true}) {
        painter.save();
        if (mirrored) {
            painter.translate(32, 0);
            painter.scale(-1, 1);
        }
        drawLimbs(painter, colour, widen);
        painter.restore();
    }
}

void drawShell(QPainter &painter, const ShellColours &shell)
{
    const QRectF body(5.5, 8.5, 21, 22.5);
    QRadialGradient shade(QPointF(12, 14), 19, QPointF(11, 12.5));
    shade.setColorAt(0, shell.light);
    shade.setColorAt(0.45, shell.base);
    shade.setColorAt(1, shell.dark);
    painter.setPen(QPen(shell.dark.darker(130), 1));
    painter.setBrush(shade);
    painter.drawEllipse(body);

    painter.setPen(QPen(shell.dark.darker(120), 0.9));
    painter.drawLine(QPointF(16, 10), QPointF(16, 30.8));

    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    const struct
    {
        QPointF centre;
        qreal radius;
    } spots[] = {{{16, 11.6}, 2.2}, {{11.2, 15.5}, 2.3}, {{20.8, 15.5}, 2.3}, {{10, 22}, 2.1},
                 {{22, 22}, 2.1},   {{13, 27.3}, 1.7},   {{19, 27.3}, 1.7}};
    for (const auto &spot : spots)
        painter.drawEllipse(spot.centre, spot.radius, spot.radius);

    painter.save();
    painter.translate(10.5, 13.5);
    painter.rotate(-35);
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawEllipse(QPointF(0, 0), 3.2, 1.8);
    painter.restore();
}

void drawHead(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(16, 8.2), 5, 3.9);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(13.7, 7.2), 1, 1);
    painter.drawEllipse(QPointF(18.3, 7.2), 1, 1);
}

} // namespace

void drawBeetle(QPainter &painter, const QRectF &box, const ShellColours &shell)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 32, box.height() / 32);
    // A pale halo under the dark limbs keeps them visible on a dark panel.
    drawLimbPairs(painter, QColor(255, 255, 255, 110), 1.3);
    drawLimbPairs(painter, kInk, 0);
    drawHead(painter);
    drawShell(painter, shell);
    painter.restore();
}

QImage beetleIcon(const ShellColours &shell, int size)
{
    QImage icon = transparentCanvas(QSize(size, size));
    QPainter painter(&icon);
    drawBeetle(painter, QRectF(0, 0, size, size), shell);
    return icon;
}

} // namespace art
