#include "manager/remindergrid.h"

#include "manager/reminderlist.h"
#include "store/reminderlistmodel.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
constexpr int kRowsMeasured = 20;
constexpr int kWidestColumn = 220;
} // namespace

ReminderGrid::ReminderGrid(ReminderList &list, QWidget *parent)
    : QTableView(parent)
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

    setModel(list.model());
    QItemSelectionModel *own = selectionModel();
    setSelectionModel(list.selectionModel());
    delete own;

    // A hidden grid is sized when its page is shown, which reads the list again.
    connect(list.model(), &QAbstractItemModel::modelReset, this, [this] {
        if (isVisible())
            resizeColumnsToContents();
    });
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()})
        connect(header, &QHeaderView::sectionDoubleClicked, this, &ReminderGrid::doubleClickedAnywhere);
}

void ReminderGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClickedAnywhere();
}
