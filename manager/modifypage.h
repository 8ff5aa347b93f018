#pragma once

#include "core/translatedtext.h"

#include "manager/reminderform.h"

#include <QString>
#include <QWidget>

class RepeatChoice;
struct ManagerContext;

// Told instead of the confirmation when another program deleted the row being modified.
inline const TranslatedText kModifiedRowGoneMessage{
    "ModifyPage", QT_TRANSLATE_NOOP("ModifyPage", "这条日程提醒已被其他程序删除，修改没有保存。列表已重新读取。")};

// Told instead of writing when the current row has no id that the update could find it by.
inline const TranslatedText kUnkeyedRowModifyMessage{
    "ModifyPage", QT_TRANSLATE_NOOP("ModifyPage", "这条日程提醒没有可用的编号（id），不能修改。它是其他程序写入的。")};
// Told instead of writing when the form shows no date and time (the row loaded held none that can be read).
inline const TranslatedText kNoTimeMessage{"ModifyPage", QT_TRANSLATE_NOOP("ModifyPage", "请输入提醒的日期和时间！")};

// The page that changes a reminder: a double-click on the grid loads the current row into the form below
// it, and the modify button writes the form over the row that is current when it is pressed.
class ModifyPage : public QWidget
{
    Q_OBJECT

public:
    explicit ModifyPage(ManagerContext &context, QWidget *parent = nullptr);

signals:
    void backRequested();

private:
    void loadCurrent();
    void modify();

    ManagerContext &m_context;
    ReminderForm m_form;
    RepeatChoice *m_repeatChoice;
    // The form holds what was typed for a row that another program deleted.
    bool m_keptForAGoneRow = false;
};
