#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
struct ManagerContext;

// The page that shows a reminder: a double-click on the grid shows the current row's subject, content and
// time in three read-only fields, which keep it until the next double-click.
class BrowsePage : public QWidget
{
    Q_OBJECT

public:
    explicit BrowsePage(ManagerContext &context, QWidget *parent = nullptr);

signals:
    void backRequested();

private:
    void showCurrent();

    ManagerContext &m_context;
    QLineEdit *m_subjectField;
    QPlainTextEdit *m_contentField;
    QLineEdit *m_timeField;
};
