#pragma once

#include "window/shiftstate.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

// A window's background picture that gives the window the outline of the picture: every pixel of the
// key colour, the colour of the picture's top-left pixel, is cut away.
class TBmpShape : public QWidget
{
    Q_OBJECT

public:
    explicit TBmpShape(const QImage &picture = QImage(), QWidget *parent = nullptr);

    // Tolerant colour comparison: a pixel within 9 of the key colour in each of red, green and blue is
    // cut away too. Takes effect at the next ShapeForm.
    bool dither() const { return m_dither; }
    void setDither(bool dither) { m_dither = dither; }

    // Frameless window at the picture's size, showing only the picture's opaque pixels. Does nothing
    // unless the control sits directly on a top-level window.
    void ShapeForm();
    // The picture's opaque pixels, in the control's (and, after ShapeForm, the window's) coordinates.
    QRegion BuildRegion() const;

    QSize sizeHint() const override { return m_picture.size(); }

signals:
    // Every pointer movement over the picture; `pos` is in the control's coordinates. The window
    // decides what a movement means (a drag with the left button, for instance).
    void mouseMoved(ShiftState shift, const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    bool m_dither = false;
};
