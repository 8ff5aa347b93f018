#pragma once

#include "window/screenrect.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QTimer;
class ScreenInfo;

// Docks its window to the top, left or right edge of the screen while the user drags it there, slides
// the window out of sight but for a strip EdgeSpace pixels wide when the pointer leaves it, and back when
// the pointer enters that strip. Owned by the window (or by one of its controls).
class TZnHideForm : public QObject
{
    Q_OBJECT

public:
    enum TDockPos { dpNone, dpTop, dpLeft, dpRight };
    using TDockEvent = std::function<void(TDockPos nDockPos)>;

    // Fails with "未找到主窗体" when neither the owner nor one of its parent controls is a window.
    TZnHideForm(QObject *owner, const ScreenInfo &screen);
    ~TZnHideForm() override;

    TDockPos dockPos() const { return m_dockPos; }

    bool autoDock() const { return m_autoDock; }
    void setAutoDock(bool autoDock);
    // Keeps the window above all others and takes it off the taskbar.
    bool alwaysTop() const { return m_alwaysTop; }
    void setAlwaysTop(bool alwaysTop);
    // 1 to 50; otherwise fails with "请填写1-50以内的数字" and keeps the value.
    int edgeSpace() const { return m_edgeSpace; }
    void setEdgeSpace(int edgeSpace);
    // 5 to 50; otherwise fails with "请填写5-50以内的数字" and keeps the value.
    int validSpace() const { return m_validSpace; }
    void setValidSpace(int validSpace);

    // The handlers run inside Qt's event delivery: the window wraps them in guarded().
    // Raised after every proposed rectangle that ends at an edge.
    void setDockEvent(TDockEvent handler) { m_dockEvent = std::move(handler); }
    // When set, these replace the hiding and the showing move.
    void setOnHideForm(TDockEvent handler) { m_onHideForm = std::move(handler); }
    void setOnShowForm(TDockEvent handler) { m_onShowForm = std::move(handler); }

    // The window's bounds when AutoDock was switched on; afterwards the rectangle of the latest moving
    // notification, as SnapToEdge left it.
    const ScreenRect &DockRect() const { return m_dockRect; }
    // True from HideForm to the next ShowForm.
    bool isFormHidden() const { return m_hidden; }

    // Snaps a proposed rectangle of the drag to the edge it comes within ValidSpace of, while the drag
    // goes towards that edge or along it; decides DockPos.
    void SnapToEdge(ScreenRect &rect);
    // Slides the docked window out, unless the pointer is inside DockRect.
    void HideForm();
    void ShowForm();

    // Each tick of the wake-up timer: catches a pointer that left the window without the window hearing
    // of it, and a pointer that left DockRect after leaving the window through a cut-away part.
    void checkPointer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pointerEntered();
    void pointerLeft();
    bool formShowsAt(const QPoint &globalPos) const;

    const ScreenInfo &m_screen;
    QPointer<QWidget> m_form;
    QTimer *m_wakeUp = nullptr;
    bool m_hidden = false;
    bool m_pointerInside = false;
    TDockPos m_dockPos = dpNone;
    bool m_alwaysTop = false;
    bool m_autoDock = false;
    int m_edgeSpace = 3;
    int m_validSpace = 10;
    Qt::WindowType m_typeBeforeAlwaysTop = Qt::Window;
    ScreenRect m_dockRect;
    TDockEvent m_dockEvent;
    TDockEvent m_onHideForm;
    TDockEvent m_onShowForm;
};
