#pragma once

#include <QObject>
#include <QRect>
#include <QWidget>

class QTimer;
class Screen;

// Docks a window to the top, left or right edge of the primary screen while the user drags it there
// (snapping once it comes within snapDistance of the edge, moving towards it or along it), slides it out
// of sight but for a strip visibleStrip pixels wide when the pointer leaves it, and back when the pointer
// enters that strip. Owned by the window; works while it lives.
//
// Many window managers keep windows on screen and refuse a move that would take one partly off it, so the
// slid-out window does not move: it stays where it docked, its contents (picture and controls alike) shift
// by the slide, and its shape is cut to the strip at the edge. The screen then shows what the slid-out
// window would leave on it, and the pointer finds the window only there, under any window manager. The
// controls stand shifted while the window is slid out; one added meanwhile is not shifted back.
class EdgeDocker : public QObject
{
    Q_OBJECT

public:
    enum class Edge { None, Top, Left, Right };
    Q_ENUM(Edge)

    EdgeDocker(QWidget *window, const Screen &screen);

    Edge edge() const { return m_edge; }
    // 1 to 50 pixels.
    int visibleStrip() const { return m_visibleStrip; }
    void setVisibleStrip(int pixels);
    // 5 to 50 pixels.
    int snapDistance() const { return m_snapDistance; }
    void setSnapDistance(int pixels);

    // The window's rectangle as the last drag left it (right and bottom exclusive in the reasoning); the
    // window's own before the first drag.
    QRect dockRect() const { return m_dockRect; }
    // True from slideOut to the next slideIn.
    bool isSlidOut() const { return m_slidOut; }

    // Snaps a proposed rectangle of a drag (the MovingEvent's) and decides the edge.
    void snap(QRect &proposed);
    // Slides the docked window out, unless the pointer is inside dockRect. A window moved elsewhere while
    // slid out shows whole there until it slides in.
    void slideOut();
    // Brings the whole window back to its edge.
    void slideIn();

signals:
    // After every proposed rectangle of a drag that ends at an edge.
    void docked(EdgeDocker::Edge edge);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pointerEntered();
    void pointerLeft();
    void checkPointer();
    bool windowShowsAt(const QPoint &globalPos) const;
    QPoint placeAtEdge(bool slidOut) const;
    void showStrip(const QPoint &slide);
    void showWhole();

    const Screen &m_screen;
    QWidget *const m_window;
    QTimer *m_wakeUp;
    QRect m_dockRect;
    Edge m_edge = Edge::None;
    int m_visibleStrip = 3;
    int m_snapDistance = 10;
    bool m_slidOut = false;
    bool m_pointerInside = false;
    bool m_stripShown = false;
    QPoint m_slide;       // from where the window stands to where it would stand slid out
    QPoint m_stripAt;     // where the window stands while it shows the strip
    QRegion m_wholeShape; // the window's mask before the strip's: empty for none
};
