#pragma once

#include "store/repetition.h"

#include <QComboBox>
#include <optional>

// The 重复 choice of the add and modify pages: 不重复 and the program's own kinds (每天, 工作日, 每周, 每月, 每年).
// A reminder that came with another rule (from a calendar) shows it as one more choice, kept until the user
// picks another.
class RepeatChoice : public QComboBox
{
    Q_OBJECT

public:
    explicit RepeatChoice(QWidget *parent = nullptr);

    // The rule picked; empty for 不重复.
    QString rule() const;
    // Shows the reminder's repeat; none is 不重复.
    void showRepetition(const std::optional<Repetition> &repetition);
    // 不重复, and no other rule among the choices.
    void reset();

private:
    int m_ownChoices = 0;
};
