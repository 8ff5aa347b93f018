#include "alert/alertwindow.h"

#include "alert/alertsound.h"
#include "alert/windowshake.h"
#include "store/reminder.h"
#include "store/textformats.h"
#include "window/fieldstyle.h"
#include "window/hotarea.h"
#include "window/keys.h"
#include "window/screen.h"
#include "window/shapedpicture.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

template <typename Field> Field *readOnlyField(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *field = new Field(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(geometry);
    setReadOnlyLook(field);
    return field;
}

struct SnoozeChoice
{
    const char *text;
    int minutes;
};
constexpr SnoozeChoice kSnoozeChoices[] = {{QT_TRANSLATE_NOOP("AlertWindow", "5 分钟"), 5},
                                           {QT_TRANSLATE_NOOP("AlertWindow", "10 分钟"), 10},
                                           {QT_TRANSLATE_NOOP("AlertWindow", "30 分钟"), 30},
                                           {QT_TRANSLATE_NOOP("AlertWindow", "1 小时"), 60}};

// A caption to the left of its field, whose name for screen readers it gives.
void caption(QWidget *field, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, field->parentWidget());
    label->move(at);
    label->adjustSize();
    label->setBuddy(field);
}

} // namespace

AlertWindow::AlertWindow(const Screen &screen, std::unique_ptr<AlertSound> sound, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint)
    , m_screen(screen)
    , m_sound(std::move(sound))
{
    setObjectName(QStringLiteral("alertWindow"));
    setWindowTitle(tr("日程提醒"));
    // Nothing else of the program takes input while an alert is open (QDialog::open() would make it
    // modal to its parent alone).
    setWindowModality(Qt::ApplicationModal);
    new ShapedPicture(QStringLiteral(":/assets/alert.png"), this);

    auto *panel = new QFrame(this);
    panel->setGeometry(16, 56, 569, 329);
    m_subjectField = readOnlyField<QLineEdit>(panel, "subjectField", {96, 51, 442, 19});
    m_contentField = readOnlyField<QPlainTextEdit>(panel, "contentField", {96, 98, 441, 119});
    m_timeField = readOnlyField<QLineEdit>(panel, "timeField", {96, 231, 441, 19});
    caption(m_subjectField, tr("日程主题："), {24, 54});
    caption(m_contentField, tr("日程内容："), {24, 101});
    caption(m_timeField, tr("提醒时间："), {24, 234});
    auto *backButton = new QPushButton(tr("返回"), panel);
    backButton->setObjectName(QStringLiteral("backButton"));
    backButton->setGeometry(467, 276, 75, 25);
    backButton->setAutoDefault(false); // Enter presses it only when it has the focus
    connect(backButton, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(m_subjectField, m_contentField);
    setTabOrder(m_contentField, m_timeField);
    setTabOrder(m_timeField, backButton);
    setTabOrder(backButton, makeSnoozeButton(panel));

    // Made after the fields, which puts them after the fields in tab order: the window opens on the subject.
    auto *minimizeArea = new HotArea(this, {544, 0, 17, 20});
    auto *maximizeArea = new HotArea(this, {562, 0, 17, 20}); // takes its click and does nothing
    maximizeArea->setFocusPolicy(Qt::NoFocus);
    auto *closeArea = new HotArea(this, {579, 0, 17, 20});
    auto *playArea = new HotArea(this, {282, 409, 38, 34});
    minimizeArea->setAccessibleName(tr("最小化"));
    maximizeArea->setAccessibleName(tr("最大化"));
    closeArea->setAccessibleName(tr("关闭"));
    playArea->setAccessibleName(tr("播放"));
    // Moving onto the glyph minimises the whole program; clicking it, the alert alone.
    connect(minimizeArea, &HotArea::pointerMoved, this, &AlertWindow::minimizeProgramRequested);
    connect(minimizeArea, &HotArea::clicked, this, &QWidget::showMinimized);
    connect(closeArea, &HotArea::clicked, this, &QWidget::close);
    connect(playArea, &HotArea::clicked, this, &AlertWindow::playSound);

    m_shake = new WindowShake(this);
    connect(m_shake, &WindowShake::finished, this, &AlertWindow::playSound);
    // A window closed before its shake has ended neither shakes nor sounds any further.
    connect(this, &QDialog::finished, this, [this] {
        m_open = false;
        m_shake->stop();
    });
}

AlertWindow::~AlertWindow() = default;

// 稍后提醒 beside 返回, on the panel's free stretch left of it (the player there is never visible): a click,
// Space or Enter opens the small menu of delays; a delay chosen closes the window as 返回 does.
QWidget *AlertWindow::makeSnoozeButton(QWidget *panel)
{
    auto *button = new QPushButton(tr("稍后提醒"), panel);
    button->setObjectName(QStringLiteral("snoozeButton"));
    button->setGeometry(367, 276, 92, 25);
    // Enter on the button opens its menu; the window's own Enter presses nothing.
    button->setAutoDefault(true);
    auto *menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("snoozeMenu"));
    // For tests only: a shorter delay, so that an end-to-end run sees a reminder come again.
    if (qEnvironmentVariableIsSet("ORVANE_TEST_SNOOZE_CHOICE"))
        menu->addAction(tr("1 分钟"))->setData(1);
    for (const SnoozeChoice &choice : kSnoozeChoices)
        menu->addAction(tr(choice.text))->setData(choice.minutes);
    connect(menu, &QMenu::triggered, this, [this](QAction *action) {
        emit snoozeRequested(m_reminder, action->data().toInt());
        reject();
    });
    // popup(), not QPushButton's own menu, which runs a nested loop until the menu closes.
    connect(button, &QPushButton::clicked, menu,
            [button, menu] { menu->popup(button->mapToGlobal(QPoint(0, button->height()))); });
    return button;
}

void AlertWindow::showReminder(const Reminder &reminder)
{
    m_open = true;
    m_reminder = reminder;
    fillFields(reminder);
    if (!m_placed) {
        m_placed = true;
        move(centredOn(m_screen.geometry(), size()));
    }
    show();
    // Shake and sound for every alert, whether or not the window manager lets the window become active:
    // some refuse a window that a timer raises.
    raise();
    activateWindow();
    m_shake->start();
}

// A row that another program wrote may lack a value or hold an unreadable time: what there is shows.
void AlertWindow::fillFields(const Reminder &reminder)
{
    m_subjectField->setText(reminder.subject);
    m_timeField->setText(reminder.due.isValid() ? regionalDateTimeText(reminder.due) : QString());
    setContentText(m_contentField, reminder.content);
}

void AlertWindow::playSound()
{
    m_sound->play(alertSoundPath());
}

// Escape closes the alert as 返回 does; Enter presses the focused button, and nothing in a field.
void AlertWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        reject();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!pressFocusedButton(event))
            event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
