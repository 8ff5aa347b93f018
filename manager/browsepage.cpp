#include "manager/browsepage.h"

#include "manager/managercontext.h"
#include "manager/pagecontrols.h"
#include "manager/remindergrid.h"
#include "manager/reminderlist.h"
#include "store/textformats.h"
#include "window/dialogs.h"
#include "window/fieldstyle.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

BrowsePage::BrowsePage(ManagerContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("browsePage"));
    QFrame *panel = placePanel(placePanel(this), QRect(0, 0, 545, 273));
    QLabel *subjectCaption = placeCaption(panel, "subjectCaption", kSubjectCaption, {16, 134});
    QLabel *contentCaption = placeCaption(panel, "contentCaption", kContentCaption, {16, 165});
    QLabel *timeCaption = placeCaption(panel, "timeCaption", kTimeCaption, {16, 234});
    m_subjectField = placeLineEdit(panel, "subjectField", {88, 131, 442, 19});
    m_contentField = placeTextEdit(panel, "contentField", {88, 162, 441, 58});
    auto *grid = new ReminderGrid(m_context.list, panel);
    grid->setObjectName(QStringLiteral("browseGrid"));
    grid->setGeometry(2, 2, 541, 119);
    m_timeField = placeLineEdit(panel, "timeField", {88, 231, 353, 19});
    subjectCaption->setBuddy(m_subjectField);
    contentCaption->setBuddy(m_contentField);
    timeCaption->setBuddy(m_timeField);
    auto *backButton = placeButton(panel, "backButton", kBackCaption, {451, 228, 75, 25});
    setReadOnlyLook(m_subjectField);
    setReadOnlyLook(m_contentField);
    setReadOnlyLook(m_timeField);
    connect(grid, &ReminderGrid::doubleClickedAnywhere, this, &BrowsePage::showCurrent);
    connect(backButton, &QPushButton::clicked, this, &BrowsePage::backRequested);
}

void BrowsePage::showCurrent()
{
    guarded(m_context.dialogs, [this] {
        const std::optional<Reminder> shown = m_context.list.currentToShow(m_context.dialogs);
        if (!shown)
            return;
        // A row that another program wrote may lack a value (shown as empty) or hold a time that names no
        // date and time (shown as it is stored).
        const Reminder &reminder = *shown;
        m_subjectField->setText(reminder.subject);
        setContentText(m_contentField, reminder.content);
        const QString due =
            reminder.due.isValid() ? regionalDateTimeText(reminder.due) : m_context.list.currentDueText();
        const QString repeat = m_context.list.currentRepeatLabel();
        m_timeField->setText(repeat.isEmpty() ? due : due + QStringLiteral("  ") + repeat);
    });
}
