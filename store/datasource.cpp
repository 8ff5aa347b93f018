#include "store/datasource.h"

#include "store/query.h"

DataSource::DataSource(Query &query, QObject *parent)
    : QAbstractTableModel(parent)
    , m_query(query)
{
    connect(&query, &Query::aboutToReset, this, [this] {
        if (!suspended())
            beginResetModel();
    });
    connect(&query, &Query::reset, this, [this] {
        if (!suspended())
            endResetModel();
    });
    connect(&query, &Query::aboutToFetch, this, [this](int first, int last) {
        if (!suspended())
            beginInsertRows({}, first, last);
    });
    connect(&query, &Query::fetched, this, [this] {
        if (!suspended())
            endInsertRows();
    });
    connect(&query, &Query::aboutToRemove, this, [this](int row) {
        if (!suspended())
            beginRemoveRows({}, row, row);
    });
    connect(&query, &Query::removed, this, [this] {
        if (!suspended())
            endRemoveRows();
    });
    connect(&query, &Query::currentRowChanged, this, &DataSource::currentRowChanged);
}

void DataSource::disableControls()
{
    if (m_disabled++ == 0)
        beginResetModel();
}

void DataSource::enableControls()
{
    if (m_disabled > 0 && --m_disabled == 0) {
        endResetModel();
        emit currentRowChanged(m_query.currentRow());
    }
}

int DataSource::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_query.fetchedCount();
}

int DataSource::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_query.columns().size());
}

QVariant DataSource::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_query.fetchedCount())
        return {};
    return m_query.value(index.row(), index.column()).toString();
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_query.columns().size() ? QVariant(m_query.columns().at(section)) : QVariant();
    return section == m_query.currentRow() ? QStringLiteral("▶") : QString();
}

bool DataSource::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_query.canFetchMore();
}

void DataSource::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        m_query.fetchMore();
}
