#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

class AppWindow;
class Clock;
class Dialogs;
class HotArea;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class ReminderWatch;
class ScreenInfo;
class WindowDrag;
class TBmpShape;
class TForm3;
class TTrayIcon;
class TrayBackend;
class TZnHideForm;
class Tdm;

// The main window: the shaped window at the top right with today's agenda scrolling through its panel,
// the program's two timers and its commands.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    TForm1(Tdm &dm, Dialogs &dialogs, const Clock &clock, AppWindow &appWindow, const ScreenInfo &screen,
           std::function<std::unique_ptr<TrayBackend>()> makeTrayBackend, QWidget *parent = nullptr);
    ~TForm1() override;

    // Refresh today's agenda (the hidden Button1's click); the manager runs it after each change.
    void Button1Click();
    // Members in their design order.
    TBmpShape *BmpShape1 = nullptr;
    QFrame *SkinPanel1 = nullptr;
    QMenu *SkinPopupMenu1 = nullptr;
    QAction *qew1 = nullptr; // 隐藏/显示
    QAction *wqe1 = nullptr; // 退出
    QList<QIcon> iglIcons;
    TTrayIcon *TrayIcon1 = nullptr;
    TZnHideForm *ZnHideForm1 = nullptr;
    QLabel *SkinLabel1 = nullptr;
    QTimer *Timer1 = nullptr;
    QLabel *Label1 = nullptr;
    HotArea *Image1 = nullptr;
    HotArea *Image2 = nullptr;
    HotArea *Image3 = nullptr;
    QTimer *Timer2 = nullptr;
    QPushButton *Button1 = nullptr;
    QLabel *SkinLabel2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormActivate();
    void Timer1Timer();
    void Timer2Timer();
    void Image1Click();
    void Image2Click();
    void Image3Click();
    void SkinLabel2Click();
    void qew1Click();
    void TrayIcon1Click();
    void wqe1Click();
    void placeAtTopRight();
    void showAlert();
    void watchActivation();
    void createTrayIcon();

    Tdm &m_dm;
    Dialogs &m_dialogs;
    const Clock &m_clock;
    AppWindow &m_appWindow;
    const ScreenInfo &m_screen;
    std::unique_ptr<TForm3> m_alert; // made when a reminder first falls due
    std::unique_ptr<ReminderWatch> m_watch;
    std::function<std::unique_ptr<TrayBackend>()> m_makeTrayBackend;
    WindowDrag *m_drag = nullptr;
    bool m_shown = false;
};
