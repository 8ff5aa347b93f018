// How long the manager window takes, with a million reminders in data.mdb, to show its list pages and
// to delete or modify one reminder. Run it from a Release build; it prints one line per figure.

#include "alert/alertsound.h"
#include "alert/desktopnotifier.h"
#include "core/apperror.h"
#include "core/clock.h"
#include "manager/managerwindow.h"
#include "notice/browserlauncher.h"
#include "notice/modulenoticeclient.h"
#include "store/reminderstore.h"
#include "store/statement.h"
#include "window/dialogs.h"
#include "window/screen.h"
#include "window/services.h"
#include "window/traybackend.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr int kReminders = 1'000'000;
constexpr int kRuns = 20;

[[noreturn]] void die(const QString &message)
{
    std::fprintf(stderr, "manager_bench: %s\n", qUtf8Printable(message));
    std::exit(1);
}

// Every notice is a failure here except the confirmations, which would only block the measurement.
class QuietDialogs : public Dialogs
{
public:
    void errorBox(const QString &message) override { die(message); }
    QDialog *openErrorBox(const QString &message) override { die(message); }
    void informationBox(const QString &text, const QString &) override
    {
        if (!text.contains(QStringLiteral("成功")))
            die(text);
    }
    void messageDialog(const QString &) override {}
    QDialog *openSeriesDeletionQuestion(const QString &subject) override { die(subject); }
};

class SilentSound : public AlertSound
{
public:
    void play(const QString &) override {}
};

class NoBrowser : public BrowserLauncher
{
public:
    void launch(const QString &) override {}
};

// The manager's services: no tray and no notifications here.
class BenchServices : public Services
{
public:
    const Clock &clock() override { return m_clock; }
    Dialogs &dialogs() override { return m_dialogs; }
    const Screen &screen() override { return m_screen; }
    BrowserLauncher &browser() override { return m_browser; }
    std::unique_ptr<TrayBackend> makeTrayBackend() override { return nullptr; }
    std::unique_ptr<AlertSound> makeAlertSound() override { return std::make_unique<SilentSound>(); }
    std::unique_ptr<NoticeClient> makeNoticeClient() override { return std::make_unique<ModuleNoticeClient>(); }
    std::unique_ptr<DesktopNotifier> makeNotifier() override { return nullptr; }

private:
    QuietDialogs m_dialogs;
    SystemClock m_clock;
    PrimaryScreen m_screen;
    NoBrowser m_browser;
};

int storedRows(const QString &path)
{
    try {
        ReminderStore store(path);
        store.open();
        Statement count(store.connection(), "select count(*) from 日程提醒");
        return count.next() ? int(count.integer(0)) : -1;
    } catch (const AppError &error) {
        die(error.message());
    }
}

// The million-row file is made once, beside the benchmark, and copied for every run.
QString millionRowFile()
{
    const QString cached = QCoreApplication::applicationDirPath() + QStringLiteral("/manager_bench_1m.mdb");
    if (QFile::exists(cached))
        return cached;
    const QString building = cached + QStringLiteral(".building");
    QFile::remove(building);
    std::printf("building %s (once)...\n", qUtf8Printable(cached));
    std::fflush(stdout);
    if (QProcess::execute(QStringLiteral(ORVANE_DB), {QStringLiteral("--file"), building, QStringLiteral("init")}) != 0)
        die(QStringLiteral("orvane-db init failed"));
    try {
        ReminderStore store(building);
        // Spread over 2000 days from 2025-01-01, so that every day, today included, has about 500.
        const QString fill = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) "
                                            "INSERT INTO 日程提醒(主题,内容,时间,日期) SELECT '提醒'||i, '内容 '||i, "
                                            "datetime('2025-01-01','+'||(i%2000)||' days','+'||(i%1440)||' minutes'), "
                                            "date('2025-01-01','+'||(i%2000)||' days') FROM n")
                                 .arg(kReminders);
        store.transaction([&] { Statement(store.connection(), fill.toUtf8()).run(); });
    } catch (const AppError &error) {
        die(error.message());
    }
    if (!QFile::rename(building, cached))
        die(QStringLiteral("cannot keep %1").arg(cached));
    return cached;
}

void report(const char *what, std::vector<double> ms, double limit)
{
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-28s median %7.2f ms   max %7.2f ms   target %3.0f ms   median/target %.2f\n", what, median,
                ms.back(), limit, median / limit);
}

double timed(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents(); // the repaint belongs to the figure
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QString source = millionRowFile();
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("data.mdb"));
    if (!QFile::copy(source, path))
        die(QStringLiteral("cannot copy %1").arg(source));

    ReminderStore store(path);
    BenchServices services;
    // The agenda refresh's work in the store: today's reminders.
    ManagerWindow window(store, services, [&] { store.onDay(services.clock().now().date()); });
    window.open();
    QApplication::processEvents();
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("pages"));
    auto *modifyPage = pages->widget(1);
    auto *deleteGrid = window.findChild<QTableView *>(QStringLiteral("deleteGrid"));
    auto *modifyGrid = window.findChild<QTableView *>(QStringLiteral("modifyGrid"));
    auto *deleteAction = window.findChild<QAction *>(QStringLiteral("deleteAction"));
    auto *subjectEdit = modifyPage->findChild<QLineEdit *>(QStringLiteral("subjectEdit"));
    auto *contentEdit = modifyPage->findChild<QPlainTextEdit *>(QStringLiteral("contentEdit"));
    auto *modifyButton = modifyPage->findChild<QPushButton *>(QStringLiteral("modifyButton"));

    std::vector<double> modifyPageFigures, deletePageFigures, browsePageFigures, deletion, modification;
    const std::pair<int, std::vector<double> *> listPages[] = {
        {1, &modifyPageFigures}, {2, &deletePageFigures}, {3, &browsePageFigures}};
    for (int run = 0; run < kRuns; ++run) {
        for (auto [page, figures] : listPages) {
            pages->setCurrentIndex(0);
            QApplication::processEvents();
            figures->push_back(timed([&] { pages->setCurrentIndex(page); }));
        }

        pages->setCurrentIndex(2);
        deleteGrid->setCurrentIndex(deleteGrid->model()->index(100 + run, 0));
        deletion.push_back(timed([&] { deleteAction->trigger(); }));

        pages->setCurrentIndex(1);
        modifyGrid->setCurrentIndex(modifyGrid->model()->index(200 + run, 0));
        subjectEdit->setText(QStringLiteral("改过 %1").arg(run));
        contentEdit->setPlainText(QStringLiteral("内容 %1").arg(run));
        modification.push_back(timed([&] { modifyButton->click(); }));
    }
    const int left = storedRows(path);
    if (left != kReminders - kRuns)
        die(QStringLiteral("%1 rows left instead of %2").arg(left).arg(kReminders - kRuns));

    std::printf("%d reminders, %d runs each\n", kReminders, kRuns);
    report("show the modify page", modifyPageFigures, 100);
    report("show the delete page", deletePageFigures, 100);
    report("show the browse page", browsePageFigures, 100);
    report("delete one reminder", deletion, 50);
    report("modify one reminder", modification, 50);
    return 0;
}
