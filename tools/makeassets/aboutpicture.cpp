// The About page's picture, 580 x 321: the icon on a card, the name with its version, and the maker.

#include "beetle.h"
#include "captions.h"
#include "paint.h"
#include "pictures.h"

#include <QPainter>

namespace art {

namespace {

const QSize kSize(580, 321);
const QColor kNavy(0x15, 0x35, 0x63);
const QColor kGrey(0x5a, 0x6b, 0x82);

void drawBackground(QPainter &painter, const QString &copyright)
{
    const QRectF whole(QPointF(0, 0), kSize);
    painter.fillRect(whole, verticalGradient(whole, QColor(0xfb, 0xfd, 0xff), QColor(0xd9, 0xe7, 0xf7)));
    const QRectF band(0, kSize.height() - 34, kSize.width(), 34);
    painter.fillRect(band, verticalGradient(band, QColor(0x3d, 0x7c, 0xcc), QColor(0x1f, 0x4f, 0x95)));
    drawCaption(painter, band, copyright, fittedFont(captionFont(12), copyright, band.width() - 20), Qt::white);
}

void drawIconCard(QPainter &painter)
{
    const QRectF card(40, 62, 150, 150);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4f, 0x95, 40));
    painter.drawRoundedRect(card.translated(0, 4), 22, 22);
    painter.setPen(QPen(QColor(0xa9, 0xc3, 0xe4), 1));
    painter.setBrush(verticalGradient(card, Qt::white, QColor(0xea, 0xf2, 0xfc)));
    painter.drawRoundedRect(card, 22, 22);
    drawBeetle(painter, card.adjusted(18, 18, -18, -18), kRedShell);
}

void drawTitle(QPainter &painter, const Captions &captions)
{
    const QString &name = captions.name;
    // Room for the version badge after it.
    const QFont nameFont = fittedFont(captionFont(32, true), name, 296);
    const QRectF nameRect(222, 58, QFontMetricsF(nameFont).horizontalAdvance(name) + 4, 44);
    painter.setFont(nameFont);
    painter.setPen(kNavy);
    painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter, name);

    const QRectF badge(nameRect.right() + 8, 68, 44, 24);
    painter.setPen(QPen(QColor(0x9c, 0x4a, 0x06), 1));
    painter.setBrush(verticalGradient(badge, QColor(0xff, 0xc2, 0x5c), QColor(0xec, 0x7a, 0x0c)));
    painter.drawRoundedRect(badge, 12, 12);
    drawCaption(painter, badge, QStringLiteral("v1.0"), captionFont(14, true), Qt::white, QColor(0x86, 0x3c, 0x00));

    const QRectF tagline(224, 104, 330, 24);
    painter.setFont(fittedFont(captionFont(15), captions.tagline, tagline.width()));
    painter.setPen(kGrey);
    painter.drawText(tagline, Qt::AlignLeft | Qt::AlignVCenter, captions.tagline);
    painter.setPen(QPen(QColor(0xa9, 0xc3, 0xe4), 1));
    painter.drawLine(QPointF(224, 140.5), QPointF(548, 140.5));
}

void drawMaker(QPainter &painter, const Captions &captions)
{
    painter.setPen(kNavy);
    qreal top = 152;
    for (const QString &line : captions.maker) {
        const QRectF rect(224, top, 330, 22);
        painter.setFont(fittedFont(captionFont(13), line, rect.width()));
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, line);
        top += 25;
    }
}

} // namespace

QImage aboutPicture(const Captions &captions, int scale)
{
    QImage picture(kSize * scale, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    drawBackground(painter, captions.copyright);
    drawIconCard(painter);
    drawTitle(painter, captions);
    drawMaker(painter, captions);
    return picture;
}

} // namespace art
