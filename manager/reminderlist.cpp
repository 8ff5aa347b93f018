#include "manager/reminderlist.h"

#include "core/apperror.h"
#include "manager/pagecontrols.h"
#include "store/reminderlistmodel.h"
#include "window/dialogs.h"

#include <QItemSelectionModel>

#include <algorithm>

ReminderList::ReminderList(ReminderStore &store, QObject *parent)
    : QObject(parent)
    , m_model(new ReminderListModel(store, this))
    , m_selection(new QItemSelectionModel(m_model, this))
{
}

void ReminderList::reload()
{
    m_model->reload();
    if (m_model->rowCount() > 0)
        m_selection->setCurrentIndex(m_model->index(0, 0),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool ReminderList::hasRows() const
{
    return m_model->isLoaded() && m_model->rowCount() > 0;
}

int ReminderList::currentRow() const
{
    return std::max(m_selection->currentIndex().row(), 0);
}

Reminder ReminderList::current() const
{
    if (!m_model->isLoaded())
        throw AppError(kListNotReadMessage);
    if (m_model->rowCount() == 0)
        throw AppError(kListEmptyMessage);
    return m_model->reminderAt(currentRow());
}

QString ReminderList::currentDueText() const
{
    return m_model->storedDueText(currentRow());
}

QString ReminderList::currentRepeatLabel() const
{
    return m_model->repeatLabel(currentRow());
}

bool ReminderList::currentHasUsableId() const
{
    return m_model->hasUsableId(currentRow());
}

std::optional<Reminder> ReminderList::currentToShow(Dialogs &dialogs) const
{
    if (!hasRows()) {
        dialogs.informationBox(kNoDataMessage, kNoticeCaption);
        return std::nullopt;
    }
    return current();
}
