#include "window/dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>

#include "core/apptitle.h"
#include "core/text.h"
#include "window/screen.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

namespace {

// A message box that stands centred on a screen: it learns its final size only as it shows. Stored and
// received texts (a subject, a server's status line) read literally, never as markup.
class CentredBox : public QMessageBox
{
public:
    CentredBox(Icon icon, const QString &caption, const QString &text, const QRect &screen)
        : QMessageBox(icon, caption, withLineFeeds(text), QMessageBox::Ok, QApplication::activeWindow())
        , m_screen(screen)
    {
        setTextFormat(Qt::PlainText);
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
    CentredBox box(icon, caption, text, centreOnScreen ? m_screen.geometry() : QRect());
    box.exec();
}

void QtDialogs::errorBox(const QString &message)
{
    showBox(QMessageBox::Critical, kApplicationTitle, errorBoxText(message), false);
}

QDialog *QtDialogs::openErrorBox(const QString &message)
{
    auto *box = new CentredBox(QMessageBox::Critical, kApplicationTitle, errorBoxText(message), QRect());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

void QtDialogs::informationBox(const QString &text, const QString &caption)
{
    showBox(QMessageBox::Information, caption, text, false);
}

void QtDialogs::messageDialog(const QString &text)
{
    showBox(QMessageBox::NoIcon, kApplicationTitle, text, true);
}

QDialog *QtDialogs::openSeriesDeletionQuestion(const QString &subject)
{
    auto *box = new CentredBox(
        QMessageBox::Question, QCoreApplication::translate("Dialogs", "删除重复提醒"),
        QCoreApplication::translate("Dialogs", "“%1”是重复提醒。只删除这一次，还是删除整个系列？").arg(subject),
        QRect());
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::Cancel);
    box->button(QMessageBox::Yes)->setText(QCoreApplication::translate("Dialogs", "只删除这一次"));
    box->button(QMessageBox::YesToAll)->setText(QCoreApplication::translate("Dialogs", "删除整个系列"));
    box->button(QMessageBox::Cancel)->setText(QCoreApplication::translate("Dialogs", "取消"));
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

LoneErrorBox::LoneErrorBox(Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_dialogs(dialogs)
{
}

void LoneErrorBox::report(const QString &message)
{
    if (m_showing)
        return;
    m_showing = true;
    QDialog *box = m_dialogs.openErrorBox(message);
    const auto boxClosed = [this, box] {
        disconnect(box, nullptr, this, nullptr);
        m_showing = false;
        emit closed();
    };
    connect(box, &QDialog::finished, this, boxClosed);
    // A box that stood on a window goes with it, unfinished.
    connect(box, &QObject::destroyed, this, boxClosed);
}
