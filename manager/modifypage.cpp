#include "manager/modifypage.h"

#include "core/clock.h"
#include "core/text.h"
#include "manager/managercontext.h"
#include "manager/pagecontrols.h"
#include "manager/remindergrid.h"
#include "manager/reminderlist.h"
#include "manager/repeatchoice.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "window/dialogs.h"
#include "window/fieldstyle.h"

#include <QDateEdit>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

ModifyPage::ModifyPage(ManagerContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("modifyPage"));
    QFrame *panel = placePanel(this);
    QLabel *subjectCaption = placeCaption(panel, "subjectCaption", kSubjectCaption, {16, 134});
    QLabel *contentCaption = placeCaption(panel, "contentCaption", kContentCaption, {16, 165});
    placeCaption(panel, "timeCaption", kTimeCaption, {16, 238});
    m_form.subjectEdit = placeLineEdit(panel, "subjectEdit", {88, 131, 442, 19});
    m_form.contentEdit = placeTextEdit(panel, "contentEdit", {88, 162, 441, 58});
    subjectCaption->setBuddy(m_form.subjectEdit);
    contentCaption->setBuddy(m_form.contentEdit);
    auto *grid = new ReminderGrid(m_context.list, panel);
    grid->setObjectName(QStringLiteral("modifyGrid"));
    grid->setGeometry(2, 2, 541, 119);
    m_form.dateEdit = placeDateEdit(panel, {88, 232, 105, 21});
    // Until a row is loaded the page shows the date it always has shown, kept so that it looks as before.
    m_form.dateEdit->setDate(QDate(2008, 7, 16));
    m_form.timeEdit = placeTimeEdit(panel, {208, 232}, 89);
    // Under the content's caption, just above the time it repeats: no control of the page moves for it.
    m_repeatChoice = placeRepeatChoice(panel, {16, 204, 66, 21});
    auto *modifyButton = placeButton(panel, "modifyButton", tr("修改"), {336, 232, 75, 25});
    auto *backButton = placeButton(panel, "backButton", kBackCaption, {432, 232, 75, 25});
    connect(grid, &ReminderGrid::doubleClickedAnywhere, this, &ModifyPage::loadCurrent);
    // Any row the user picks may take the form again.
    connect(grid, &QAbstractItemView::pressed, this, [this] { m_keptForAGoneRow = false; });
    connect(m_context.list.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { m_keptForAGoneRow = false; });
    connect(modifyButton, &QPushButton::clicked, this, &ModifyPage::modify);
    connect(backButton, &QPushButton::clicked, this, &ModifyPage::backRequested);
}

void ModifyPage::loadCurrent()
{
    guarded(m_context.dialogs, [this] {
        const std::optional<Reminder> shown = m_context.list.currentToShow(m_context.dialogs);
        if (!shown)
            return;
        // A row that another program wrote may lack a value or hold a time that names no date and time: both
        // show as empty, and nothing of the row loaded before stays.
        const Reminder &reminder = *shown;
        m_keptForAGoneRow = false;
        m_form.subjectEdit->setText(reminder.subject);
        setContentText(m_form.contentEdit, reminder.content);
        if (reminder.due.isValid())
            m_form.showDateAndTime(reminder.due);
        else
            m_form.showNoDateAndTime(m_context.clock.now().date());
        m_repeatChoice->showRepetition(ReminderRepeats(m_context.store).of(reminder.rowid));
    });
}

// The row written is the one current when the button is pressed, whichever row was loaded.
void ModifyPage::modify()
{
    guarded(m_context.dialogs, [this] {
        ReminderList &list = m_context.list;
        if (!list.hasRows() || m_keptForAGoneRow || withoutOuterSpacesAndControls(m_form.subjectEdit->text()).isEmpty()
            || m_form.contentEdit->toPlainText().isEmpty()) {
            m_context.dialogs.informationBox(tr("请不要误操作!"), kNoticeCaption);
            return;
        }
        if (!list.currentHasUsableId()) {
            m_context.dialogs.informationBox(kUnkeyedRowModifyMessage, kNoticeCaption);
            return;
        }
        Reminder reminder = m_form.reminder();
        if (!reminder.due.isValid()) {
            m_context.dialogs.informationBox(kNoTimeMessage, kNoticeCaption);
            return;
        }
        const Reminder current = list.current();
        reminder.id = current.id;
        reminder.rowid = current.rowid;
        const bool updated = ReminderRepeats(m_context.store).update(reminder, m_repeatChoice->rule());
        // Kept when another program had deleted the row, so that what was typed can be added again; it is
        // written over no other row until the user picks one.
        if (updated) {
            m_form.reset(m_context.clock.now().date());
            m_repeatChoice->reset();
        }
        list.reload();
        m_keptForAGoneRow = !updated;
        m_context.refreshAgenda();
        if (updated)
            m_context.dialogs.informationBox(tr("修改日程提醒成功！"), kReminderCaption);
        else
            m_context.dialogs.informationBox(kModifiedRowGoneMessage, kNoticeCaption);
    });
}
