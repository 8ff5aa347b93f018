#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

class QWidget;

// Shakes a window: 100 passes, each moving its left and then its top to a random offset from -10 to +9 of
// where it stood, then its left and its top back to exactly where it stood. One move per timer tick, so
// that the eye follows a shake and the program goes on working meanwhile.
class WindowShake : public QObject
{
    Q_OBJECT

public:
    explicit WindowShake(QWidget *window);

    // Starts a shake from where the window stands; does nothing while one runs.
    void start();
    // Ends a running shake at once, the window back where it stood, without finished().
    void stop();

    static constexpr int kPasses = 100;
    static constexpr int kMoves = 2 * kPasses + 2;

signals:
    // The window stands where it stood before the shake.
    void finished();

private:
    void step();

    QWidget *const m_window; // the shake's owner
    QTimer m_timer;
    QPoint m_origin;
    int m_move = 0;
};
