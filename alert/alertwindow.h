#pragma once

#include "store/reminder.h"

#include <QDialog>
#include <memory>

class AlertSound;
class QLineEdit;
class QPlainTextEdit;
class Screen;
class WindowShake;

// The alert window: shows a reminder that has fallen due in three read-only fields, shakes, and plays the
// alert sound. Made once, when the first reminder falls due, and hidden between alerts; centred on the
// primary screen at its first showing, later where the user left it.
class AlertWindow : public QDialog
{
    Q_OBJECT

public:
    AlertWindow(const Screen &screen, std::unique_ptr<AlertSound> sound, QWidget *parent = nullptr);
    ~AlertWindow() override;

    // Fills the fields from `reminder`, shows the window (application-modal), shakes it, then plays the
    // alert sound; finished() follows when the user closes it.
    void showReminder(const Reminder &reminder);
    // From showReminder until the user closes the window, also while the program is minimised.
    bool isOpen() const { return m_open; }

signals:
    // The pointer moved over the minimise glyph: the program as a whole is to be minimised.
    void minimizeProgramRequested();
    // The user put the shown reminder off (稍后提醒) by `minutes`; the window closes as by 返回.
    void snoozeRequested(const Reminder &reminder, int minutes);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillFields(const Reminder &reminder);
    QWidget *makeSnoozeButton(QWidget *panel);
    void playSound();

    const Screen &m_screen;
    std::unique_ptr<AlertSound> m_sound;
    WindowShake *m_shake = nullptr;
    QLineEdit *m_subjectField = nullptr;
    QPlainTextEdit *m_contentField = nullptr;
    QLineEdit *m_timeField = nullptr;
    Reminder m_reminder; // the one shown
    bool m_placed = false;
    bool m_open = false;
};
