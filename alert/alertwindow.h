#pragma once

#include <QDialog>

class Tdm;
class Dialogs;

// The alert window: shows the first due reminder of qry4, shakes and plays the alert sound.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    TForm3(Tdm &dm, Dialogs &dialogs, QWidget *parent = nullptr);

private:
    Tdm &m_dm;
    Dialogs &m_dialogs;
};
