#include "app/mainwindow.h"

#include "core/apptitle.h"

#include <QApplication>
#include <QCloseEvent>

TForm1::TForm1(Tdm &dm, Dialogs &dialogs, const Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , m_dm(dm)
    , m_dialogs(dialogs)
    , m_clock(clock)
{
    setWindowTitle(kApplicationTitle);
    resize(600, 300);
}

// The main window ends the program, also when the window system closes it.
void TForm1::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}
