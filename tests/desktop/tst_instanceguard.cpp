#include "desktop/instanceguard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kOtherUser = 65534; // nobody

enum class Folder { Missing, Private, OtherUsers, OtherUsersLocked, OpenToAll, Link, File };

} // namespace

Q_DECLARE_METATYPE(Folder)

// The guard without XDG_RUNTIME_DIR, in a temporary folder of the test's own ($TMPDIR), where another
// user may have made the guard's folder first.
class TestInstanceGuard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_systemTemp = QDir::tempPath(); }
    void init();
    void onlyAPrivateFolderIsUsed_data();
    void onlyAPrivateFolderIsUsed();

private:
    QString m_systemTemp;
    std::unique_ptr<QTemporaryDir> m_tmp;
};

void TestInstanceGuard::init()
{
    m_tmp = std::make_unique<QTemporaryDir>(m_systemTemp + QStringLiteral("/tst_instanceguard-XXXXXX"));
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("DISPLAY", "test");
    qputenv("TMPDIR", QFile::encodeName(m_tmp->path()));
    QCOMPARE(QDir::tempPath(), m_tmp->path());
}

void TestInstanceGuard::onlyAPrivateFolderIsUsed_data()
{
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<InstanceGuard::Role>("role");

    QTest::newRow("missing: made private") << Folder::Missing << InstanceGuard::Role::First;
    QTest::newRow("this user's, 0700") << Folder::Private << InstanceGuard::Role::First;
    QTest::newRow("another user's") << Folder::OtherUsers << InstanceGuard::Role::Unguarded;
    QTest::newRow("another user's, 0777, lock held") << Folder::OtherUsersLocked << InstanceGuard::Role::Unguarded;
    QTest::newRow("this user's, 0777") << Folder::OpenToAll << InstanceGuard::Role::Unguarded;
    QTest::newRow("a link to a private folder") << Folder::Link << InstanceGuard::Role::Unguarded;
    QTest::newRow("a file") << Folder::File << InstanceGuard::Role::Unguarded;
}

void TestInstanceGuard::onlyAPrivateFolderIsUsed()
{
    QFETCH(Folder, folder);
    QFETCH(InstanceGuard::Role, role);
    if ((folder == Folder::OtherUsers || folder == Folder::OtherUsersLocked) && getuid() != 0)
        QSKIP("giving a folder to another user needs root");

    const QByteArray path = QFile::encodeName(m_tmp->filePath(QStringLiteral("orvane-reminder-%1").arg(getuid())));
    const QByteArray elsewhere = QFile::encodeName(m_tmp->filePath(QStringLiteral("elsewhere")));
    int held = -1;
    switch (folder) {
    case Folder::Missing:
        break;
    case Folder::Private:
        QCOMPARE(::mkdir(path.constData(), 0700), 0);
        break;
    case Folder::OtherUsers:
        QCOMPARE(::mkdir(path.constData(), 0700), 0);
        QCOMPARE(::chown(path.constData(), kOtherUser, kOtherUser), 0);
        break;
    case Folder::OtherUsersLocked: {
        // As another user who came first would leave it: open to all, with a lock file that they hold.
        QCOMPARE(::mkdir(path.constData(), 0777), 0);
        QCOMPARE(::chmod(path.constData(), 0777), 0);
        const QByteArray lock = path + "/orvane-reminder-test.lock";
        held = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        QVERIFY(held >= 0);
        QCOMPARE(::flock(held, LOCK_EX | LOCK_NB), 0);
        QCOMPARE(::chown(path.constData(), kOtherUser, kOtherUser), 0);
        break;
    }
    case Folder::OpenToAll:
        QCOMPARE(::mkdir(path.constData(), 0700), 0);
        QCOMPARE(::chmod(path.constData(), 0777), 0);
        break;
    case Folder::Link:
        QCOMPARE(::mkdir(elsewhere.constData(), 0700), 0);
        QCOMPARE(::symlink(elsewhere.constData(), path.constData()), 0);
        break;
    case Folder::File:
        QCOMPARE(::close(::open(path.constData(), O_WRONLY | O_CREAT, 0600)), 0);
        break;
    }

    {
        InstanceGuard guard;
        QCOMPARE(guard.role(), role);
        QCOMPARE(guard.problem().isEmpty(), role != InstanceGuard::Role::Unguarded);
        if (role == InstanceGuard::Role::Unguarded)
            QVERIFY2(guard.problem().contains(QFile::decodeName(path)), qPrintable(guard.problem()));
    }
    if (held >= 0)
        ::close(held);

    // What the guard used is private; what it refused, it left as it was.
    struct stat status;
    QCOMPARE(::lstat(path.constData(), &status), 0);
    if (role == InstanceGuard::Role::First) {
        QCOMPARE(status.st_mode & 07777, mode_t(0700));
        QVERIFY(S_ISDIR(status.st_mode));
    } else if (folder == Folder::Link) {
        QVERIFY(S_ISLNK(status.st_mode));
        QVERIFY(QDir(QFile::decodeName(elsewhere)).isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "tst_instanceguard.moc"
