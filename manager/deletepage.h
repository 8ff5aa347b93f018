#pragma once

#include <QString>
#include <QWidget>

class QMenu;
class ReminderGrid;
struct ManagerContext;

// Told instead of the confirmation when another program had already deleted the row.
inline const QString kDeletedRowGoneMessage = QStringLiteral("这条日程提醒已被其他程序删除。列表已重新读取。");

// The page that deletes reminders: the grid's context menu deletes the current row at once, without a
// question. A right press on a row makes it current first.
class DeletePage : public QWidget
{
    Q_OBJECT

public:
    explicit DeletePage(ManagerContext &context, QWidget *parent = nullptr);

private:
    void deleteCurrent();

    ManagerContext &m_context;
    ReminderGrid *m_grid;
    QMenu *m_menu;
};
