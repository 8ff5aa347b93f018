#pragma once

#include <QLabel>

// A caption that acts as a link, with the hand cursor; as a web link (the default look) it reads blue and
// underlined on a transparent background, styled it leaves its look to the window's style sheet. It has no
// address of its own; a left click, or Enter or Space once Tab reached it, runs whatever is connected to
// clicked(). A dotted rectangle marks it while it has the focus. Screen readers see a link,
// named by its caption, that their press action follows.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    enum class Look { WebLink, Styled };

    LinkLabel(const QString &caption, QWidget *parent = nullptr, Look look = Look::WebLink);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
