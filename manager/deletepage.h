#pragma once

#include "core/translatedtext.h"

#include <QString>
#include <QWidget>
#include <functional>

class QMenu;
class ReminderGrid;
struct ManagerContext;

// Told instead of the confirmation when another program had already deleted the row.
inline const TranslatedText kDeletedRowGoneMessage{
    "DeletePage", QT_TRANSLATE_NOOP("DeletePage", "这条日程提醒已被其他程序删除。列表已重新读取。")};

// Told instead of deleting when the current row has no id that the deletion could find it by.
inline const TranslatedText kUnkeyedRowDeleteMessage{
    "DeletePage", QT_TRANSLATE_NOOP("DeletePage", "这条日程提醒没有可用的编号（id），不能删除。它是其他程序写入的。")};

// The page that deletes reminders: the grid's context menu deletes the current row at once, without a
// question, unless it repeats: then the user says whether this occurrence goes or the whole series. A right
// press on a row makes it current first.
class DeletePage : public QWidget
{
    Q_OBJECT

public:
    explicit DeletePage(ManagerContext &context, QWidget *parent = nullptr);

private:
    void deleteCurrent();
    // Runs the deletion, reads the list again and says how it went.
    void finishDeletion(const std::function<bool()> &deletion);

    ManagerContext &m_context;
    ReminderGrid *m_grid;
    QMenu *m_menu;
};
