#include "manager/addpage.h"

#include "core/clock.h"
#include "core/text.h"
#include "manager/managercontext.h"
#include "manager/pagecontrols.h"
#include "manager/repeatchoice.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "window/dialogs.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

AddPage::AddPage(ManagerContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("addPage"));
    QFrame *panel = placePanel(this);
    QLabel *subjectCaption = placeCaption(panel, "subjectCaption", kSubjectCaption, {48, 33});
    QLabel *contentCaption = placeCaption(panel, "contentCaption", kContentCaption, {48, 74});
    placeCaption(panel, "timeCaption", kTimeCaption, {48, 203});
    m_form.subjectEdit = placeLineEdit(panel, "subjectEdit", {130, 29, 368, 19});
    m_form.contentEdit = placeTextEdit(panel, "contentEdit", {130, 71, 367, 122});
    subjectCaption->setBuddy(m_form.subjectEdit);
    contentCaption->setBuddy(m_form.contentEdit);
    m_form.timeEdit = placeTimeEdit(panel, {248, 200}, 89);
    m_form.dateEdit = placeDateEdit(panel, {128, 200, 105, 21});
    m_form.dateEdit->setDate(m_context.clock.now().date());
    // Under the content's caption, just above the time it repeats: no control of the page moves for it.
    m_repeatChoice = placeRepeatChoice(panel, {48, 172, 76, 21});
    auto *addButton = placeButton(panel, "addButton", tr("增加"), {208, 232, 75, 25});
    auto *backButton = placeButton(panel, "backButton", kBackCaption, {312, 232, 75, 25});
    connect(addButton, &QPushButton::clicked, this, &AddPage::add);
    connect(backButton, &QPushButton::clicked, this, &AddPage::backRequested);
}

void AddPage::add()
{
    guarded(m_context.dialogs, [this] {
        // The time edit shows midnight as "00:00:00", which is refused here as it always was: an untouched
        // time field counts as no time.
        if (withoutOuterSpacesAndControls(m_form.subjectEdit->text()).isEmpty()
            || withoutOuterSpacesAndControls(m_form.contentEdit->toPlainText()).isEmpty()
            || m_form.timeEdit->time() < QTime(0, 0, 1)) {
            m_context.dialogs.informationBox(tr("请输入完整数据,或者时间不能为0！"), kNoticeCaption);
            m_form.subjectEdit->setFocus();
            return;
        }
        if (m_repeatChoice->rule().isEmpty())
            m_context.store.add(m_form.reminder());
        else
            ReminderRepeats(m_context.store).add(m_form.reminder(), m_repeatChoice->rule());
        m_form.reset(m_context.clock.now().date());
        m_repeatChoice->reset();
        m_context.refreshAgenda();
        m_context.dialogs.informationBox(tr("增加日程提醒成功！"), kReminderCaption);
    });
}
