#include "manager/pagecontrols.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

constexpr int kSpinHeight = 21;

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

void placeCaption(QWidget *panel, const char *name, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, panel);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
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
    auto *edit = place(new QTimeEdit(panel), "timeEdit", QRect(at, QSize(width, kSpinHeight)));
    edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    edit->setTime(QTime(0, 0));
    return edit;
}

QDateEdit *placeDateEdit(QWidget *panel, const QRect &geometry)
{
    auto *edit = place(new QDateEdit(panel), "dateEdit", geometry);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(edit->locale().dateFormat(QLocale::ShortFormat));
    return edit;
}

QPushButton *placeButton(QWidget *panel, const char *name, const QString &caption, const QRect &geometry)
{
    auto *button = place(new QPushButton(caption, panel), name, geometry);
    button->setAutoDefault(false);
    return button;
}
