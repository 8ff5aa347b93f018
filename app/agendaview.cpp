#include "app/agendaview.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

AgendaView::AgendaView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents); // a press on the agenda is the window's: it drags
}

void AgendaView::setText(const QString &text)
{
    m_lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    setAccessibleDescription(text); // what a screen reader reads of the painted lines
    measure();
}

void AgendaView::measure()
{
    resize(sizeHint());
    update();
}

// As wide as the panel that clips it: measuring every line of a long day would cost more than it shows. An
// empty agenda asks nothing of its font, so that showing the window does not wait for the font to load.
QSize AgendaView::sizeHint() const
{
    const int width = parentWidget() ? parentWidget()->width() : 0;
    return {width, m_lines.isEmpty() ? 0 : int(m_lines.size()) * fontMetrics().lineSpacing()};
}

void AgendaView::paintEvent(QPaintEvent *event)
{
    if (m_lines.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineSpacing = fontMetrics().lineSpacing();
    const int first = std::max(event->rect().top() / lineSpacing, 0);
    const int last = std::min(event->rect().bottom() / lineSpacing, int(m_lines.size()) - 1);
    for (int line = first; line <= last; ++line)
        painter.drawText(0, line * lineSpacing + fontMetrics().ascent(), m_lines.at(line));
}

// The style gives the font later than the text may come.
void AgendaView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        measure();
    QWidget::changeEvent(event);
}
