#pragma once

#include <QRect>
#include <QString>

class DataGrid;
class DataSource;
class Dialogs;
class QDateEdit;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QWidget;

// Puts controls on one panel at their design places, each named after its design name. Controls are
// created in tab order, which makes the creation order the tab order.
class PanelBuilder
{
public:
    explicit PanelBuilder(QWidget &panel)
        : m_panel(panel)
    {
    }

    // A new page at the end of `pages`.
    static QWidget *addPage(QTabWidget &pages, const char *pageName, const QString &caption);
    // A new page holding one panel at the design place of a page's panel; the panel is returned.
    static QFrame *addPanelPage(QTabWidget &pages, const char *pageName, const QString &caption, const char *panelName);

    QFrame *panel(const char *name, const QRect &geometry);
    void label(const char *name, const QString &caption, int left, int top);
    QLineEdit *edit(const char *name, const QRect &geometry);
    QPlainTextEdit *memo(const char *name, const QRect &geometry);
    QTimeEdit *timeEdit(const char *name, int left, int top, int width);
    QDateEdit *datePicker(const char *name, const QRect &geometry);
    QPushButton *button(const char *name, const QString &caption, const QRect &geometry);
    DataGrid *grid(const char *name, const QRect &geometry, DataSource &source, Dialogs &dialogs);

private:
    template <typename Control> Control *place(Control *control, const char *name, const QRect &geometry);

    QWidget &m_panel;
};
