#include "manager/datagrid.h"

#include "store/datasource.h"
#include "store/query.h"
#include "window/dialogs.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
constexpr int kRowsMeasured = 20;
constexpr int kWidestColumn = 220;
} // namespace

DataGrid::DataGrid(DataSource &source, Dialogs &dialogs, QWidget *parent)
    : QTableView(parent)
    , m_source(source)
    , m_dialogs(dialogs)
{
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // Columns fit what the first rows show; a long content does not push the others out of sight.
    horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    horizontalHeader()->setMaximumSectionSize(kWidestColumn);
    setModel(&source);

    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_resetting = true; });
    connect(&source, &QAbstractItemModel::modelReset, this, [this] {
        m_resetting = false;
        if (isVisible()) // a hidden grid is sized when its page is shown, which re-reads the list
            resizeColumnsToContents();
        if (m_source.dataSet().isOpen())
            showCurrentRow(m_source.dataSet().currentRow());
    });
    connect(&source, &DataSource::currentRowChanged, this, &DataGrid::showCurrentRow);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            makeRowCurrent(current.row());
    });
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()})
        connect(header, &QHeaderView::sectionDoubleClicked, this, &DataGrid::dblClick);
}

void DataGrid::showCurrentRow(int row)
{
    // Mid-reset the rows are not yet the view's; the reset's end shows the row.
    if (m_resetting || row < 0 || row >= m_source.rowCount())
        return;
    const int column = std::max(currentIndex().column(), 0);
    selectionModel()->setCurrentIndex(m_source.index(row, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    verticalHeader()->viewport()->update(); // the row indicator moves with the row
}

void DataGrid::makeRowCurrent(int row)
{
    Query &query = m_source.dataSet();
    if (query.isOpen() && query.currentRow() != row)
        guarded(m_dialogs, [&] { query.setCurrentRow(row); });
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit dblClick();
}
