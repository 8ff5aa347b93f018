#pragma once

#include "manager/managerwindow.h"
#include "notice/modulenoticeclient.h"
#include "store/reminderlistmodel.h"
#include "store/reminderstore.h"
#include "tests/support/fakeservices.h"
#include "tests/support/tempdatabase.h"

#include <QPointer>
#include <QTabWidget>
#include <QTest>

enum Page { AddPage, ModifyPage, DeletePage, BrowsePage, AboutPage };

// The test's services with the program's own notice client, which the notice links' tests point at a local
// server.
struct ManagerServices : FakeServices
{
    std::unique_ptr<NoticeClient> makeNoticeClient() override { return std::make_unique<ModuleNoticeClient>(); }
};

// A manager window on a fresh database with a fixed clock. `dialogs.shown` is the one ordered log of what
// the user is told, and each agenda refresh adds "agenda|<today's subjects as stored then>" to it (or fails
// when `agendaFails`).
struct ManagerFixture
{
    ManagerFixture()
        : window(new ManagerWindow(store, services, [this] { refreshAgenda(); }))
    {
    }
    ~ManagerFixture() { delete window; }

    void refreshAgenda()
    {
        if (agendaFails)
            throw AppError(QStringLiteral("议程失败"));
        dialogs.shown << QStringLiteral("agenda|")
                             + db.sql(QStringLiteral("select group_concat(主题,',') from 日程提醒 where 日期='%1'")
                                          .arg(clock.now().date().toString(Qt::ISODate)));
    }

    // A row as another program writes it; 日期 is the date of `when` ("yyyy-mm-dd hh:MM:ss").
    void addRow(const QString &subject, const QString &content, const QString &when)
    {
        db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('%1','%2','%3','%4')")
                   .arg(subject, content, when, when.left(10)));
    }

    // The table, one line per row in the order of insertion, fields joined by '|'.
    QString rows()
    {
        ReminderListModel list(store);
        list.reload();
        QStringList lines;
        for (int row = 0; row < list.rowCount(); ++row) {
            QStringList fields;
            for (int column = 1; column < list.columnCount(); ++column)
                fields << list.index(row, column).data().toString();
            lines << fields.join(QLatin1Char('|'));
        }
        return lines.join(QLatin1Char('\n'));
    }

    // A control of a page ("addPage", "modifyPage", ...) by its name.
    template <typename Control = QWidget> Control *on(const char *page, const char *name) const
    {
        auto *control = window->findChild<QWidget *>(QLatin1String(page))->findChild<Control *>(QLatin1String(name));
        if (!control)
            qFatal("no %s on %s", name, page);
        return control;
    }
    template <typename Control = QWidget> Control *find(const char *name) const
    {
        auto *control = window->findChild<Control *>(QLatin1String(name));
        if (!control)
            qFatal("no %s", name);
        return control;
    }
    QTabWidget *pages() const { return find<QTabWidget>("pages"); }

    // Opens the window with the given page, as the user sees it.
    void showPage(int index)
    {
        window->open();
        pages()->setCurrentIndex(index);
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    TempDatabase db;
    ReminderStore store{db.path()};
    ManagerServices services;
    RecordingDialogs &dialogs = services.recordingDialogs;
    FakeClock &clock = services.fakeClock;
    FakeScreen &screen = services.fakeScreen;
    QStringList &played = services.played;
    RecordingBrowser &browser = services.recordingBrowser;
    bool agendaFails = false;
    // On the heap, so that a test can let it go as the program does, when it closes.
    QPointer<ManagerWindow> window;
};
