#pragma once

#include <QTableView>

class DataSource;
class Dialogs;

// A read-only grid on a data source. The source's query has one current row, and every grid on the
// source shows and moves that same row: a left or right press on a data row makes it current, a press
// below the rows leaves it where it is.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    DataGrid(DataSource &source, Dialogs &dialogs, QWidget *parent = nullptr);

signals:
    // A left double-click anywhere on the grid: on a row, on the titles or below the rows.
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void showCurrentRow(int row);
    void makeRowCurrent(int row);

    DataSource &m_source;
    Dialogs &m_dialogs;
    bool m_resetting = false;
};
