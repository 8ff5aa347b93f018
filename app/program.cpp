#include "app/program.h"

#include "alert/alertwindow.h"
#include "app/instanceguard.h"
#include "app/mainwindow.h"
#include "core/clock.h"
#include "store/datamodule.h"
#include "window/dialogs.h"

#include <QApplication>

namespace {

// Brings the program's last active window forward: the modal window when one is open.
void bringForward(QWidget *mainWindow)
{
    QWidget *window = QApplication::activeModalWidget();
    if (!window)
        window = mainWindow;
    if (!window || !window->isEnabled())
        return;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

int runProgram()
{
    QWidget *mainWindow = nullptr;
    if (CheckPreviousInstance([&mainWindow] { bringForward(mainWindow); }))
        return 0;

    QApplication::setQuitOnLastWindowClosed(false); // the main window alone ends the program
    QtDialogs dialogs;
    SystemClock clock;
    Tdm dm;
    TForm1 Form1(dm, dialogs, clock);
    mainWindow = &Form1;
    guarded(dialogs, [&dm] { dm.conn.open(); });
    TForm3 Form3(dm, dialogs);
    Form1.setAlertWindow(&Form3);

    Form1.show();
    return QApplication::exec();
}
