#pragma once

#include <QAbstractButton>

// A caption that acts as a link, with the hand cursor; as a web link (the default look) it reads blue and
// underlined on a transparent background, styled it leaves its look to the window's style sheet, where
// [hovered="true"] picks its look under the pointer. It has no address of its own; a left click, or Enter
// or Space once Tab reached it, runs whatever is connected to clicked(). A dotted rectangle marks it while
// it has the focus. Screen readers see a link, named by its caption, that their press action follows.
// It paints its caption itself: a label that takes the focus lays its text out as a rich-text document,
// which cost the main window a tenth of its start-up.
class LinkLabel : public QAbstractButton
{
    Q_OBJECT

public:
    enum class Look { WebLink, Styled };

    LinkLabel(const QString &caption, QWidget *parent = nullptr, Look look = Look::WebLink);

    void setAlignment(Qt::Alignment alignment);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setHovered(bool hovered);

    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
