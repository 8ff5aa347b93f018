#pragma once

#include "store/reminder.h"

#include <QObject>
#include <QString>
#include <optional>

class Dialogs;
class QItemSelectionModel;
class ReminderListModel;
class ReminderStore;

// What the error box says when a command needs the current reminder and the list has none: the list could
// not be read, or it is empty. The texts stay word for word as users have always read them.
inline const QString kListNotReadMessage = QStringLiteral("qry2: Cannot perform this operation on a closed dataset");
inline const QString kListEmptyMessage = QStringLiteral("qry2: Cannot perform this operation on an empty dataset");

// Every reminder, as the manager's three grids show it, with the one current row they share: the current
// index of one selection model, which every reading puts on the first row.
class ReminderList : public QObject
{
    Q_OBJECT

public:
    explicit ReminderList(ReminderStore &store, QObject *parent = nullptr);

    ReminderListModel *model() const { return m_model; }
    QItemSelectionModel *selectionModel() const { return m_selection; }

    // Reads the list afresh and makes its first row current. Throws AppError when the store fails; the list
    // is then empty.
    void reload();
    // The list has been read and holds at least one reminder.
    bool hasRows() const;
    // The reminder of the current row. Throws AppError (kListNotReadMessage, kListEmptyMessage) when there
    // is none.
    Reminder current() const;
    // The current reminder, for a page that shows it; with none to show, the notice "没有任何数据!" and nothing.
    std::optional<Reminder> currentToShow(Dialogs &dialogs) const;
    // The current row's 时间 as stored; a null QString when the row holds no value there.
    QString currentDueText() const;
    // How the current row repeats (每周一 …); empty when it does not.
    QString currentRepeatLabel() const;
    // Whether the current row has an id that the update and the deletion can find it by.
    bool currentHasUsableId() const;

private:
    int currentRow() const;

    ReminderListModel *m_model;
    QItemSelectionModel *m_selection;
};
