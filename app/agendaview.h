#pragma once

#include <QStringList>
#include <QWidget>

// Today's agenda as the marquee moves it: plain text in lines, as wide as the panel it scrolls through and as
// tall as its lines, with the font and colour of its style. Only the lines in sight are laid out and painted, so a day
// with thousands of reminders scrolls as lightly as one with three.
class AgendaView : public QWidget
{
    Q_OBJECT

public:
    explicit AgendaView(QWidget *parent = nullptr);

    // Lines are separated by line feeds; the view takes the size the text needs.
    void setText(const QString &text);
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void measure();

    QStringList m_lines;
};
