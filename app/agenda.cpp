#include "app/agenda.h"

#include "store/query.h"
#include "store/textformats.h"

QString buildAgendaText(Query &qry5, const Clock &clock)
{
    qry5.close();
    qry5.setSql(QStringLiteral("select 主题,时间 from 日程提醒 where 日期=:a"));
    qry5.bind(QStringLiteral("a"), todayDateText(clock));
    qry5.open();
    if (!qry5.isEmpty())
        qry5.first();
    // Every reminder of the day is listed, however many there are.
    QStringList subjects;
    QStringList times;
    const int n = qry5.recordCount();
    for (int i = 0; i < n; ++i) {
        subjects << qry5.fieldText(QStringLiteral("主题"));
        times << qry5.fieldDateTime(QStringLiteral("时间")).toString(QStringLiteral("hh:mm:ss"));
        qry5.next();
    }
    QString text;
    for (int i = 0; i < n; ++i)
        text += times.at(i) + QStringLiteral("  ") + subjects.at(i) + QStringLiteral("\r\r");
    return text;
}

int marqueeStep(int labelTop, int labelHeight, int panelHeight)
{
    const int top = labelTop - 1;
    return top < -(labelHeight + 30) ? panelHeight : top;
}
