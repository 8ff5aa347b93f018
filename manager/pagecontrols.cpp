#include "manager/pagecontrols.h"

#include "core/text.h"
#include "manager/repeatchoice.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

constexpr int kSpinHeight = 21; // the height the date and time fields have always had

// Times are typed as people type them: the click that enters the field selects its hour, so that "0930"
// makes 09:30:00; a later click selects the part clicked, and a drag what it covers.
class TimeOfDayEdit : public QTimeEdit
{
public:
    explicit TimeOfDayEdit(QWidget *parent)
        : QTimeEdit(parent)
    {
        lineEdit()->installEventFilter(this);
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QTimeEdit::focusInEvent(event);
        m_enteredByClick = event->reason() == Qt::MouseFocusReason;
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease) {
            if (!lineEdit()->hasSelectedText())
                setSelectedSection(m_enteredByClick ? HourSection : currentSection());
            m_enteredByClick = false;
        }
        return QTimeEdit::eventFilter(watched, event);
    }

private:
    bool m_enteredByClick = false;
};

// The regional settings with the digits 0 to 9: under a region that writes its own digits the date and
// time fields would show those, mixed with the Latin digits typed on the keyboard.
QLocale withLatinDigits(const QLocale &locale)
{
    return locale.zeroDigit() == QLatin1String("0") ? locale : QLocale::c();
}

template <typename Control> Control *place(Control *control, const char *name, const QRect &geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace

QFrame *placePanel(QWidget *parent, const QRect &geometry)
{
    auto *panel = place(new QFrame(parent), "panel", geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QLabel *placeCaption(QWidget *panel, const char *name, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, panel);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}

QLineEdit *placeLineEdit(QWidget *panel, const char *name, const QRect &geometry)
{
    return place(new QLineEdit(panel), name, geometry);
}

QPlainTextEdit *placeTextEdit(QWidget *panel, const char *name, const QRect &geometry)
{
    auto *edit = place(new QPlainTextEdit(panel), name, geometry);
    edit->setTabChangesFocus(true);
    return edit;
}

QTimeEdit *placeTimeEdit(QWidget *panel, QPoint at, int width)
{
    auto *edit = place(new TimeOfDayEdit(panel), "timeEdit", QRect(at, QSize(width, kSpinHeight)));
    edit->setLocale(withLatinDigits(edit->locale()));
    edit->setAccessibleName(QCoreApplication::translate("ManagerPages", "提醒时间"));
    edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    edit->setTime(QTime(0, 0));
    return edit;
}

QDateEdit *placeDateEdit(QWidget *panel, const QRect &geometry)
{
    auto *edit = place(new QDateEdit(panel), "dateEdit", geometry);
    edit->setAccessibleName(QCoreApplication::translate("ManagerPages", "提醒日期"));
    const QLocale regional = edit->locale();
    edit->setLocale(withLatinDigits(regional));
    edit->setDisplayFormat(regional.dateFormat(QLocale::ShortFormat));
    edit->setCalendarPopup(true);
    edit->calendarWidget()->setLocale(regional); // day and month names as the region writes them
    return edit;
}

RepeatChoice *placeRepeatChoice(QWidget *panel, const QRect &geometry)
{
    return place(new RepeatChoice(panel), "repeatChoice", geometry);
}

QPushButton *placeButton(QWidget *panel, const char *name, const QString &caption, const QRect &geometry)
{
    auto *button = place(new QPushButton(caption, panel), name, geometry);
    button->setAutoDefault(false);
    return button;
}
