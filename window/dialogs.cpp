#include "window/dialogs.h"

#include "core/apptitle.h"
#include "core/text.h"
#include "window/screen.h"

#include <QApplication>
#include <QMessageBox>

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QtDialogs::QtDialogs(const Screen &screen)
    : m_screen(screen)
{
}

void QtDialogs::showBox(QMessageBox::Icon icon, const QString &caption, const QString &text, bool centreOnScreen)
{
    QMessageBox box(icon, caption, withLineFeeds(text), QMessageBox::Ok, QApplication::activeWindow());
    if (centreOnScreen) {
        box.adjustSize();
        box.move(centredOn(m_screen.geometry(), box.size()));
    }
    box.exec();
}

void QtDialogs::errorBox(const QString &message)
{
    showBox(QMessageBox::Critical, kApplicationTitle, errorBoxText(message), false);
}

void QtDialogs::informationBox(const QString &text, const QString &caption)
{
    showBox(QMessageBox::Information, caption, text, false);
}

void QtDialogs::messageDialog(const QString &text)
{
    showBox(QMessageBox::NoIcon, kApplicationTitle, text, true);
}
