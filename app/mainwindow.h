#pragma once

#include <QWidget>

class Clock;
class Dialogs;
class TForm3;
class Tdm;

// The main window: the shaped window at the top right with today's agenda and the program's commands.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    TForm1(Tdm &dm, Dialogs &dialogs, const Clock &clock, QWidget *parent = nullptr);
    void setAlertWindow(TForm3 *alert) { m_alert = alert; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Tdm &m_dm;
    Dialogs &m_dialogs;
    const Clock &m_clock;
    TForm3 *m_alert = nullptr;
};
