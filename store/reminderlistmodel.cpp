#include "store/reminderlistmodel.h"

#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "store/statement.h"

#include <QScopeGuard>

namespace {

constexpr int kPageSize = 256; // a few screens of rows, read in a few milliseconds
// "select * from 日程提醒", with the row itself in front, which the views do not show.
constexpr char kListSql[] = "select rowid,* from 日程提醒";
constexpr int kShownFrom = 1;

} // namespace

ReminderListModel::ReminderListModel(ReminderStore &store, QObject *parent)
    : QAbstractTableModel(parent)
    , m_store(store)
{
}

void ReminderListModel::reload()
{
    beginResetModel();
    const auto endReset = qScopeGuard([this] { endResetModel(); });
    m_columns.clear();
    m_rows.clear();
    m_repeats.clear();
    m_total = 0;

    m_store.open();
    QStringList columns;
    QList<QStringList> rows = readPage(0, &columns);
    const int total = rows.size() < kPageSize ? int(rows.size()) : countRows();
    m_fields = ReminderFields(columns);
    m_columns = std::move(columns);
    m_rows = std::move(rows);
    m_total = total;
    const QHash<qint64, Repetition> repeats = ReminderRepeats(m_store).all();
    for (auto repeat = repeats.begin(); repeat != repeats.end(); ++repeat)
        m_repeats.insert(repeat.key(), repeat->label());
}

// Every select names its columns, with rows or without: only a failed reload leaves none.
bool ReminderListModel::isLoaded() const
{
    return !m_columns.isEmpty();
}

Reminder ReminderListModel::reminderAt(int row) const
{
    return m_fields.reminder(m_rows.value(row));
}

QString ReminderListModel::storedDueText(int row) const
{
    return m_fields.storedDueText(m_rows.value(row));
}

bool ReminderListModel::hasUsableId(int row) const
{
    return m_fields.hasUsableId(m_rows.value(row));
}

QList<QStringList> ReminderListModel::readPage(int offset, QStringList *columns) const
{
    // The first page runs the statement as it stands and stops after a page: the paging wrapper doubles the
    // time SQLite takes to prepare it.
    const QByteArray sql = offset == 0 ? QByteArray(kListSql)
                                       : QByteArrayLiteral("SELECT * FROM (") + kListSql + ") LIMIT "
                                             + QByteArray::number(kPageSize) + " OFFSET " + QByteArray::number(offset);
    Statement select(m_store.connection(), sql);
    if (columns)
        *columns = select.columnNames();
    QList<QStringList> rows;
    while (rows.size() < kPageSize && select.next())
        rows.append(select.texts());
    return rows;
}

int ReminderListModel::countRows() const
{
    Statement count(m_store.connection(), QByteArrayLiteral("SELECT count(*) FROM (") + kListSql + ')');
    return count.next() ? int(count.integer(0)) : 0;
}

int ReminderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReminderListModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || m_columns.isEmpty())
        return 0;
    return int(m_columns.size()) - kShownFrom + (m_repeats.isEmpty() ? 0 : 1);
}

QString ReminderListModel::repeatLabel(int row) const
{
    return m_repeats.value(m_rows.value(row).value(0).toLongLong());
}

QVariant ReminderListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (kShownFrom + index.column() == m_columns.size())
        return repeatLabel(index.row());
    return m_rows.at(index.row()).value(kShownFrom + index.column());
}

QVariant ReminderListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return kShownFrom + section == m_columns.size() && !m_repeats.isEmpty() ? tr("重复")
                                                                                : m_columns.value(kShownFrom + section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ReminderListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_rows.size() < m_total;
}

void ReminderListModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const int first = int(m_rows.size());
    QList<QStringList> page;
    try {
        page = readPage(first);
    } catch (const std::exception &error) {
        // Thrown from here, the error would unwind through the view's event handling.
        emit fetchFailed(QString::fromUtf8(error.what()));
        return;
    }
    const int count = std::min(int(page.size()), m_total - first);
    if (count > 0) {
        beginInsertRows({}, first, first + count - 1);
        m_rows.append(page.mid(0, count));
        endInsertRows();
    }
    // Another program removed rows since they were counted: what is there is all there is.
    if (page.size() < kPageSize)
        m_total = int(m_rows.size());
}
