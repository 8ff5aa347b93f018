#pragma once

#include <QAccessible>
#include <QWidget>

// An invisible clickable rectangle with the hand-point cursor, lying over a button painted on a window's
// background picture. A press on it is its own: it never drags the window. Tab reaches it, a dotted
// rectangle marks it then, and Enter or Space presses it; screen readers see it as its role (a button
// unless told otherwise) named by its accessible name, the caption painted under it.
class HotArea : public QWidget
{
    Q_OBJECT

public:
    explicit HotArea(QWidget *parent = nullptr, const QRect &geometry = {});

    QAccessible::Role accessibleRole() const { return m_role; }
    void setAccessibleRole(QAccessible::Role role) { m_role = role; }

signals:
    // A left-button press and release, both inside the area, a key press or a screen reader's press.
    void clicked();
    // Every pointer movement over the area, with or without a button held.
    void pointerMoved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
    bool m_focusMarked = false;
    QAccessible::Role m_role = QAccessible::Button;
};
