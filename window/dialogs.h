#pragma once

#include "core/apperror.h"

class Screen;

#include <QMessageBox>
#include <QString>
#include <exception>

// The program's three modal notices. Production shows real message boxes; tests record them.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // Critical box under the application title; `message` is shown as errorBoxText() makes it.
    virtual void errorBox(const QString &message) = 0;
    // Information icon, one OK button, the given caption.
    virtual void informationBox(const QString &text, const QString &caption) = 0;
    // No icon, one OK button, centred on the screen, the application title as caption.
    virtual void messageDialog(const QString &text) = 0;
};

// The error box's text: the message with a full stop appended when its last character sorts after '.'.
QString errorBoxText(const QString &message);

// Qt's message boxes; the message dialog is centred on `screen`.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(const Screen &screen);

    void errorBox(const QString &message) override;
    void informationBox(const QString &text, const QString &caption) override;
    void messageDialog(const QString &text) override;

private:
    void showBox(QMessageBox::Icon icon, const QString &caption, const QString &text, bool centreOnScreen);

    const Screen &m_screen;
};

// Runs one handler; an error that escapes it ends the handler and is shown in the error box, and the
// program carries on. Every handler that Qt calls goes through this, so no exception crosses Qt's dispatch.
template <typename Handler> void guarded(Dialogs &dialogs, Handler &&handler)
{
    QString message;
    try {
        handler();
        return;
    } catch (const AppError &error) {
        message = error.message();
    } catch (const std::exception &error) {
        message = QString::fromLocal8Bit(error.what());
    }
    // Shown outside the catch block: the box runs a nested event loop.
    dialogs.errorBox(message);
}
