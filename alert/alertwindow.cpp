#include "alert/alertwindow.h"

TForm3::TForm3(Tdm &dm, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_dm(dm)
    , m_dialogs(dialogs)
{
    setWindowTitle(QStringLiteral("日程提醒"));
}
