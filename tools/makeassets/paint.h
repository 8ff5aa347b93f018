#pragma once
// Drawing helpers shared by every picture of the asset maker.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

namespace art {

// The one font for every caption: it carries the Chinese glyphs, so nothing is drawn as boxes.
extern const char *const kCaptionFamily;
QFont captionFont(qreal pixelSize, bool bold = false);
// `font`, or the largest smaller size of it in which `text` is no wider than `width`.
QFont fittedFont(QFont font, const QString &text, qreal width);

QLinearGradient verticalGradient(const QRectF &rect, const QColor &top, const QColor &bottom);

// Text centred in `rect`, over a one-pixel shadow below it when `shadow` is valid.
void drawCaption(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font, const QColor &colour,
                 const QColor &shadow = QColor());

// A raised, lightly glossy button face filling `rect`, with its caption centred, smaller where it would not fit.
void drawPushButton(QPainter &painter, const QRectF &rect, const QString &caption, qreal fontPixels);

// A fully transparent canvas of `size`; artwork is drawn on it and flattened afterwards.
QImage transparentCanvas(QSize size);

// Flattens artwork drawn on a transparent canvas into an opaque 24-bit picture for a shaped window.
// Every pixel outside `shape` takes `key`; no pixel inside does (a chance match is nudged by one step of
// blue), and the soft edges of the artwork inside the shape are laid over `backing`, never over the key.
// Artwork drawn at `scale` times the picture's size keeps the outline of the picture itself, each of its
// pixels a square of scale x scale, so that the picture for a sharper screen has the same shape.
QImage flattenWithKey(const QImage &art, const QPainterPath &shape, QColor key, QColor backing, int scale = 1);

} // namespace art
