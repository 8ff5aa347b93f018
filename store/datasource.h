#pragma once

#include <QAbstractTableModel>

class Query;

// The one model through which every grid shows a query: the query's columns, titled with their names,
// its rows fetched as the views scroll, and the query's one current row shared by all views.
class DataSource : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DataSource(Query &query, QObject *parent = nullptr);

    Query &dataSet() const { return m_query; }

    // Suspends the views while the query is re-read, so that they repaint once at the end.
    void disableControls();
    void enableControls();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    void currentRowChanged(int row);

private:
    bool suspended() const { return m_disabled > 0; }

    Query &m_query;
    int m_disabled = 0;
};
