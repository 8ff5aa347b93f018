#pragma once

#include "alert/soundplayer.h"

#include <QDialog>
#include <functional>
#include <memory>

class Dialogs;
class HotArea;
class TBmpShape;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Tdm;

// The alert window: shows the first due reminder of qry4, shakes and plays the alert sound. Created
// once, hidden between alerts, shown modally by the reminder watch.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    // `minimizeProgram` is the application's minimise operation: it minimises every window of the program.
    TForm3(Tdm &dm, Dialogs &dialogs, std::function<void()> minimizeProgram,
           std::unique_ptr<SoundPlayer> player = std::make_unique<MediaSoundPlayer>(), QWidget *parent = nullptr);

    // Fills the three fields from qry4's current row; runs at every showing.
    void FormShow();
    // Shakes, then plays the alert sound; runs once for every showing.
    void FormActivate();

    QLineEdit *Edit3 = nullptr;      // subject
    QPlainTextEdit *Memo3 = nullptr; // content
    QLineEdit *Edit5 = nullptr;      // reminder time

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void fillFields();
    void placeOnFirstShowing();

    Tdm &m_dm;
    Dialogs &m_dialogs;
    std::function<void()> m_minimizeProgram;
    TBmpShape *BmpShape1 = nullptr;
    HotArea *Image1 = nullptr; // minimise glyph
    HotArea *Image2 = nullptr; // maximise glyph, does nothing
    HotArea *Image3 = nullptr; // close glyph
    HotArea *Image4 = nullptr; // play button
    std::unique_ptr<SoundPlayer> WindowsMediaPlayer1;
    QFrame *Panel1 = nullptr;
    QPushButton *Button5 = nullptr;
    bool m_placed = false;
};
