#include "manager/remindergrid.h"

#include "manager/reminderlist.h"
#include "store/reminderlistmodel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

constexpr int kRowsMeasured = 20;
constexpr int kWidestColumn = 220;
// Far more than a column of the widest width shows.
constexpr qsizetype kShownCharacters = 512;

// Shows the start of each value: measuring and eliding a content of megabytes, which another program may
// have written, would take seconds at every repaint.
class ValueStartDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        return QStyledItemDelegate::displayText(value.toString().left(kShownCharacters), locale);
    }
};

} // namespace

ReminderGrid::ReminderGrid(ReminderList &list, QWidget *parent)
    : QTableView(parent)
{
    setAccessibleName(tr("提醒列表"));
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
    setItemDelegate(new ValueStartDelegate(this));

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
