// Adding, modifying, deleting and browsing reminders: the handlers of the manager window's pages.

#include "core/clock.h"
#include "core/text.h"
#include "manager/managerwindow.h"
#include "store/datamodule.h"
#include "store/textformats.h"
#include "window/dialogs.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

#include <initializer_list>
#include <utility>

namespace {

const QString kNoticeCaption = QStringLiteral("提示");
const QString kReminderCaption = QStringLiteral("提醒");
const QString kNoDataMessage = QStringLiteral("没有任何数据!");
const QString kMidnight = QStringLiteral("00:00:00");

// Runs one statement the way the store always does: a fresh SQL text, every parameter bound by name.
// Returns the number of rows it changed.
int runStatement(Query &query, const QString &sql, std::initializer_list<std::pair<const char *, QVariant>> params)
{
    query.close();
    query.setSql(sql);
    for (const auto &[name, value] : params)
        query.bind(QString::fromLatin1(name), value);
    return query.execSql();
}

bool hasRows(const Query &list)
{
    return list.isOpen() && list.recordCount() > 0;
}

} // namespace

void TForm2::resetForm(QLineEdit *subject, QPlainTextEdit *content, QDateEdit *date, QTimeEdit *time)
{
    subject->clear();
    content->clear();
    date->setDate(m_clock.now().date());
    time->setTime(QTime(0, 0));
}

void TForm2::Button1Click()
{
    guarded(m_dialogs, [this] {
        if (trimmed(Edit2->text()).isEmpty() || trimmed(Memo1->toPlainText()).isEmpty()
            || TimeEdit1->text() == kMidnight) {
            m_dialogs.informationBox(QStringLiteral("请输入完整数据,或者时间不能为0！"), kNoticeCaption);
            Edit2->setFocus();
            return;
        }
        const QDate date = DateTimePicker1->date();
        runStatement(m_dm.qry1, QStringLiteral("insert into 日程提醒(主题,内容,时间,日期)values(:a,:b,:c,:d)"),
                     {{"a", trimmed(Edit2->text())},
                      {"b", Memo1->toPlainText()},
                      {"c", reminderTimeText(date, TimeEdit1->text())},
                      {"d", reminderDateText(date)}});
        resetForm(Edit2, Memo1, DateTimePicker1, TimeEdit1);
        m_refreshAgenda();
        m_dialogs.informationBox(QStringLiteral("增加日程提醒成功！"), kReminderCaption);
    });
}

void TForm2::DBGrid1DblClick()
{
    guarded(m_dialogs, [this] {
        const Query &list = m_dm.qry2;
        if (!hasRows(list)) {
            m_dialogs.informationBox(kNoDataMessage, kNoticeCaption);
            return;
        }
        Edit4->setText(list.fieldText(QStringLiteral("主题")));
        Memo2->setPlainText(withLineFeeds(list.fieldText(QStringLiteral("内容"))));
        // The calendar date itself, not a text read back under the regional settings, which may order
        // or separate a date otherwise.
        const QDateTime when = list.fieldDateTime(QStringLiteral("时间"));
        DateTimePicker2->setDate(when.date());
        TimeEdit2->setTime(when.time());
    });
}

void TForm2::Button3Click()
{
    guarded(m_dialogs, [this] {
        const Query &list = m_dm.qry2;
        if (!hasRows(list) || trimmed(Edit4->text()).isEmpty() || Memo2->toPlainText().isEmpty()) {
            m_dialogs.informationBox(QStringLiteral("请不要误操作!"), kNoticeCaption);
            return;
        }
        const QDate date = DateTimePicker2->date();
        const int changed =
            runStatement(m_dm.qry3, QStringLiteral("update 日程提醒 set 主题=:a,内容=:b,日期=:c,时间=:d where id=:e"),
                         {{"a", trimmed(Edit4->text())},
                          {"b", Memo2->toPlainText()},
                          {"c", reminderDateText(date)},
                          {"d", reminderTimeText(date, TimeEdit2->text())},
                          {"e", list.fieldValue(QStringLiteral("id"))}});
        if (changed == 0) {
            // Another program removed the row: nothing was saved, and the form keeps what the user typed.
            reopenListSuspended();
            m_dialogs.informationBox(kModifiedRowGoneMessage, kNoticeCaption);
            return;
        }
        resetForm(Edit4, Memo2, DateTimePicker2, TimeEdit2);
        reopenListSuspended();
        m_refreshAgenda();
        m_dialogs.informationBox(QStringLiteral("修改日程提醒成功！"), kReminderCaption);
    });
}

void TForm2::N1Click()
{
    guarded(m_dialogs, [this] {
        const bool deleted = m_dm.qry2.deleteCurrent();
        reopenListSuspended();
        if (!deleted) {
            m_dialogs.informationBox(kDeletedRowGoneMessage, kNoticeCaption);
            return;
        }
        m_refreshAgenda();
        m_dialogs.messageDialog(QStringLiteral("删除成功！"));
    });
}

void TForm2::DBGrid3DblClick()
{
    guarded(m_dialogs, [this] {
        const Query &list = m_dm.qry2;
        if (!hasRows(list)) {
            m_dialogs.informationBox(kNoDataMessage, kNoticeCaption);
            return;
        }
        Edit3->setText(list.fieldText(QStringLiteral("主题")));
        Memo3->setPlainText(withLineFeeds(list.fieldText(QStringLiteral("内容"))));
        Edit5->setText(regionalDateTimeText(list.fieldDateTime(QStringLiteral("时间"))));
    });
}
