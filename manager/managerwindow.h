#pragma once

#include "alert/soundplayer.h"
#include "notice/browserlauncher.h"
#include "notice/noticelinks.h"
#include "notice/pagefetcher.h"
#include "window/shiftstate.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class Clock;
class DataGrid;
class Dialogs;
class LinkLabel;
class PageControl;
class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;
class TBmpShape;
class Tdm;
class WindowDrag;

// Told instead of a success when another program removed the row being modified or deleted.
inline const QString kModifiedRowGoneMessage =
    QStringLiteral("这条日程提醒已被其他程序删除，修改没有保存。列表已重新读取。");
inline const QString kDeletedRowGoneMessage = QStringLiteral("这条日程提醒已被其他程序删除。列表已重新读取。");

// The manager window: adds, modifies, deletes and browses reminders on five pages. A new one is made
// for every opening and shown modally (exec) over the main window.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    // `refreshAgenda` refreshes today's agenda on the main window (its Button1Click); it runs after
    // every change the manager makes. The player and the browser launcher are the window's own.
    TForm2(Tdm &dm, Dialogs &dialogs, const Clock &clock, std::function<void()> refreshAgenda,
           std::unique_ptr<SoundPlayer> player = std::make_unique<MediaSoundPlayer>(),
           std::unique_ptr<BrowserLauncher> browser = std::make_unique<DesktopBrowserLauncher>(),
           QWidget *parent = nullptr);

    // Window-level controls; the hot areas Image1 to Image11 are found by their names.
    TBmpShape *BmpShape1 = nullptr;
    LinkLabel *URLLabel1 = nullptr;
    PageControl *PageControl1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N1 = nullptr;

    // Add page.
    QLineEdit *Edit2 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QTimeEdit *TimeEdit1 = nullptr;
    QDateEdit *DateTimePicker1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

    // Modify page.
    QLineEdit *Edit4 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;
    DataGrid *DBGrid1 = nullptr;
    QDateEdit *DateTimePicker2 = nullptr;
    QTimeEdit *TimeEdit2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;

    // Delete page.
    DataGrid *DBGrid2 = nullptr;

    // Browse page.
    QLineEdit *Edit3 = nullptr;
    QPlainTextEdit *Memo3 = nullptr;
    DataGrid *DBGrid3 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QPushButton *Button5 = nullptr;

    // About page.
    QLabel *Image12 = nullptr;

    // Handlers.
    void BmpShape1MouseMove(ShiftState shift);
    void Image1Click();
    void Image10Click();
    void Image11Click();
    void URLLabel1Click();
    void TabSheet2Show();
    void TabSheet3Show();
    void TabSheet4Show();
    void Button1Click();
    void DBGrid1DblClick();
    void Button3Click();
    void N1Click();
    void DBGrid3DblClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void buildWindowControls();
    void buildAddPage();
    void buildModifyPage();
    void buildDeletePage();
    void buildBrowsePage();
    void buildAboutPage();
    void onPageShown(int index);
    void openNoticeLink(int element);
    void reopenListSuspended();
    void resetForm(QLineEdit *subject, QPlainTextEdit *content, QDateEdit *date, QTimeEdit *time);

    Tdm &m_dm;
    Dialogs &m_dialogs;
    const Clock &m_clock;
    std::function<void()> m_refreshAgenda;
    WindowDrag *m_drag = nullptr;
    std::unique_ptr<SoundPlayer> WindowsMediaPlayer1;
    ModulePageFetcher HTTP1;
    std::unique_ptr<BrowserLauncher> m_browser;
    NoticeLinks m_noticeLinks;
    bool m_placed = false;
};

// Where a window of `window` size stands centred on a screen of `screen` geometry: each offset halved
// toward zero, and never above or left of the screen.
QPoint centredOn(const QRect &screen, const QSize &window);
