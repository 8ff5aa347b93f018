#include "window/shapedpicture.h"

#include "window/picture.h"
#include "window/windowdrag.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QWindow>

#include <cstdlib>
#include <vector>

namespace {

constexpr int kTolerance = 9;

bool nearKey(QRgb pixel, QRgb key)
{
    return std::abs(qRed(pixel) - qRed(key)) <= kTolerance && std::abs(qGreen(pixel) - qGreen(key)) <= kTolerance
           && std::abs(qBlue(pixel) - qBlue(key)) <= kTolerance;
}

// Collects a row's runs of opaque pixels as one-row rectangles, and merges a row into the band above
// when both have exactly the same runs. The result is the banded, y-x sorted form that QRegion keeps,
// so it can be handed over in one piece.
class BandBuilder
{
public:
    void addRun(int left, int right, int y) { m_rects.emplace_back(QPoint(left, y), QPoint(right - 1, y)); }

    void endRow(std::size_t rowStart)
    {
        const std::size_t rowSize = m_rects.size() - rowStart;
        if (rowSize > 0 && rowStart - m_bandStart == rowSize && sameRuns(m_bandStart, rowStart, rowSize)) {
            for (std::size_t i = m_bandStart; i < rowStart; ++i)
                m_rects[i].setBottom(m_rects[rowStart].bottom());
            m_rects.resize(rowStart);
            return;
        }
        m_bandStart = rowStart;
    }

    std::size_t size() const { return m_rects.size(); }

    QRegion region() const
    {
        QRegion region;
        region.setRects(m_rects.data(), int(m_rects.size()));
        return region;
    }

private:
    bool sameRuns(std::size_t band, std::size_t row, std::size_t count) const
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (m_rects[band + i].left() != m_rects[row + i].left()
                || m_rects[band + i].right() != m_rects[row + i].right())
                return false;
        }
        return true;
    }

    std::vector<QRect> m_rects;
    std::size_t m_bandStart = 0;
};

QImage rgb32(const QImage &picture)
{
    return picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QRegion regionFromPicture(const QImage &picture, bool tolerant)
{
    if (picture.isNull())
        return QRegion();
    const QImage image = rgb32(picture);
    const QRgb key = image.pixel(0, 0); // RGB32: the alpha byte is always 0xff
    const auto isKey = [key, tolerant](QRgb pixel) { return tolerant ? nearKey(pixel, key) : pixel == key; };
    const int width = image.width();
    BandBuilder bands;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const std::size_t rowStart = bands.size();
        int x = 0;
        while (x < width) {
            while (x < width && isKey(line[x]))
                ++x;
            const int runStart = x;
            while (x < width && !isKey(line[x]))
                ++x;
            if (x > runStart)
                bands.addRun(runStart, x, y);
        }
        bands.endRow(rowStart);
    }
    return bands.region();
}

void setWindowShape(QWidget *window, const QRegion &shape)
{
    // A mask wholly outside the window hides all of it.
    window->setMask(shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape);
}

ShapedPicture::ShapedPicture(const QImage &picture, QWidget *window)
    : QWidget(window)
    , m_picture(rgb32(picture))
    , m_drag(new WindowDrag(window))
{
    setGeometry(QRect(QPoint(0, 0), m_picture.size()));
    lower();
    show(); // a control made on a window already shown stays hidden otherwise
    shapeWindow(window);
    window->installEventFilter(this);
}

ShapedPicture::ShapedPicture(const QString &path, QWidget *window)
    : ShapedPicture(loadPicture(path), window)
{
    m_path = path;
}

void ShapedPicture::shapeWindow(QWidget *window)
{
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::FramelessWindowHint, true);
    window->resize(m_picture.size());
    setWindowShape(window, regionFromPicture(m_picture));
    if (shown)
        window->show(); // changing the flags hid it
}

// The desktop takes the mask in its own pixels, which Qt works out from the screen the window is on when the
// mask is set: on a screen of another scale the old one would cut the window at the wrong places.
bool ShapedPicture::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        if (QWindow *handle = static_cast<QWidget *>(watched)->windowHandle())
            connect(handle, &QWindow::screenChanged, this, &ShapedPicture::reapplyMask, Qt::UniqueConnection);
    }
    return false;
}

void ShapedPicture::reapplyMask()
{
    QWidget *window = parentWidget();
    if (!window->mask().isEmpty())
        window->windowHandle()->setMask(window->mask());
}

void ShapedPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The device painted on, which a grab or a render may choose: not always the screen's.
    const QPaintDevice *device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : this;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), pictureFor(device->devicePixelRatio()));
}

const QImage &ShapedPicture::pictureFor(qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1 || m_path.isEmpty())
        return m_picture;
    if (!m_sharpPictureRead) {
        m_sharpPicture = loadPicture(m_path, devicePixelRatio);
        m_sharpPictureRead = true;
    }
    return m_sharpPicture.isNull() ? m_picture : m_sharpPicture;
}

// Only the bare picture drags: the controls above it take their own mouse input.
void ShapedPicture::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons().testFlag(Qt::LeftButton))
        m_drag->start(event->globalPosition().toPoint());
}
