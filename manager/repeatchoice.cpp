#include "manager/repeatchoice.h"

RepeatChoice::RepeatChoice(QWidget *parent)
    : QComboBox(parent)
{
    addItem(tr("不重复"), QString());
    addItem(tr("每天"), QStringLiteral("daily"));
    addItem(tr("工作日"), QStringLiteral("weekdays"));
    addItem(tr("每周"), QStringLiteral("weekly"));
    addItem(tr("每月"), QStringLiteral("monthly"));
    addItem(tr("每年"), QStringLiteral("yearly"));
    m_ownChoices = count();
    setAccessibleName(tr("重复"));
    setToolTip(tr("重复"));
}

QString RepeatChoice::rule() const
{
    return currentData().toString();
}

void RepeatChoice::showRepetition(const std::optional<Repetition> &repetition)
{
    reset();
    if (!repetition)
        return;
    int choice = findData(repetition->rule);
    if (choice < 0) {
        addItem(repetition->label(), repetition->rule);
        choice = count() - 1;
    }
    setCurrentIndex(choice);
}

void RepeatChoice::reset()
{
    while (count() > m_ownChoices)
        removeItem(count() - 1);
    setCurrentIndex(0);
}
