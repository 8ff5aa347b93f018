#include "app/reminderwatch.h"

#include "store/query.h"
#include "store/textformats.h"

ReminderWatch::ReminderWatch(Query &qry4, const Clock &clock, std::function<bool()> alertShowing,
                             std::function<void()> showAlert)
    : m_qry4(qry4)
    , m_clock(clock)
    , m_alertShowing(std::move(alertShowing))
    , m_showAlert(std::move(showAlert))
{
}

void ReminderWatch::tick()
{
    m_qry4.close();
    m_qry4.bind(0, dueText(m_clock));
    m_qry4.open();
    if (m_qry4.recordCount() > 0 && !m_alertShowing())
        m_showAlert();
}
