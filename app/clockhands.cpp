#include "app/clockhands.h"

#include "core/clock.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The dial's hands as the picture's style draws them: tapered from their full width a little behind the
// centre to half of it at the tip, with a thin dark outline; the centre pin over them.
struct Hand
{
    qreal length;
    qreal width;
    QColor colour;
    bool outlined; // a hand as thin as the second hand would be all outline
};
const Hand kHourHand{52, 8, Qt::white, true};
const Hand kMinuteHand{80, 6, Qt::white, true};
const Hand kSecondHand{88, 2.5, QColor(0xff, 0x9a, 0x2a), false};
constexpr qreal kTail = 12;
const QColor kOutline(0x0b, 0x22, 0x46);
constexpr qreal kPinRadius = 7;
const QColor kPin(0xf5, 0x84, 0x16);
constexpr int kReach = 100; // beyond the longest hand and its outline

void paintHand(QPainter &painter, const Hand &hand, qreal degrees)
{
    painter.save();
    painter.rotate(degrees); // clockwise from twelve o'clock
    QPainterPath path;
    path.moveTo(-hand.width / 2, kTail);
    path.lineTo(hand.width / 2, kTail);
    path.lineTo(hand.width / 4, -hand.length);
    path.lineTo(-hand.width / 4, -hand.length);
    path.closeSubpath();
    painter.setPen(hand.outlined ? QPen(kOutline, 1) : QPen(Qt::NoPen));
    painter.setBrush(hand.colour);
    painter.drawPath(path);
    painter.restore();
}

} // namespace

ClockHands::ClockHands(const Clock &clock, QPoint centre, QWidget *parent)
    : QWidget(parent)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("clockHands"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(centre.x() - kReach, centre.y() - kReach, 2 * kReach, 2 * kReach);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ClockHands::tick);
    tick();
}

// Each tick lands just after the next whole second, so the second hand steps with the clock, not beside it.
void ClockHands::tick()
{
    update();
    m_timer.start(1000 - m_clock.now().time().msec() + 5);
}

void ClockHands::paintEvent(QPaintEvent *)
{
    const QTime now = m_clock.now().time();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kReach, kReach);
    const qreal seconds = now.second();
    const qreal minutes = now.minute() + seconds / 60;
    paintHand(painter, kHourHand, (now.hour() % 12 + minutes / 60) * 30);
    paintHand(painter, kMinuteHand, minutes * 6);
    paintHand(painter, kSecondHand, seconds * 6);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(kPin);
    painter.drawEllipse(QPointF(0, 0), kPinRadius, kPinRadius);
}
