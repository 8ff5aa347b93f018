#include "tests/cli/clirun.h"
#include "tests/support/tempdatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// The built executable as a shell sees it.
class TestOrvaneDb : public QObject
{
    Q_OBJECT

private slots:
    void exitStatuses_data();
    void exitStatuses();
    void standardStreams();
    void bashCompletion_data();
    void bashCompletion();
    void newFilesArePrivate();
    void launcherLeavesExistingModes();
    void initNeverReplaces_data();
    void initNeverReplaces();
    void messagesFollowTheLocale_data();
    void messagesFollowTheLocale();
};

void TestOrvaneDb::exitStatuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out"); // the beginning of the standard output
    QTest::newRow("help") << QStringList{"--help"} << 0 << QByteArray("Usage: orvane-db [--file PATH] COMMAND");
    QTest::newRow("help of a command") << QStringList{"add", "-h"} << 0 << QByteArray("Usage: orvane-db");
    QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("orvane-db " ORVANE_VERSION "\n");
    QTest::newRow("done") << QStringList{"list", "--all"} << 0 << QByteArray("no reminders\n");
    QTest::newRow("bad input") << QStringList{"list", "--date", "tomorrow"} << 1 << QByteArray();
    QTest::newRow("no command") << QStringList{} << 1 << QByteArray();
    QTest::newRow("store failure") << QStringList{"--file", "/nonexistent/data.mdb", "list"} << 2 << QByteArray();
}

void TestOrvaneDb::exitStatuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    TempDatabase db;
    const CliRun run = runExecutable(QStringList{"--file", db.path()} + arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.startsWith(QString::fromUtf8(out)), qPrintable(run.out));
    // A failure says why on the standard error, and only then.
    QCOMPARE(run.error.isEmpty(), status == 0);
}

// export to and import from the standard streams, as in a pipe.
void TestOrvaneDb::standardStreams()
{
    TempDatabase source;
    QCOMPARE(runExecutable({"--file", source.path(), "add", "Standup", "--at", "2026-03-04 09:30", "--content", "a,b"})
                 .status,
             0);
    const CliRun exported = runExecutable({"--file", source.path(), "export", "--ics", "-"});
    QCOMPARE(exported.status, 0);
    QVERIFY(exported.out.startsWith(QLatin1String("BEGIN:VCALENDAR\r\n")));
    // The standard output by its name is written as it is, with no line of its own mixed in.
    const CliRun named = runExecutable({"--file", source.path(), "export", "--ics", "/dev/stdout"});
    QCOMPARE(named.status, 0);
    QVERIFY2(named.out.startsWith(QLatin1String("BEGIN:VCALENDAR\r\n"))
                 && named.out.endsWith(QLatin1String("END:VCALENDAR\r\n")),
             qPrintable(named.out));
    TempDatabase target;
    const CliRun imported = runExecutable({"--file", target.path(), "import", "--ics", "-"}, exported.out.toUtf8());
    QCOMPARE(imported.status, 0);
    QCOMPARE(target.sql(QStringLiteral("select 主题||'|'||内容||'|'||时间 from 日程提醒")),
             QStringLiteral("Standup|a,b|2026-03-04 09:30:00"));
}

void TestOrvaneDb::bashCompletion_data()
{
    QTest::addColumn<QString>("line"); // the words before the one being completed, which starts empty
    QTest::addColumn<QString>("offered");
    QTest::newRow("commands") << "orvane-db"
                              << "init add list delete export import sync --file --help --version";
    QTest::newRow("after --file") << "orvane-db --file x.mdb"
                                  << "init add list delete export import sync --file --help --version";
    QTest::newRow("an option's value") << "orvane-db add s --at"
                                       << "";
    QTest::newRow("import's options") << "orvane-db import"
                                      << "--ics --dry-run --file";
    QTest::newRow("list's options") << "orvane-db --file x list --json"
                                    << "--today --date --from --to --all --json --file";
}

// What bash offers with the script that orvane-db writes for it.
void TestOrvaneDb::bashCompletion()
{
    QFETCH(QString, line);
    QFETCH(QString, offered);
    const CliRun script = runExecutable({"--bash-completion"});
    QCOMPARE(script.status, 0);
    QProcess bash;
    bash.start(QStringLiteral("bash"),
               {"-c", script.out
                          + QStringLiteral("COMP_WORDS=(%1 '')\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                                           "_orvane_db\necho \"${COMPREPLY[*]}\"\n")
                                .arg(line)});
    QVERIFY(bash.waitForFinished());
    QCOMPARE(QString::fromUtf8(bash.readAllStandardOutput()).trimmed(), offered);
}

// A package's layout around the built launcher: bin/orvane-db and, as the program, a script that tells
// where it was started. HOME is a folder of the test's own.
class LauncherHome
{
public:
    LauncherHome()
    {
        QDir prefix(m_prefix.path());
        prefix.mkpath(QStringLiteral("bin"));
        prefix.mkpath(QStringLiteral(ORVANE_PROGRAM_DIR));
        QFile::link(QStringLiteral(ORVANE_DB), prefix.filePath(QStringLiteral("bin/orvane-db")));
        QFile::copy(QStringLiteral(ORVANE_LAUNCHER), prefix.filePath(QStringLiteral("bin/orvane-reminder")));
        QFile program(prefix.filePath(QStringLiteral(ORVANE_PROGRAM_DIR "/orvane-reminder")));
        program.open(QIODevice::WriteOnly);
        program.write("#!/bin/sh\npwd\n");
        program.setPermissions(program.permissions() | QFile::ExeOwner);
    }
    QString data() const { return m_home.filePath(QStringLiteral(".local/share/orvane-reminder")); }
    int start() const
    {
        QProcess launcher;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home.path());
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        launcher.setProcessEnvironment(environment);
        launcher.start(QDir(m_prefix.path()).filePath(QStringLiteral("bin/orvane-reminder")), {});
        launcher.waitForFinished();
        return launcher.exitCode();
    }

private:
    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
};

mode_t modeOf(const QString &path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Reminders are the user's own: a new data folder and a new data.mdb are for this user's eyes only, whatever
// the umask says.
void TestOrvaneDb::newFilesArePrivate()
{
    const mode_t was = ::umask(022);
    const auto restore = qScopeGuard([was] { ::umask(was); });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    QCOMPARE(runExecutable({"--file", path, "init"}).status, 0);
    QCOMPARE(modeOf(path), mode_t(0600));

    const LauncherHome home;
    QCOMPARE(home.start(), 0);
    QCOMPARE(modeOf(home.data()), mode_t(0700));
    QCOMPARE(modeOf(home.data() + QStringLiteral("/data.mdb")), mode_t(0600));
    // Nothing is left beside it.
    QCOMPARE(QDir(home.data()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"data.mdb"});
}

// A folder the user made is left as the user made it.
void TestOrvaneDb::launcherLeavesExistingModes()
{
    const LauncherHome home;
    QVERIFY(QDir().mkpath(home.data()));
    QVERIFY(::chmod(QFile::encodeName(home.data()).constData(), 0750) == 0);
    QCOMPARE(home.start(), 0);
    QCOMPARE(modeOf(home.data()), mode_t(0750));
    QCOMPARE(modeOf(home.data() + QStringLiteral("/data.mdb")), mode_t(0600));
}

void TestOrvaneDb::initNeverReplaces_data()
{
    QTest::addColumn<QString>("existing"); // what is at the path already
    QTest::newRow("a file") << "file";
    QTest::newRow("an empty file") << "empty";
    QTest::newRow("a link to a file") << "link";
    QTest::newRow("a link that leads nowhere") << "dangling";
}

// Whatever is at the path stays; the answer is the same for each: status 1, "already exists".
void TestOrvaneDb::initNeverReplaces()
{
    QFETCH(QString, existing);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    const QString other = dir.filePath(QStringLiteral("other.mdb"));
    if (existing == QLatin1String("file") || existing == QLatin1String("link")) {
        QFile file(existing == QLatin1String("file") ? path : other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("mine");
    } else if (existing == QLatin1String("empty")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (existing == QLatin1String("link") || existing == QLatin1String("dangling"))
        QVERIFY(QFile::link(other, path));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    const CliRun run = runExecutable({"--file", path, "init"});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.error, QStringLiteral("orvane-db: %1 already exists; it is left as it is\n").arg(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    QCOMPARE(QFileInfo(path).isSymLink(),
             existing.contains(QLatin1String("link")) || existing == QLatin1String("dangling"));
    QCOMPARE(QFileInfo::exists(other), existing == QLatin1String("link"));
}

void TestOrvaneDb::messagesFollowTheLocale_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("language"); // LANGUAGE, which comes first
    QTest::addColumn<QString>("message");
    const QString chinese = QStringLiteral("orvane-db: 找不到数据库文件“/nonexistent/data.mdb”\n");
    const QString english = QStringLiteral("orvane-db: Cannot find the database file \"/nonexistent/data.mdb\"\n");
    QTest::newRow("Chinese") << "zh_CN.UTF-8"
                             << "" << chinese;
    QTest::newRow("no language") << "C.UTF-8"
                                 << "" << chinese;
    QTest::newRow("English") << "en_US.UTF-8"
                             << "" << english;
    QTest::newRow("German") << "de_DE.UTF-8"
                            << "" << english;
    QTest::newRow("LANGUAGE over LANG") << "zh_CN.UTF-8"
                                        << "en" << english;
    QTest::newRow("first known of LANGUAGE") << "en_US.UTF-8"
                                             << "fr:zh_TW:en" << chinese;
}

// The messages of the database follow the locale; orvane-db's own lines and the JSON listing stay the same.
void TestOrvaneDb::messagesFollowTheLocale()
{
    QFETCH(QString, lang);
    QFETCH(QString, language);
    QFETCH(QString, message);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_MESSAGES"));
    environment.insert(QStringLiteral("LANG"), lang);
    environment.insert(QStringLiteral("LANGUAGE"), language);
    QCOMPARE(runExecutable({"--file", "/nonexistent/data.mdb", "list"}, {}, environment).error, message);

    TempDatabase db;
    QCOMPARE(runExecutable({"--file", db.path(), "add", "Standup", "--at", "2026-03-04 09:30"}, {}, environment).status,
             0);
    const CliRun listed = runExecutable({"--file", db.path(), "list", "--all", "--json"}, {}, environment);
    QCOMPARE(listed.out, runExecutable({"--file", db.path(), "list", "--all", "--json"}).out);
    QVERIFY(listed.out.contains(QLatin1String("\"2026-03-04T09:30:00\"")));
}

QTEST_GUILESS_MAIN(TestOrvaneDb)
#include "tst_orvanedb.moc"
