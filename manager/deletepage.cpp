#include "manager/deletepage.h"

#include "manager/managercontext.h"
#include "manager/pagecontrols.h"
#include "manager/remindergrid.h"
#include "manager/reminderlist.h"
#include "store/reminderstore.h"
#include "window/dialogs.h"

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
        const qint64 id = list.current().id;
        if (!list.currentHasUsableId()) {
            m_context.dialogs.informationBox(kUnkeyedRowDeleteMessage, kNoticeCaption);
            return;
        }
        const bool deleted = m_context.store.remove(id);
        list.reload();
        // Also when another program had deleted the row: the agenda may still list it.
        m_context.refreshAgenda();
        if (deleted)
            m_context.dialogs.messageDialog(tr("删除成功！"));
        else
            m_context.dialogs.informationBox(kDeletedRowGoneMessage, kNoticeCaption);
    });
}
