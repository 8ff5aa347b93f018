#include "syncsetup/syncsetupdialog.h"

#include "caldav/calendarcreation.h"
#include "caldav/calendardiscovery.h"
#include "sync/syncsettings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kUrlRole = Qt::UserRole;

} // namespace

QString connectionProblem(CalDavError error)
{
    switch (error) {
    case CalDavError::InvalidAddress:
        return SyncSetupDialog::tr("服务器地址无效：请填写 https:// 开头的地址");
    case CalDavError::InsecureAddress:
        return SyncSetupDialog::tr("没有使用这个不加密（http://）的地址");
    case CalDavError::NoServer:
        return SyncSetupDialog::tr("连不上服务器：地址不存在，或服务器没有运行");
    case CalDavError::ConnectionLost:
    case CalDavError::Timeout:
        return SyncSetupDialog::tr("服务器没有回答完：请稍后再试");
    case CalDavError::UntrustedCertificate:
        return SyncSetupDialog::tr("服务器的 TLS 证书不受信任（过期、自签名，或不属于这个地址）");
    case CalDavError::WrongPassword:
        return SyncSetupDialog::tr("用户名或密码不对");
    case CalDavError::NotACalendar:
        return SyncSetupDialog::tr("这个地址不是日历，从它也找不到日历：请填写服务器或日历的地址");
    case CalDavError::ServerError:
        return SyncSetupDialog::tr("服务器内部出错：请稍后再试");
    case CalDavError::None:
    case CalDavError::Conflict:
    case CalDavError::SyncTokenExpired:
    case CalDavError::Rejected:
    case CalDavError::ProtocolError:
        break;
    }
    return SyncSetupDialog::tr("服务器拒绝了请求，或它的回答无法理解");
}

SyncSetupDialog::SyncSetupDialog(SyncSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_address(new QLineEdit(this))
    , m_user(new QLineEdit(this))
    , m_password(new QLineEdit(this))
    , m_test(new QPushButton(tr("测试连接"), this))
    , m_status(new QLabel(this))
    , m_calendars(new QListWidget(this))
    , m_create(new QPushButton(tr("新建日历"), this))
{
    setWindowTitle(tr("同步设置"));
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setPlaceholderText(QStringLiteral("https://"));
    m_user->setObjectName(QStringLiteral("user"));
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_test->setObjectName(QStringLiteral("testConnection"));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_calendars->setObjectName(QStringLiteral("calendars"));
    m_create->setObjectName(QStringLiteral("createCalendar"));
    m_create->setEnabled(false);

    auto *form = new QFormLayout;
    form->addRow(tr("服务器地址"), m_address);
    form->addRow(tr("用户名"), m_user);
    form->addRow(tr("密码"), m_password);
    auto *testRow = new QHBoxLayout;
    testRow->addWidget(m_test);
    testRow->addWidget(m_status, 1);
    auto *calendarLabel = new QLabel(tr("同步的日历"), this);
    calendarLabel->setBuddy(m_calendars);
    auto *buttons = new QDialogButtonBox(this);
    m_save = buttons->addButton(tr("保存"), QDialogButtonBox::AcceptRole);
    m_save->setObjectName(QStringLiteral("save"));
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(testRow);
    layout->addWidget(calendarLabel);
    layout->addWidget(m_calendars);
    layout->addWidget(m_create, 0, Qt::AlignLeft);
    layout->addWidget(buttons);

    // The calendars found belong to the address and the user they were found with; a test still waiting for
    // its answer is of the old ones.
    const auto forgetCalendars = [this] {
        delete m_job;
        m_calendars->clear();
        m_home.clear();
        setBusy(false);
        showStatus(QString());
    };
    connect(m_address, &QLineEdit::textEdited, this, [this, forgetCalendars] {
        m_insecureHttpAllowed = false;
        forgetCalendars();
    });
    connect(m_user, &QLineEdit::textEdited, this, forgetCalendars);
    connect(m_test, &QPushButton::clicked, this, &SyncSetupDialog::testConnection);
    connect(m_create, &QPushButton::clicked, this, &SyncSetupDialog::createCalendar);
    connect(buttons, &QDialogButtonBox::accepted, this, &SyncSetupDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&m_settings, &SyncSettings::loaded, this, &SyncSetupDialog::showAccount, Qt::SingleShotConnection);
    connect(&m_settings, &SyncSettings::failed, this, [this](const QString &message) {
        setBusy(false);
        showStatus(message);
    });
    connect(&m_settings, &SyncSettings::saved, this, &QDialog::accept);
    m_settings.load();
}

void SyncSetupDialog::showAccount(const SyncAccount &account)
{
    if (!account.isSet())
        return;
    m_address->setText(account.calendar.toString());
    m_user->setText(account.user);
    m_password->setText(account.password);
    m_insecureHttpAllowed = account.insecureHttpAllowed;
    addCalendar(account.calendar, account.calendar.toString());
}

QUrl SyncSetupDialog::address() const
{
    return QUrl::fromUserInput(m_address->text().trimmed());
}

void SyncSetupDialog::testConnection()
{
    const QUrl url = address();
    m_client.setInsecureHttpAllowed(m_insecureHttpAllowed);
    const CalDavError refused = m_client.addressError(url);
    if (refused == CalDavError::InsecureAddress)
        confirmPlainHttp(url);
    else if (refused != CalDavError::None)
        showStatus(connectionProblem(refused));
    else
        discover(url);
}

// The password and the reminders would cross the network readable by anyone on the way.
void SyncSetupDialog::confirmPlainHttp(const QUrl &url)
{
    auto *box =
        new QMessageBox(QMessageBox::Warning, tr("同步设置"),
                        tr("%1 不加密（http://）：密码和日程会以明文经过网络。仍要使用这个地址吗？").arg(url.host()),
                        QMessageBox::NoButton, this);
    box->setObjectName(QStringLiteral("plainHttpQuestion"));
    box->addButton(tr("使用"), QMessageBox::AcceptRole);
    box->setDefaultButton(box->addButton(tr("取消"), QMessageBox::RejectRole));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::accepted, this, [this, url] {
        m_insecureHttpAllowed = true;
        m_client.setInsecureHttpAllowed(true);
        discover(url);
    });
    connect(box, &QMessageBox::rejected, this, [this] { showStatus(connectionProblem(CalDavError::InsecureAddress)); });
    box->open();
}

void SyncSetupDialog::follow(CalDavJob *job)
{
    delete m_job; // an earlier test still waiting: its answer no longer matters
    m_job = job;
    setBusy(true);
    showStatus(tr("正在连接服务器…"));
}

void SyncSetupDialog::discover(const QUrl &url)
{
    m_client.setCredentials(m_user->text(), m_password->text());
    CalendarDiscovery *discovery = m_client.discover(url);
    follow(discovery);
    connect(discovery, &CalDavJob::finished, this, [this, discovery] { discovered(discovery); });
}

void SyncSetupDialog::discovered(CalendarDiscovery *discovery)
{
    discovery->deleteLater();
    setBusy(false);
    if (discovery->error() != CalDavError::None) {
        showStatus(connectionProblem(discovery->error()));
        return;
    }
    const QUrl chosen = m_calendars->currentItem() ? m_calendars->currentItem()->data(kUrlRole).toUrl() : QUrl();
    m_calendars->clear();
    m_home = discovery->calendarHome();
    m_create->setEnabled(!m_home.isEmpty());
    for (const CalendarInfo &calendar : discovery->calendars()) {
        if (calendar.acceptsEvents)
            addCalendar(calendar.url, calendar.displayName.isEmpty() ? calendar.url.path() : calendar.displayName);
    }
    const int found = m_calendars->count();
    for (int row = 0; row < found; ++row) {
        if (found == 1 || m_calendars->item(row)->data(kUrlRole).toUrl() == chosen)
            m_calendars->setCurrentRow(row);
    }
    showStatus(found > 0 ? tr("连接成功：找到 %n 个日历，请选择一个", nullptr, found)
                         : tr("连接成功，但这个账户还没有可存放日程的日历：请新建一个"));
}

void SyncSetupDialog::createCalendar()
{
    CalendarCreation *creation = m_client.createCalendar(m_home, newCalendarName());
    follow(creation);
    connect(creation, &CalDavJob::finished, this, [this, creation] {
        creation->deleteLater();
        setBusy(false);
        if (creation->error() != CalDavError::None) {
            showStatus(connectionProblem(creation->error()));
            return;
        }
        addCalendar(creation->calendar().url, newCalendarName());
        m_calendars->setCurrentRow(m_calendars->count() - 1);
        showStatus(tr("已新建日历“%1”").arg(newCalendarName()));
    });
}

void SyncSetupDialog::addCalendar(const QUrl &url, const QString &name)
{
    auto *item = new QListWidgetItem(name, m_calendars);
    item->setData(kUrlRole, url);
    item->setToolTip(url.toString());
}

void SyncSetupDialog::save()
{
    const QListWidgetItem *calendar = m_calendars->currentItem();
    if (!calendar || m_user->text().isEmpty()) {
        showStatus(tr("请填写用户名，测试连接，再选择一个日历"));
        return;
    }
    setBusy(true);
    showStatus(tr("正在保存…"));
    m_settings.save({calendar->data(kUrlRole).toUrl(), m_user->text(), m_password->text(), m_insecureHttpAllowed});
}

void SyncSetupDialog::setBusy(bool busy)
{
    m_test->setEnabled(!busy);
    m_save->setEnabled(!busy);
    m_create->setEnabled(!busy && !m_home.isEmpty());
}

void SyncSetupDialog::showStatus(const QString &text)
{
    m_status->setText(text);
}
