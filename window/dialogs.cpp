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

namespace {

// A message box that stands centred on a screen: it learns its final size only as it shows.
class CentredBox : public QMessageBox
{
public:
    CentredBox(Icon icon, const QString &caption, const QString &text, const QRect &screen)
        : QMessageBox(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow())
        , m_screen(screen)
    {
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (!m_screen.isNull())
            move(centredOn(m_screen, frameGeometry().size()));
    }

private:
    QRect m_screen;
};

} // namespace

QtDialogs::QtDialogs(const Screen &screen)
    : m_screen(screen)
{
}

void QtDialogs::showBox(QMessageBox::Icon icon, const QString &caption, const QString &text, bool centreOnScreen)
{
    // Stored and received texts (a subject, a server's status line) read literally, never as markup.
    CentredBox box(icon, caption, withLineFeeds(text), centreOnScreen ? m_screen.geometry() : QRect());
    box.setTextFormat(Qt::PlainText);
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
