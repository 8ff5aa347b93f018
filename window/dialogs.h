#pragma once

#include "core/apperror.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <optional>
#include <utility>

class QDialog;
class Screen;

// The program's three modal notices. Production shows real message boxes; tests record them.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // Critical box under the application title; `message` is shown as errorBoxText() makes it.
    virtual void errorBox(const QString &message) = 0;
    // The same box, opened without waiting for it: the program's timers run on while it stands. The box
    // deletes itself once closed; its finished() tells when.
    virtual QDialog *openErrorBox(const QString &message) = 0;
    // Information icon, one OK button, the given caption.
    virtual void informationBox(const QString &text, const QString &caption) = 0;
    // No icon, one OK button, centred on the screen, the application title as caption.
    virtual void messageDialog(const QString &text) = 0;

    // What deleting an occurrence of a repeating reminder deletes; a dialog's finished() result.
    enum SeriesDeletion {
        DeleteOccurrence = QMessageBox::Yes,
        DeleteSeries = QMessageBox::YesToAll,
        DeleteNothing = QMessageBox::Cancel
    };
    // Asks whether to delete only this occurrence of the repeating reminder `subject` or its whole series,
    // without waiting: the answer is the SeriesDeletion that the dialog's finished() gives. It deletes itself
    // once closed.
    virtual QDialog *openSeriesDeletionQuestion(const QString &subject) = 0;
};

// The error box's text: the message with a full stop appended when its last character sorts after '.'.
QString errorBoxText(const QString &message);

// Qt's message boxes; the message dialog is centred on `screen`.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(const Screen &screen);

    void errorBox(const QString &message) override;
    QDialog *openErrorBox(const QString &message) override;
    void informationBox(const QString &text, const QString &caption) override;
    void messageDialog(const QString &text) override;
    QDialog *openSeriesDeletionQuestion(const QString &subject) override;

private:
    void showBox(QMessageBox::Icon icon, const QString &caption, const QString &text, bool centreOnScreen);

    const Screen &m_screen;
};

// Runs one handler; an error that escapes it ends the handler and is shown in the error box, and the
// program carries on. Every handler that Qt calls goes through this, so no exception crosses Qt's dispatch.
template <typename Handler> void guarded(Dialogs &dialogs, Handler &&handler)
{
    // The box is shown outside the catch block: it runs a nested event loop.
    if (const std::optional<QString> message = failureOf(std::forward<Handler>(handler)))
        dialogs.errorBox(*message);
}

// Shows the failures of work that the program does on its own (a timer's, say) one box at a time: while a box
// stands, later failures are not shown; once it is closed, the next failure is. A store that cannot be
// reached thus asks once, not once for every tick of a night away. The box does not wait: the work goes on
// while it stands, so a reminder that falls due once the store is back alerts in its minute.
class LoneErrorBox : public QObject
{
    Q_OBJECT

public:
    explicit LoneErrorBox(Dialogs &dialogs, QObject *parent = nullptr);

    // Runs `work`; false when it failed.
    template <typename Work> bool run(Work &&work)
    {
        const std::optional<QString> message = failureOf(std::forward<Work>(work));
        if (message)
            report(*message);
        return !message;
    }

    // Runs `work` before the program's windows show: a failure's box comes first, and this waits for it
    // (failures meanwhile show no box of their own). False when it failed.
    template <typename Work> bool runWaiting(Work &&work)
    {
        const std::optional<QString> message = failureOf(std::forward<Work>(work));
        if (message && !m_showing) {
            m_showing = true;
            m_dialogs.errorBox(*message);
            m_showing = false;
            emit closed();
        }
        return !message;
    }

    // Opens the box with `message` unless one stands, and returns at once.
    void report(const QString &message);

signals:
    // The box was closed (or went with the window it stood on).
    void closed();

private:
    Dialogs &m_dialogs;
    bool m_showing = false;
};
