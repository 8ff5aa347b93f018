#pragma once

#include <QLabel>

// A caption that reads as a web link: blue, underlined, on a transparent background, with the hand
// cursor. It has no address of its own; a left click, or Enter or Space once Tab reached it, runs whatever
// is connected to clicked(). A dotted rectangle marks it while it has the focus. Screen readers see a link,
// named by its caption, that their press action follows.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(const QString &caption, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
