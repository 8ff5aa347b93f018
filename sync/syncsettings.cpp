#include "sync/syncsettings.h"

#include "sync/syncservice.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <qt6keychain/keychain.h>

namespace {

// The program's one entry in the secret store.
const QString kSecretService = QStringLiteral("orvane-reminder");
const QString kSecretKey = QStringLiteral("caldav-password");

const QString kCalendar = QStringLiteral("caldav/calendar");
const QString kUser = QStringLiteral("caldav/user");
const QString kInsecureHttp = QStringLiteral("caldav/insecureHttpAllowed");

} // namespace

SyncSettings::SyncSettings(QObject *parent)
    : SyncSettings(syncSettingsFile(), parent)
{
}

SyncSettings::SyncSettings(const QString &file, QObject *parent)
    : QObject(parent)
    , m_file(file)
{
}

SyncAccount SyncSettings::readFile() const
{
    const QSettings settings(m_file, QSettings::IniFormat);
    SyncAccount account;
    account.calendar = QUrl(settings.value(kCalendar).toString());
    account.user = settings.value(kUser).toString();
    account.insecureHttpAllowed = settings.value(kInsecureHttp, false).toBool();
    return account;
}

bool SyncSettings::writeFile(const SyncAccount &account) const
{
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(kCalendar, account.calendar.toString());
    settings.setValue(kUser, account.user);
    settings.setValue(kInsecureHttp, account.insecureHttpAllowed);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

template <class Job, class Done> void SyncSettings::run(Job *job, bool missingIsFine, Done done)
{
    job->setKey(kSecretKey);
    connect(job, &QKeychain::Job::finished, this, [this, missingIsFine, done](QKeychain::Job *finished) {
        const QKeychain::Error error = finished->error();
        if (error == QKeychain::NoError || (missingIsFine && error == QKeychain::EntryNotFound))
            done(*static_cast<Job *>(finished));
        else
            emit failed(secretStoreMessage(*finished));
    });
    job->start();
}

void SyncSettings::load()
{
    const SyncAccount account = readFile();
    if (!account.isSet()) {
        // Finished from the event loop, as when the secret store answers.
        QMetaObject::invokeMethod(
            this, [this] { emit loaded(SyncAccount()); }, Qt::QueuedConnection);
        return;
    }
    run(new QKeychain::ReadPasswordJob(kSecretService, this), true,
        [this, account](const QKeychain::ReadPasswordJob &job) {
            SyncAccount withPassword = account;
            withPassword.password = job.textData();
            emit loaded(withPassword);
        });
}

void SyncSettings::save(const SyncAccount &account)
{
    auto *job = new QKeychain::WritePasswordJob(kSecretService, this);
    job->setTextData(account.password);
    run(job, false, [this, account](const QKeychain::WritePasswordJob &) {
        if (!writeFile(account)) {
            emit failed(tr("无法写入设置文件 %1").arg(QDir::toNativeSeparators(m_file)));
            return;
        }
        emit saved();
        emit changed(account);
    });
}

void SyncSettings::forget()
{
    run(new QKeychain::DeletePasswordJob(kSecretService, this), true, [this](const QKeychain::DeletePasswordJob &) {
        QFile::remove(m_file);
        emit changed(SyncAccount());
    });
}

QString SyncSettings::secretStoreMessage(const QKeychain::Job &job) const
{
    // Without a secret service on the session bus the store's own message names D-Bus internals.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (job.error() == QKeychain::NoBackendAvailable || !bus.isConnected()
        || !bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")))
        return tr("没有运行中的密码存储（Secret Service，例如 GNOME 密钥环或 KWallet），无法保存或读取同步密码；"
                  "请在桌面会话中启动它");
    if (job.error() == QKeychain::AccessDeniedByUser || job.error() == QKeychain::AccessDenied)
        return tr("密码存储拒绝了访问（密钥环没有解锁？）");
    return tr("密码存储出错：%1").arg(job.errorString());
}
