#include "window/programwindows.h"

#include "tests/support/recordingdialogs.h"

#include <QDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

namespace {

struct Windows
{
    Windows()
    {
        main.setWindowTitle(QStringLiteral("main"));
        other.setWindowTitle(QStringLiteral("other"));
        main.show();
        other.show();
    }

    QWidget main;
    QWidget other;
    QWidget hidden;
};

bool shownNormally(const QWidget &window)
{
    return window.isVisible() && !window.isMinimized();
}

bool minimizedOnTaskbar(const QWidget &window)
{
    return window.isVisible() && window.isMinimized();
}

// A window state change as the window manager reports it.
void changeStateFromDesktop(QWidget &window, Qt::WindowStates state)
{
    window.setWindowState(state);
    QWindowStateChangeEvent event(Qt::WindowNoState);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(&window, &event);     // sendEvent would make it a programmatic one
    QCoreApplication::processEvents(); // the command runs after the event
}

// The titles of the windows in the order they are shown.
class ShowOrder : public QObject
{
public:
    ShowOrder() { qApp->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow())
            shown << static_cast<QWidget *>(watched)->windowTitle();
        return false;
    }
    QStringList shown;
};

} // namespace

class TestProgramWindows : public QObject
{
    Q_OBJECT

private slots:
    void minimizeTakesDownEveryVisibleWindow();
    void minimizeAndRestoreDoNothingTwice();
    void taskbarEntryOfAMinimisedProgram();
    void taskbarEntryOfAProgramOnScreen();
    void requestsAreAnnouncedBeforeTheyRun();
    void windowManagerMinimisingAWindowMinimisesTheProgram();
    void windowManagerRestoringAWindowRestoresTheProgram();
    void lateMinimisedReportAfterARestoreIsAnEcho();
    void bringForwardPrefersTheModalWindow();
    void openDialogSurvivesMinimiseToTray_data();
    void openDialogSurvivesMinimiseToTray();
};

void TestProgramWindows::minimizeTakesDownEveryVisibleWindow()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;
    QWidget trayWidget(nullptr, Qt::Window | Qt::BypassWindowManagerHint); // as Qt's own tray icon is
    trayWidget.show();

    app.minimize();

    QVERIFY(app.isMinimized());
    QVERIFY(minimizedOnTaskbar(windows.main));
    QVERIFY(minimizedOnTaskbar(windows.other));
    QVERIFY(!windows.hidden.isVisible());
    QVERIFY(shownNormally(trayWidget));

    app.restore();

    QVERIFY(!app.isMinimized());
    QVERIFY(shownNormally(windows.main));
    QVERIFY(shownNormally(windows.other));
    QVERIFY(!windows.hidden.isVisible());
}

void TestProgramWindows::minimizeAndRestoreDoNothingTwice()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;

    windows.other.showMinimized(); // by the program, for that window alone
    app.restore();
    QVERIFY(minimizedOnTaskbar(windows.other));

    app.minimize();
    windows.main.showNormal();
    app.minimize();
    QVERIFY(shownNormally(windows.main));
}

void TestProgramWindows::taskbarEntryOfAMinimisedProgram()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;

    app.minimize();
    app.hideTaskbarEntry();
    QVERIFY(!app.hasTaskbarEntry());
    QVERIFY(!windows.main.isVisible());
    QVERIFY(!windows.other.isVisible());
    QVERIFY(app.isMinimized());

    app.restore();
    QVERIFY(app.hasTaskbarEntry());
    QVERIFY(shownNormally(windows.main));
    QVERIFY(shownNormally(windows.other));
    QVERIFY(!windows.hidden.isVisible());
}

void TestProgramWindows::taskbarEntryOfAProgramOnScreen()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;

    app.hideTaskbarEntry();
    QVERIFY(app.hasTaskbarEntry());
    QVERIFY(shownNormally(windows.main));
    QVERIFY(shownNormally(windows.other));
}

// Whoever listens hears of a request while the program is still as it was.
void TestProgramWindows::requestsAreAnnouncedBeforeTheyRun()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;
    QStringList seen;
    connect(&app, &ProgramWindows::minimizeRequested, this,
            [&] { seen << (app.isMinimized() ? "minimise while minimised" : "minimise while shown"); });
    connect(&app, &ProgramWindows::restoreRequested, this,
            [&] { seen << (app.isMinimized() ? "restore while minimised" : "restore while shown"); });

    app.requestMinimize();
    QVERIFY(app.isMinimized());
    app.requestRestore();
    QVERIFY(!app.isMinimized());

    QCOMPARE(seen, (QStringList{"minimise while shown", "restore while minimised"}));
}

void TestProgramWindows::windowManagerMinimisingAWindowMinimisesTheProgram()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;
    QSignalSpy minimizeRequested(&app, &ProgramWindows::minimizeRequested);

    windows.other.showMinimized(); // by the program itself: not a command
    QCoreApplication::processEvents();
    QCOMPARE(minimizeRequested.size(), 0);
    windows.other.showNormal();

    changeStateFromDesktop(windows.main, Qt::WindowMinimized);

    QCOMPARE(minimizeRequested.size(), 1);
    QVERIFY(app.isMinimized());
    QVERIFY(minimizedOnTaskbar(windows.other)); // the program as a whole
    QVERIFY(dialogs.shown.isEmpty());
}

void TestProgramWindows::windowManagerRestoringAWindowRestoresTheProgram()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;
    QSignalSpy restoreRequested(&app, &ProgramWindows::restoreRequested);
    app.minimize();

    changeStateFromDesktop(windows.other, Qt::WindowNoState);

    QCOMPARE(restoreRequested.size(), 1);
    QVERIFY(!app.isMinimized());
    QVERIFY(shownNormally(windows.main));
}

// A busy window manager may map a window iconic again after the program restored it.
void TestProgramWindows::lateMinimisedReportAfterARestoreIsAnEcho()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;
    QSignalSpy minimizeRequested(&app, &ProgramWindows::minimizeRequested);
    app.minimize();
    app.restore();

    changeStateFromDesktop(windows.main, Qt::WindowMinimized);
    QCoreApplication::processEvents();

    QCOMPARE(minimizeRequested.size(), 0);
    QVERIFY(!app.isMinimized());
    QVERIFY(shownNormally(windows.main));
    QVERIFY(shownNormally(windows.other));
}

void TestProgramWindows::bringForwardPrefersTheModalWindow()
{
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;
    QDialog modal(&windows.main);
    modal.open();
    QVERIFY(QTest::qWaitForWindowExposed(&modal));
    windows.other.activateWindow();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &windows.other);

    app.bringForward();
    QCoreApplication::processEvents();

    QCOMPARE(QApplication::activeWindow(), &modal);
}

void TestProgramWindows::openDialogSurvivesMinimiseToTray_data()
{
    QTest::addColumn<Qt::WindowModality>("modality");
    QTest::newRow("window-modal, open()") << Qt::WindowModal;
    QTest::newRow("application-modal") << Qt::ApplicationModal;
}

// Hiding a dialog ends exec() but not a dialog opened without a loop of its own: it must come back as it
// was, still modal, and above the window it belongs to.
void TestProgramWindows::openDialogSurvivesMinimiseToTray()
{
    QFETCH(Qt::WindowModality, modality);
    RecordingDialogs dialogs;
    ProgramWindows app(dialogs);
    Windows windows;
    QDialog dialog(&windows.main);
    dialog.setWindowTitle(QStringLiteral("dialog"));
    auto *field = new QLineEdit(&dialog);
    if (modality == Qt::WindowModal) {
        dialog.open();
    } else {
        dialog.setWindowModality(modality);
        dialog.show();
    }
    field->setText(QStringLiteral("typed"));
    QDialog inner(&dialog); // a question asked over the dialog
    inner.setWindowTitle(QStringLiteral("inner"));
    inner.open();
    QSignalSpy finished(&dialog, &QDialog::finished);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    QSignalSpy innerFinished(&inner, &QDialog::finished);

    app.minimize();
    app.hideTaskbarEntry();
    QVERIFY(!dialog.isVisible());
    ShowOrder order;
    app.restore();

    QCOMPARE(finished.size() + rejected.size() + innerFinished.size(), 0);
    QVERIFY(shownNormally(dialog) && shownNormally(inner));
    QCOMPARE(field->text(), QStringLiteral("typed"));
    QCOMPARE(dialog.windowModality(), modality);
    QCOMPARE(QApplication::activeModalWidget(), &inner);
    const QStringList shown = order.shown.filter(QRegularExpression(QStringLiteral("^(main|dialog|inner)$")));
    QCOMPARE(shown, (QStringList{"main", "dialog", "inner"}));
}

QTEST_MAIN(TestProgramWindows)
#include "tst_programwindows.moc"
