#include "alert/windowshake.h"

#include <QRandomGenerator>
#include <QWidget>

namespace {
constexpr int kMoveIntervalMs = 2;
constexpr int kReach = 10; // offsets from -10 to +9

int offset()
{
    return int(QRandomGenerator::global()->bounded(2 * kReach)) - kReach;
}
} // namespace

WindowShake::WindowShake(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    m_timer.setInterval(kMoveIntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WindowShake::step);
}

void WindowShake::start()
{
    if (m_timer.isActive())
        return;
    m_origin = m_window->pos();
    m_move = 0;
    m_timer.start();
}

void WindowShake::stop()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    m_window->move(m_origin);
}

void WindowShake::step()
{
    const QPoint at = m_window->pos();
    const bool leftMove = m_move % 2 == 0;
    if (m_move < 2 * kPasses) {
        if (leftMove)
            m_window->move(m_origin.x() + offset(), at.y());
        else
            m_window->move(at.x(), m_origin.y() + offset());
    } else if (leftMove) {
        m_window->move(m_origin.x(), at.y());
    } else {
        m_window->move(m_origin);
    }
    if (++m_move == kMoves) {
        m_timer.stop();
        emit finished();
    }
}
