#include "manager/deletepage.h"

#include "manager/managercontext.h"
#include "manager/pagecontrols.h"
#include "manager/remindergrid.h"
#include "manager/reminderlist.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "window/dialogs.h"

#include <QDialog>
#include <QFrame>
#include <QMenu>

DeletePage::DeletePage(ManagerContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("deletePage"));
    QFrame *panel = placePanel(this);
    m_grid = new ReminderGrid(m_context.list, panel);
    m_grid->setObjectName(QStringLiteral("deleteGrid"));
    m_grid->setGeometry(2, 2, 541, 269);
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("deleteMenu"));
    QAction *deleteAction = m_menu->addAction(tr("删除"));
    deleteAction->setObjectName(QStringLiteral("deleteAction"));
    connect(deleteAction, &QAction::triggered, this, &DeletePage::deleteCurrent);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->popup(m_grid->viewport()->mapToGlobal(at)); });
}

void DeletePage::deleteCurrent()
{
    guarded(m_context.dialogs, [this] {
        ReminderList &list = m_context.list;
        const Reminder reminder = list.current();
        if (!list.currentHasUsableId()) {
            m_context.dialogs.informationBox(kUnkeyedRowDeleteMessage, kNoticeCaption);
            return;
        }
        if (!ReminderRepeats(m_context.store).of(reminder.rowid)) {
            finishDeletion([&] { return m_context.store.remove(reminder.id); });
            return;
        }
        QDialog *question = m_context.dialogs.openSeriesDeletionQuestion(reminder.subject);
        connect(question, &QDialog::finished, this, [this, reminder](int answer) {
            guarded(m_context.dialogs, [&] {
                ReminderRepeats repeats(m_context.store);
                if (answer == Dialogs::DeleteOccurrence)
                    finishDeletion([&] { return repeats.skipOccurrence(reminder); });
                else if (answer == Dialogs::DeleteSeries)
                    finishDeletion([&] { return repeats.remove(reminder.id); });
            });
        });
    });
}

void DeletePage::finishDeletion(const std::function<bool()> &deletion)
{
    const bool deleted = deletion();
    m_context.list.reload();
    // Also when another program had deleted the row: the agenda may still list it.
    m_context.refreshAgenda();
    if (deleted)
        m_context.dialogs.messageDialog(tr("删除成功！"));
    else
        m_context.dialogs.informationBox(kDeletedRowGoneMessage, kNoticeCaption);
}
