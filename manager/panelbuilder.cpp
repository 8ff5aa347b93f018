#include "manager/panelbuilder.h"

#include "manager/datagrid.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeEdit>

namespace {
const QRect kPanelOnPage(18, 24, 545, 273);
constexpr int kSpinHeight = 21;
} // namespace

template <typename Control> Control *PanelBuilder::place(Control *control, const char *name, const QRect &geometry)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QWidget *PanelBuilder::addPage(QTabWidget &pages, const char *pageName, const QString &caption)
{
    auto *page = new QWidget;
    page->setObjectName(QString::fromLatin1(pageName));
    pages.addTab(page, caption);
    return page;
}

QFrame *PanelBuilder::addPanelPage(QTabWidget &pages, const char *pageName, const QString &caption,
                                   const char *panelName)
{
    return PanelBuilder(*addPage(pages, pageName, caption)).panel(panelName, kPanelOnPage);
}

QFrame *PanelBuilder::panel(const char *name, const QRect &geometry)
{
    auto *frame = place(new QFrame(&m_panel), name, geometry);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

void PanelBuilder::label(const char *name, const QString &caption, int left, int top)
{
    auto *text = new QLabel(caption, &m_panel);
    text->setObjectName(QString::fromLatin1(name));
    text->move(left, top);
    text->adjustSize();
}

QLineEdit *PanelBuilder::edit(const char *name, const QRect &geometry)
{
    return place(new QLineEdit(&m_panel), name, geometry);
}

QPlainTextEdit *PanelBuilder::memo(const char *name, const QRect &geometry)
{
    auto *memo = place(new QPlainTextEdit(&m_panel), name, geometry);
    memo->setTabChangesFocus(true); // Enter starts a new line; Tab moves on as in every other field
    return memo;
}

QTimeEdit *PanelBuilder::timeEdit(const char *name, int left, int top, int width)
{
    auto *time = place(new QTimeEdit(&m_panel), name, QRect(left, top, width, kSpinHeight));
    time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    time->setTime(QTime(0, 0));
    return time;
}

QDateEdit *PanelBuilder::datePicker(const char *name, const QRect &geometry)
{
    auto *picker = place(new QDateEdit(&m_panel), name, geometry);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(picker->locale().dateFormat(QLocale::ShortFormat));
    return picker;
}

QPushButton *PanelBuilder::button(const char *name, const QString &caption, const QRect &geometry)
{
    auto *button = place(new QPushButton(caption, &m_panel), name, geometry);
    button->setAutoDefault(false); // Enter presses no button
    return button;
}

DataGrid *PanelBuilder::grid(const char *name, const QRect &geometry, DataSource &source, Dialogs &dialogs)
{
    return place(new DataGrid(source, dialogs, &m_panel), name, geometry);
}
