#pragma once

#include "manager/managerwindow.h"
#include "manager/pagecontrol.h"
#include "store/datamodule.h"
#include "tests/support/fakes.h"
#include "tests/support/tempdatabase.h"

#include <QTest>

// Records the sounds a window plays instead of playing them.
class RecordingPlayer : public SoundPlayer
{
public:
    explicit RecordingPlayer(QStringList &played)
        : m_played(played)
    {
    }
    void setUrl(const QString &path) override { m_played << path; }

private:
    QStringList &m_played;
};

// Records the addresses the browser is started on.
class RecordingLauncher : public BrowserLauncher
{
public:
    explicit RecordingLauncher(QStringList &launched)
        : m_launched(launched)
    {
    }
    void launch(const QString &address) override { m_launched << address; }

private:
    QStringList &m_launched;
};

// A manager window on a fresh database with a fixed clock. `dialogs.shown` is the one ordered log of
// what the user is told, and each agenda refresh adds "agenda|<today's subjects as stored then>" to it.
struct ManagerFixture
{
    ManagerFixture()
        : form(
            dm, dialogs, clock, [this] { refreshAgenda(); }, std::make_unique<RecordingPlayer>(played),
            std::make_unique<RecordingLauncher>(launched))
    {
    }

    void refreshAgenda()
    {
        dialogs.shown << QStringLiteral("agenda|")
                             + db.sql(QStringLiteral("select group_concat(主题,',') from 日程提醒 "
                                                     "where 日期='%1'")
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
        Query read(QStringLiteral("read"), dm.conn);
        read.setSql(QStringLiteral("select 主题,内容,时间,日期 from 日程提醒 order by id"));
        read.open();
        QStringList lines;
        for (; !read.eof(); read.next()) {
            QStringList fields;
            for (const QString &column : read.columns())
                fields << read.fieldText(column);
            lines << fields.join(QLatin1Char('|'));
        }
        return lines.join(QLatin1Char('\n'));
    }

    // Shows the window with the given page, as the user sees it.
    void showPage(int index)
    {
        form.show();
        form.PageControl1->setCurrentIndex(index);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    TempDatabase db;
    Tdm dm{db.path()};
    RecordingDialogs dialogs;
    FakeClock clock;
    QStringList played;
    QStringList launched;
    TForm2 form;
};
