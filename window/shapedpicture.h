#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

class WindowDrag;

// The opaque pixels of a picture: every pixel but those of the key colour, the colour of the top-left pixel.
// Tolerant: a pixel within 9 of the key colour in each of red, green and blue is cut away too.
QRegion regionFromPicture(const QImage &picture, bool tolerant = false);

// Cuts a window to `shape`, in its own coordinates: an empty shape shows nothing of it (Qt alone would take
// an empty mask for no mask at all and show the whole window).
void setWindowShape(QWidget *window, const QRegion &shape);

// A window's background picture. Made once per window, it lies under every other control, takes the frame
// away, sizes the window to the picture, cuts the window to the picture's opaque pixels, and moves the
// window while the user drags the bare picture with the left button (each proposed position is offered to
// the window as a MovingEvent first, so an EdgeDocker can change it). The three windows of the program
// get their picture, mask and drag from this one class. The window stays cut to its shape (whichever mask it
// has) as it moves to a screen of another scale.
class ShapedPicture : public QWidget
{
    Q_OBJECT

public:
    ShapedPicture(const QImage &picture, QWidget *window);
    // One of the program's pictures (see loadPicture). Where it is shown at a device pixel ratio above 1,
    // the picture drawn at twice the size beside it is shown in its place, read the first time it is
    // needed; the window keeps the shape of the picture itself.
    ShapedPicture(const QString &path, QWidget *window);

    // The picture that shapes the window, at its own size.
    const QImage &picture() const { return m_picture; }
    QSize sizeHint() const override { return m_picture.size(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void shapeWindow(QWidget *window);
    void reapplyMask();
    const QImage &pictureFor(qreal devicePixelRatio);

    QImage m_picture;
    QString m_path;
    QImage m_sharpPicture; // read when first needed
    bool m_sharpPictureRead = false;
    WindowDrag *m_drag;
};
