#pragma once

#include "manager/reminderform.h"

#include <QWidget>

class RepeatChoice;
struct ManagerContext;

// The page that adds a reminder: subject, content, time and date, and the add and back buttons.
class AddPage : public QWidget
{
    Q_OBJECT

public:
    explicit AddPage(ManagerContext &context, QWidget *parent = nullptr);

signals:
    void backRequested();

private:
    void add();

    ManagerContext &m_context;
    ReminderForm m_form;
    RepeatChoice *m_repeatChoice;
};
