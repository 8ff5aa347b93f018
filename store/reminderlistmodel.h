#pragma once

#include "store/reminder.h"
#include "store/reminderfields.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

class ReminderStore;

// Every reminder as "select * from 日程提醒" returns them, for the manager's grids: the table's own columns
// in its own order, titled with their names, every value shown as text. The rows are read a page at a
// time as the views scroll (a million rows load as fast as ten), and no statement stays open between
// calls, so other programs can write the file meanwhile. When some reminders repeat, a last column 重复 shows
// how (每周一, 每天 …), empty for the others.
class ReminderListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ReminderListModel(ReminderStore &store, QObject *parent = nullptr);

    // Reads the list afresh; the views are reset once. Throws AppError when the store fails: the list is
    // then empty and not loaded.
    void reload();
    // Whether the last reload succeeded.
    bool isLoaded() const;
    // The reminder of a row that has been read; every field filled.
    Reminder reminderAt(int row) const;
    // The 时间 of a row that has been read, as it is stored.
    QString storedDueText(int row) const;
    // How a row that has been read repeats (每周一 …); empty when it does not.
    QString repeatLabel(int row) const;
    // Whether a row that has been read has an id that the update and the deletion can find it by.
    bool hasUsableId(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    // Never throws (it runs inside Qt's view code): a failure is reported by fetchFailed, and what was
    // read stays.
    void fetchMore(const QModelIndex &parent) override;

signals:
    void fetchFailed(const QString &message);

private:
    // A page of rows from `offset` on, every field as text; `columns` receives the result's column names.
    QList<QStringList> readPage(int offset, QStringList *columns = nullptr) const;
    int countRows() const;

    ReminderStore &m_store;
    QStringList m_columns;
    ReminderFields m_fields;
    QList<QStringList> m_rows;
    QHash<qint64, QString> m_repeats; // by row
    int m_total = 0;                  // the rows counted at the last reload; m_rows holds the first of them
};
