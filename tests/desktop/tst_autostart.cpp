#include "core/apperror.h"
#include "desktop/autostart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &text, QFile::Permissions permissions = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    if (permissions)
        QVERIFY(file.setPermissions(permissions));
}

// A stand-in for the program or its launcher: it notes how it was started and where.
void writeStandIn(const QString &path)
{
    writeFile(path, "#!/bin/sh\nprintf '%s\\n%s\\n' \"$0\" \"$PWD\" > \"$STARTED\"\n",
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// The login entry, written into a configuration directory of the test's own ($XDG_CONFIG_HOME).
class TestAutostart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entryRunsTheProgramAsTheDesktopReadsIt_data();
    void entryRunsTheProgramAsTheDesktopReadsIt();
    void relativeConfigHomeIsIgnored();
    void disablingRemovesTheEntryAlone();
    void isEnabledFollowsTheDesktopsKeys_data();
    void isEnabledFollowsTheDesktopsKeys();
    void failuresAreReported();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_config;
};

void TestAutostart::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_config = m_dir->filePath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", m_config.toUtf8());
    QCOMPARE(Autostart::entryPath(), m_config + QStringLiteral("/autostart/orvane-reminder.desktop"));
}

void TestAutostart::entryRunsTheProgramAsTheDesktopReadsIt_data()
{
    QTest::addColumn<QString>("programPath");
    QTest::addColumn<QString>("launcher"); // made beside the program's folder when not empty
    QTest::addColumn<QString>("startDirectory");
    QTest::addColumn<QString>("expectedCommand");
    QTest::addColumn<QString>("expectedDirectory"); // empty: wherever the desktop starts it

    QTest::newRow("installed") << "usr/lib/orvane-reminder/orvane-reminder"
                               << "usr/bin/orvane-reminder"
                               << "elsewhere"
                               << "usr/bin/orvane-reminder" << QString();
    QTest::newRow("build folder") << "build/app/orvane-reminder" << QString() << "my reminders"
                                  << "build/app/orvane-reminder"
                                  << "my reminders";
    QTest::newRow("reserved characters") << "it's \"a\" $HOME `b` \\ (c)/日程/orvane-reminder" << QString()
                                         << "data; #1 & 50%"
                                         << "it's \"a\" $HOME `b` \\ (c)/日程/orvane-reminder"
                                         << "data; #1 & 50%";
    QTest::newRow("percent signs") << "50%u/100%/orvane-reminder" << QString() << "wd"
                                   << "50%u/100%/orvane-reminder"
                                   << "wd";
    QTest::newRow("percent signs, installed") << "50%f/lib/orvane-reminder/orvane-reminder"
                                              << "50%f/bin/orvane-reminder"
                                              << "wd"
                                              << "50%f/bin/orvane-reminder" << QString();
    QTest::newRow("a folder named lib/orvane-reminder without a launcher")
        << "opt/lib/orvane-reminder/orvane-reminder" << QString() << "wd"
        << "opt/lib/orvane-reminder/orvane-reminder"
        << "wd";
}

void TestAutostart::entryRunsTheProgramAsTheDesktopReadsIt()
{
    QFETCH(QString, programPath);
    QFETCH(QString, launcher);
    QFETCH(QString, startDirectory);
    QFETCH(QString, expectedCommand);
    QFETCH(QString, expectedDirectory);
    const QDir root(m_dir->filePath(QStringLiteral("root")));
    writeStandIn(root.filePath(programPath));
    if (!launcher.isEmpty())
        writeStandIn(root.filePath(launcher));
    // GLib looks for the command as written, "%%" and all, before it unquotes it to run it: a copy there
    // lets it go on (the copy that runs says which path it was started as).
    const QString command = launcher.isEmpty() ? programPath : launcher;
    if (command.contains(QLatin1Char('%')))
        writeStandIn(root.filePath(QString(command).replace(QLatin1Char('%'), QLatin1String("%%"))));
    QVERIFY(root.mkpath(startDirectory));

    Autostart autostart(root.filePath(programPath), root.filePath(startDirectory));
    QVERIFY(!autostart.isEnabled());
    autostart.setEnabled(true);
    QVERIFY(autostart.isEnabled());
    const QString entry = readFile(Autostart::entryPath());
    QVERIFY(entry.contains(QStringLiteral("\nX-GNOME-Autostart-enabled=true\n")));
    QCOMPARE(entry.contains(QStringLiteral("\nPath=")), !expectedDirectory.isEmpty());

    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), {Autostart::entryPath()});
    QVERIFY(validate.waitForFinished());
    QVERIFY2(validate.exitCode() == 0 && validate.readAll().isEmpty(), qPrintable(entry));

    // GLib reads it as a GNOME session does at login.
    const QString started = m_dir->filePath(QStringLiteral("started"));
    QProcess desktop;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("STARTED"), started);
    desktop.setProcessEnvironment(environment);
    desktop.setWorkingDirectory(m_dir->path());
    desktop.start(QStringLiteral("gio"), {QStringLiteral("launch"), Autostart::entryPath()});
    QVERIFY(desktop.waitForFinished());
    QTRY_VERIFY(QFile::exists(started) && readFile(started).count(QLatin1Char('\n')) == 2);
    const QStringList how = readFile(started).split(QLatin1Char('\n'));
    QCOMPARE(how.at(0), root.filePath(expectedCommand));
    if (!expectedDirectory.isEmpty())
        QCOMPARE(how.at(1), root.filePath(expectedDirectory));
}

// The base-directory rules: a relative XDG_CONFIG_HOME is invalid and is ignored.
void TestAutostart::relativeConfigHomeIsIgnored()
{
    const QString home = m_dir->filePath(QStringLiteral("home"));
    const QByteArray usualHome = qgetenv("HOME");
    const auto restoreHome = qScopeGuard([&] { qputenv("HOME", usualHome); });
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", "relative/config");
    QCOMPARE(Autostart::entryPath(), home + QStringLiteral("/.config/autostart/orvane-reminder.desktop"));
}

void TestAutostart::disablingRemovesTheEntryAlone()
{
    writeFile(m_config + QStringLiteral("/autostart/other.desktop"), "[Desktop Entry]\n");
    Autostart autostart(QStringLiteral("/opt/orvane/orvane-reminder"), QStringLiteral("/tmp"));
    autostart.setEnabled(true);
    autostart.setEnabled(true);
    QVERIFY(autostart.isEnabled());
    autostart.setEnabled(false);
    QVERIFY(!autostart.isEnabled());
    QCOMPARE(QDir(m_config + QStringLiteral("/autostart")).entryList(QDir::Files), QStringList{"other.desktop"});
    autostart.setEnabled(false);
    QVERIFY(!autostart.isEnabled());
}

void TestAutostart::isEnabledFollowsTheDesktopsKeys_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("plain") << QByteArray("[Desktop Entry]\nType=Application\nExec=x\n") << true;
    QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=x\nHidden = true\n") << false;
    QTest::newRow("switched off in GNOME") << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n") << false;
    QTest::newRow("switched on in GNOME") << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=true\n") << true;
    QTest::newRow("keys of an action") << QByteArray("[Desktop Entry]\nExec=x\n[Desktop Action a]\nHidden=true\n")
                                       << true;
}

void TestAutostart::isEnabledFollowsTheDesktopsKeys()
{
    QFETCH(QByteArray, entry);
    QFETCH(bool, enabled);
    writeFile(Autostart::entryPath(), entry);
    QCOMPARE(Autostart(QStringLiteral("/opt/orvane/orvane-reminder"), QStringLiteral("/tmp")).isEnabled(), enabled);
}

void TestAutostart::failuresAreReported()
{
    Autostart autostart(QStringLiteral("/opt/orvane/orvane-reminder"), QStringLiteral("/tmp"));
    // A file where the autostart folder should be: nothing can be written there (even by root).
    writeFile(m_config + QStringLiteral("/autostart"), "not a folder");
    try {
        autostart.setEnabled(true);
        QFAIL("writing into a file did not fail");
    } catch (const AppError &error) {
        QVERIFY2(error.message().startsWith(QStringLiteral("无法写入登录时自动启动的设置“") + Autostart::entryPath()),
                 qPrintable(error.message()));
    }
    QVERIFY(!autostart.isEnabled());

    // A folder in the entry's place cannot be removed as a file.
    QVERIFY(QFile::remove(m_config + QStringLiteral("/autostart")));
    QVERIFY(QDir().mkpath(Autostart::entryPath()));
    QVERIFY(!autostart.isEnabled());
    QVERIFY_THROWS_EXCEPTION(AppError, autostart.setEnabled(false));
}

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
