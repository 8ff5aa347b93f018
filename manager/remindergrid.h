#pragma once

#include <QTableView>

class ReminderList;

// A read-only grid on the manager's list of reminders. Rows are selected whole, one at a time, and every
// grid on the list shares its current row: a left or right press on a row makes it current, a press below
// the rows leaves it where it is.
class ReminderGrid : public QTableView
{
    Q_OBJECT

public:
    explicit ReminderGrid(ReminderList &list, QWidget *parent = nullptr);

signals:
    // A left double-click anywhere on the grid: on a row, on the titles or below the rows.
    void doubleClickedAnywhere();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
