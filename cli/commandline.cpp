#include "cli/commandline.h"

#include "calendar/icsexport.h"
#include "calendar/icsimport.h"
#include "calendar/inputerror.h"
#include "cli/console.h"
#include "cli/listing.h"
#include "core/apperror.h"
#include "core/clock.h"
#include "core/text.h"
#include "core/wallclock.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "store/syncrecord.h"
#include "store/textformats.h"
#include "sync/calendarsync.h"
#include "sync/syncsettings.h"

#include "caldav/caldavclient.h"
#include "caldav/calendardiscovery.h"

#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// An option of the command line. `valueName` is empty for a flag; `completion` is what bash offers for
// its value: "file" for file names, empty for nothing.
struct Option
{
    const char *name;
    const char *valueName;
    const char *completion;
};

constexpr Option kOptions[] = {
    {"file", "PATH", "file"}, {"at", "TIME", ""},          {"content", "TEXT", ""},
    {"date", "DAY", ""},      {"from", "DAY", ""},         {"to", "DAY", ""},
    {"ics", "FILE", "file"},  {"today", "", ""},           {"all", "", ""},
    {"json", "", ""},         {"dry-run", "", ""},         {"help", "", ""},
    {"version", "", ""},      {"bash-completion", "", ""}, {"url", "URL", ""},
    {"user", "NAME", ""},     {"password-stdin", "", ""},  {"repeat", "RULE", ""},
};

// The options that every command takes, as the help lists them.
struct GeneralOption
{
    const char *shown;
    const char *help;
};

constexpr GeneralOption kGeneralOptions[] = {
    {"--file PATH", "the database file; without it ./data.mdb when there is one, else\n"
                    "$XDG_DATA_HOME/orvane-reminder/data.mdb (init: ./data.mdb)"},
    {"-h, --help", "show this help"},
    {"--version", "show the version"},
    {"--bash-completion", "write the bash completion script of orvane-db"},
};

class Arguments;
using CommandRun = int (*)(const Arguments &, Console &);

// A command: its name, what follows it in the help, what it does, the options it takes besides --file,
// and what runs it.
struct Command
{
    const char *name;
    const char *synopsis;
    const char *help;
    std::initializer_list<const char *> options;
    CommandRun run;
};

const Command *findCommand(const QString &name);

class Arguments
{
public:
    explicit Arguments(const QStringList &arguments)
    {
        for (const Option &option : kOptions) {
            QStringList names{QString::fromLatin1(option.name)};
            if (qstrcmp(option.name, "help") == 0)
                names.prepend(QStringLiteral("h"));
            m_parser.addOption(QCommandLineOption(names, QString(), QString::fromLatin1(option.valueName)));
        }
        if (!m_parser.parse(arguments))
            throw InputError(m_parser.errorText());
        m_positional = m_parser.positionalArguments();
    }

    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QString &name) const { return m_parser.value(name); }
    // The command, and the options it was given checked against it.
    const Command &command() const
    {
        if (m_positional.isEmpty())
            throw InputError(QStringLiteral("no command given (try orvane-db --help)"));
        const QString name = m_positional.first();
        const Command *command = findCommand(name);
        if (!command)
            throw InputError(QStringLiteral("unknown command '%1' (try orvane-db --help)").arg(name));
        for (const QString &option : m_parser.optionNames()) {
            const auto taken = [&option](const char *own) { return option == QLatin1String(own); };
            if (option != QLatin1String("file")
                && std::none_of(command->options.begin(), command->options.end(), taken))
                throw InputError(QStringLiteral("--%1 is not an option of %2").arg(option, name));
        }
        return *command;
    }
    // The arguments after the command.
    QStringList operands() const { return m_positional.mid(1); }

private:
    QCommandLineParser m_parser;
    QStringList m_positional;
};

QDate dayArgument(const Arguments &arguments, const QString &option)
{
    const QString text = arguments.value(option);
    static const QRegularExpression form(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}$)"));
    const QDate day = form.match(text).hasMatch() ? QDate::fromString(text, Qt::ISODate) : QDate();
    if (!day.isValid())
        throw InputError(QStringLiteral("--%1: '%2' is not a day (YYYY-MM-DD)").arg(option, text));
    return day;
}

// --at "YYYY-MM-DD HH:MM[:SS]", a real date and time; wall-clock, as the store keeps it.
QDateTime dueArgument(const Arguments &arguments)
{
    if (!arguments.isSet(QStringLiteral("at")))
        throw InputError(QStringLiteral("add needs --at \"YYYY-MM-DD HH:MM[:SS]\""));
    const QString text = arguments.value(QStringLiteral("at"));
    static const QRegularExpression form(QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2}) (\d{2}):(\d{2})(?::(\d{2}))?$)"));
    const QRegularExpressionMatch match = form.match(text);
    const auto number = [&match](int field) { return match.captured(field).toInt(); };
    const QDate date = match.hasMatch() ? QDate(number(1), number(2), number(3)) : QDate();
    const QTime time = match.hasMatch() ? QTime(number(4), number(5), number(6)) : QTime();
    if (!date.isValid() || !time.isValid())
        throw InputError(QStringLiteral("--at: '%1' is not a real date and time (YYYY-MM-DD HH:MM[:SS])").arg(text));
    // The program's add page takes 00:00:00 for a time that was never entered.
    if (time == QTime(0, 0))
        throw InputError(QStringLiteral("--at: the time cannot be 00:00:00"));
    return WallClock::at(date, time);
}

void requireShortEnough(const QString &text, const QString &argument)
{
    if (text.toUtf8().size() > kLongestText)
        throw InputError(QStringLiteral("%1 is longer than 1 MB").arg(argument));
}

QString storePath(const Arguments &arguments)
{
    return arguments.isSet(QStringLiteral("file")) ? arguments.value(QStringLiteral("file")) : defaultStorePath();
}

int initStore(const Arguments &arguments, Console &console)
{
    if (!arguments.operands().isEmpty())
        throw InputError(QStringLiteral("init takes no argument '%1'").arg(arguments.operands().first()));
    const QString path = QFileInfo(arguments.isSet(QStringLiteral("file")) ? arguments.value(QStringLiteral("file"))
                                                                           : QStringLiteral("data.mdb"))
                             .absoluteFilePath();
    // A link, even one that leads nowhere, is the user's.
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
        throw InputError(QStringLiteral("%1 already exists; it is left as it is").arg(path));
    QDir().mkpath(QFileInfo(path).absolutePath());
    ReminderStore::create(path);
    console.text << "created " << path << Qt::endl;
    return ExitDone;
}

int addReminder(const Arguments &arguments, Console &console)
{
    const QStringList operands = arguments.operands();
    if (operands.size() != 1) {
        throw InputError(
            operands.isEmpty()
                ? QStringLiteral("add needs a SUBJECT")
                : QStringLiteral("add takes one SUBJECT; quote it: '%1'").arg(operands.join(QLatin1Char(' '))));
    }
    Reminder reminder;
    reminder.subject = withoutOuterSpacesAndControls(operands.first());
    if (reminder.subject.isEmpty())
        throw InputError(QStringLiteral("SUBJECT is empty"));
    requireShortEnough(reminder.subject, QStringLiteral("SUBJECT"));
    reminder.content = arguments.value(QStringLiteral("content"));
    if (reminder.content.isNull())
        reminder.content = QLatin1String("");
    requireShortEnough(reminder.content, QStringLiteral("--content"));
    reminder.due = dueArgument(arguments);
    reminder.day = reminder.due.date();

    ReminderStore store(storePath(arguments));
    qint64 id = 0;
    if (arguments.isSet(QStringLiteral("repeat"))) {
        QString rule;
        try {
            rule = Repetition::ruleOf(arguments.value(QStringLiteral("repeat")));
        } catch (const AppError &) {
            throw InputError(
                QStringLiteral("--repeat: '%1' is not daily, weekdays, weekly, monthly, yearly or an RRULE")
                    .arg(arguments.value(QStringLiteral("repeat"))));
        }
        ReminderRepeats repeats(store);
        id = repeats.add(reminder, rule);
        // The row holds the first occurrence, which a rule may put after --at.
        reminder.due = repeats.of(id)->nextAfter(reminder.due.addSecs(-1));
    } else {
        id = store.add(reminder);
    }
    console.text << "added " << id << ' ' << canonicalDateTimeText(reminder.due) << ' '
                 << withVisibleControls(reminder.subject) << Qt::endl;
    if (reminder.due.time().second() != 0)
        console.error << "orvane-db: note: reminders fall due at a minute's first second; this one will never alert"
                      << Qt::endl;
    return ExitDone;
}

int listReminders(const Arguments &arguments, Console &console)
{
    if (!arguments.operands().isEmpty())
        throw InputError(QStringLiteral("list takes no argument '%1'").arg(arguments.operands().first()));
    const bool range = arguments.isSet(QStringLiteral("from")) || arguments.isSet(QStringLiteral("to"));
    const int selections = int(arguments.isSet(QStringLiteral("today"))) + int(arguments.isSet(QStringLiteral("date")))
                           + int(range) + int(arguments.isSet(QStringLiteral("all")));
    if (selections > 1)
        throw InputError(QStringLiteral("--today, --date, --from/--to and --all go one at a time"));
    ListRange days;
    if (arguments.isSet(QStringLiteral("date"))) {
        days.first = days.last = dayArgument(arguments, QStringLiteral("date"));
    } else if (range) {
        if (arguments.isSet(QStringLiteral("from")))
            days.first = dayArgument(arguments, QStringLiteral("from"));
        if (arguments.isSet(QStringLiteral("to")))
            days.last = dayArgument(arguments, QStringLiteral("to"));
        if (days.first.isValid() && days.last.isValid() && days.first > days.last)
            throw InputError(QStringLiteral("--from is after --to"));
    } else if (!arguments.isSet(QStringLiteral("all"))) {
        days.first = days.last = console.clock.now().date();
    }
    ReminderStore store(storePath(arguments));
    if (arguments.isSet(QStringLiteral("json")))
        listJson(store, days, console.text);
    else
        listTable(store, days, console.text);
    return ExitDone;
}

int deleteReminders(const Arguments &arguments, Console &console)
{
    const QStringList operands = arguments.operands();
    if (operands.isEmpty())
        throw InputError(QStringLiteral("delete needs at least one ID"));
    QList<qint64> ids;
    for (const QString &operand : operands) {
        bool ok = false;
        const qint64 id = operand.toLongLong(&ok);
        if (!ok || id <= 0)
            throw InputError(QStringLiteral("ID '%1' is not a reminder's id (a number from list)").arg(operand));
        ids << id;
    }
    // All that exist go, or none when the store fails half-way. An id given twice goes once.
    QList<qint64> unique;
    for (const qint64 id : std::as_const(ids)) {
        if (!unique.contains(id))
            unique << id;
    }
    QList<bool> removed;
    ReminderStore store(storePath(arguments));
    ReminderRepeats repeats(store);
    store.transaction([&] {
        for (const qint64 id : std::as_const(unique))
            removed << repeats.remove(id);
    });
    for (qsizetype i = 0; i < unique.size(); ++i) {
        if (removed.at(i))
            console.text << "deleted " << unique.at(i) << Qt::endl;
        else
            console.error << "orvane-db: ID " << unique.at(i) << ": no such reminder" << Qt::endl;
    }
    return removed.contains(false) ? ExitBadInput : ExitDone;
}

QString icsArgument(const Arguments &arguments, const QString &command)
{
    if (!arguments.isSet(QStringLiteral("ics")))
        throw InputError(QStringLiteral("%1 needs --ics FILE (or - for the standard stream)").arg(command));
    if (!arguments.operands().isEmpty())
        throw InputError(QStringLiteral("%1 takes no argument '%2'").arg(command, arguments.operands().first()));
    return arguments.value(QStringLiteral("ics"));
}

int exportCalendar(const Arguments &arguments, Console &console)
{
    const QString target = icsArgument(arguments, QStringLiteral("export"));
    ReminderStore store(storePath(arguments));
    if (target == QLatin1String("-")) {
        console.text.flush();
        writeCalendar(store, console.out, console.error, console.clock);
        return ExitDone;
    }
    // A device or a pipe by its name (/dev/stdout) is written as it is, and only the calendar goes to it.
    const QFileInfo info(target);
    if (info.exists() && !info.isFile()) {
        QFile device(target);
        if (!device.open(QIODevice::WriteOnly))
            throw InputError(QStringLiteral("--ics: cannot write %1: %2").arg(target, device.errorString()));
        console.text.flush();
        writeCalendar(store, device, console.error, console.clock);
        return ExitDone;
    }
    // A failed export leaves no half-written file.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw InputError(QStringLiteral("--ics: cannot write %1: %2").arg(target, file.errorString()));
    const int count = writeCalendar(store, file, console.error, console.clock);
    if (!file.commit())
        throw InputError(QStringLiteral("--ics: cannot write %1: %2").arg(target, file.errorString()));
    console.text << "exported " << count << (count == 1 ? " reminder to " : " reminders to ")
                 << QFileInfo(target).absoluteFilePath() << Qt::endl;
    return ExitDone;
}

int importCalendar(const Arguments &arguments, Console &console)
{
    const QString source = icsArgument(arguments, QStringLiteral("import"));
    QFile file(source);
    QIODevice *input = &console.in;
    if (source != QLatin1String("-")) {
        if (!file.open(QIODevice::ReadOnly))
            throw InputError(QStringLiteral("--ics: cannot read %1: %2").arg(source, file.errorString()));
        input = &file;
    }
    ReminderStore store(storePath(arguments));
    IcsImport import(store, console.clock.now(), arguments.isSet(QStringLiteral("dry-run")));
    import.run(*input, console.text, console.error);
    return ExitDone;
}

// Waits for the job of the client, which owns it.
template <class Job> Job *finished(Job *job)
{
    QEventLoop loop;
    QObject::connect(job, &CalDavJob::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return job;
}

int serverFailure(CalDavError error, const QString &message, Console &console)
{
    console.error << "orvane-db: sync: " << message << Qt::endl;
    const bool refused = error == CalDavError::WrongPassword || error == CalDavError::NotACalendar
                         || error == CalDavError::UntrustedCertificate || error == CalDavError::InsecureAddress
                         || error == CalDavError::InvalidAddress;
    return refused ? ExitServerRefused : ExitServerFailure;
}

// The calendar at `address`, or the one calendar for events found from it; an invalid address when there is
// none (the message said why).
QUrl calendarAt(CalDavClient &client, const QUrl &address, Console &console, int &status)
{
    CalendarDiscovery *discovery = finished(client.discover(address));
    if (discovery->error() != CalDavError::None) {
        status = serverFailure(discovery->error(), discovery->errorMessage(), console);
        return {};
    }
    QList<QUrl> found;
    for (const CalendarInfo &calendar : discovery->calendars()) {
        if (calendar.acceptsEvents)
            found << calendar.url;
    }
    if (found.size() == 1)
        return found.first();
    if (found.isEmpty()) {
        status = serverFailure(CalDavError::NotACalendar, caldavErrorMessage(CalDavError::NotACalendar), console);
        return {};
    }
    console.error << "orvane-db: sync: this account has several calendars; give one of them as --url:" << Qt::endl;
    for (const QUrl &url : std::as_const(found))
        console.error << "  " << url.toString() << Qt::endl;
    status = ExitBadInput;
    return {};
}

// The account set up in 同步设置…, its password from the secret store.
SyncAccount savedAccount()
{
    SyncSettings settings;
    SyncAccount account;
    QString failure;
    QEventLoop loop;
    QObject::connect(&settings, &SyncSettings::loaded, &loop, [&](const SyncAccount &loaded) {
        account = loaded;
        loop.quit();
    });
    QObject::connect(&settings, &SyncSettings::failed, &loop, [&](const QString &message) {
        failure = message;
        loop.quit();
    });
    settings.load();
    loop.exec();
    if (!failure.isEmpty())
        throw InputError(failure);
    return account;
}

bool sameServer(const QUrl &one, const QUrl &other)
{
    return one.scheme() == other.scheme() && one.host() == other.host() && one.port() == other.port();
}

// The account to sync with: the one given by --url and --user, or else the saved one; the password from the
// standard input, or else from the secret store, where it is used only for the user and the server it was
// saved for.
SyncAccount syncAccount(const Arguments &arguments, Console &console)
{
    const bool given = arguments.isSet(QStringLiteral("url")) || arguments.isSet(QStringLiteral("user"));
    if (given && !(arguments.isSet(QStringLiteral("url")) && arguments.isSet(QStringLiteral("user"))))
        throw InputError(QStringLiteral("sync needs both --url URL and --user NAME, or neither to use the account "
                                        "set up in 同步设置…"));
    // Never an option's value: the arguments of a process are anybody's to read.
    const bool fromStandardInput = arguments.isSet(QStringLiteral("password-stdin"));
    SyncAccount account;
    if (given) {
        account.calendar = QUrl::fromUserInput(arguments.value(QStringLiteral("url")));
        account.user = arguments.value(QStringLiteral("user"));
    }
    if (!given || !fromStandardInput) {
        const SyncAccount saved = savedAccount();
        if (!given && !saved.isSet())
            throw InputError(QStringLiteral("no sync account is set up: set one up in 同步设置…, or give --url URL "
                                            "--user NAME --password-stdin"));
        if (!given) {
            account = saved;
        } else if (saved.isSet() && saved.user == account.user && sameServer(saved.calendar, account.calendar)) {
            account.password = saved.password;
            account.insecureHttpAllowed = saved.insecureHttpAllowed;
        } else {
            throw InputError(QStringLiteral("no password is saved for %1 at %2: give --password-stdin, and the "
                                            "password on the standard input")
                                 .arg(account.user, account.calendar.host()));
        }
        if (!fromStandardInput && account.password.isEmpty())
            throw InputError(QStringLiteral("the secret store holds no password for %1: save it again in 同步设置…, "
                                            "or give --password-stdin")
                                 .arg(account.user));
    }
    if (fromStandardInput) {
        account.password = QString::fromUtf8(console.in.readLine());
        while (account.password.endsWith(u'\n') || account.password.endsWith(u'\r'))
            account.password.chop(1);
    }
    return account;
}

int syncCalendar(const Arguments &arguments, Console &console)
{
    if (!arguments.operands().isEmpty())
        throw InputError(QStringLiteral("sync takes no argument '%1'").arg(arguments.operands().first()));
    const SyncAccount account = syncAccount(arguments, console);
    const QUrl &address = account.calendar;

    CalDavClient client;
    client.setCredentials(account.user, account.password);
    client.setInsecureHttpAllowed(account.insecureHttpAllowed);
    if (const CalDavError refused = client.addressError(address); refused != CalDavError::None)
        return serverFailure(refused, caldavErrorMessage(refused), console);
    ReminderStore store(storePath(arguments));
    // The calendar synced before is taken as it is; another address is looked into first.
    QUrl calendar = address;
    if (SyncRecord(store).calendar().url != address.toString()) {
        int status = ExitDone;
        calendar = calendarAt(client, address, console, status);
        if (status != ExitDone)
            return status;
    }
    CalendarSync sync(store, client, calendar, console.clock);
    QEventLoop loop;
    QObject::connect(&sync, &CalendarSync::finished, &loop, &QEventLoop::quit);
    sync.start();
    loop.exec();
    if (!sync.errorMessage().isEmpty()) {
        if (sync.error() == CalDavError::None)
            throw AppError(sync.errorMessage());
        return serverFailure(
            sync.error(), sync.errorMessage() + QStringLiteral("; the next sync goes on from where this one stopped"),
            console);
    }
    const SyncSummary &done = sync.summary();
    console.text << "synced with " << calendar.toString() << ": here " << done.added << " added, " << done.changed
                 << " changed, " << done.removed << " removed; there " << done.uploaded << " stored, " << done.deleted
                 << " removed";
    if (done.conflicts > 0)
        console.text << "; " << done.conflicts << " changed on both sides, kept here also as copies marked "
                     << CalendarSync::conflictMark();
    if (done.skipped > 0)
        console.text << "; " << done.skipped
                     << " events left out (no reminder, or a series ended or not kept as a rule)";
    console.text << Qt::endl;
    return ExitDone;
}

constexpr Command kCommands[] = {
    {"init", "", "make a starter database file (an existing file is never replaced)", {}, initStore},
    {"add",
     "SUBJECT --at \"YYYY-MM-DD HH:MM[:SS]\" [--content TEXT]\n"
     "    [--repeat daily|weekdays|weekly|monthly|yearly|RRULE:...]",
     "add a reminder; --repeat makes it come back (monthly on the 31st\n"
     "falls on a shorter month's last day, yearly on February 29 on the 28th)",
     {"at", "content", "repeat"},
     addReminder},
    {"list",
     "[--today | --date YYYY-MM-DD | --from YYYY-MM-DD --to YYYY-MM-DD | --all] [--json]",
     "show reminders in time order, today's by default; --json writes a\n"
     "JSON array of {id, subject, content, due, day}, and repeat (the\n"
     "RFC 5545 rule) for a reminder that repeats",
     {"today", "date", "from", "to", "all", "json"},
     listReminders},
    {"delete", "ID...", "delete reminders by the ids that list shows", {}, deleteReminders},
    {"export", "--ics FILE|-", "write every reminder as an iCalendar event with an alarm", {"ics"}, exportCalendar},
    {"import",
     "--ics FILE|- [--dry-run]",
     "add the events of an iCalendar file, each one once however often it\n"
     "is imported; --dry-run only tells what it would add",
     {"ics", "dry-run"},
     importCalendar},
    {"sync",
     "[--url URL --user NAME] [--password-stdin]",
     "sync both ways with a CalDAV calendar (https; http only to this\n"
     "machine, or where 同步设置… allowed it); without --url and --user the\n"
     "account set up in 同步设置…; --url: the calendar's address, or the\n"
     "server's when it holds one calendar. The password comes from the\n"
     "secret store where it was saved for that user and server, or with\n"
     "--password-stdin from the first line of the standard input",
     {"url", "user", "password-stdin"},
     syncCalendar},
};

const Command *findCommand(const QString &name)
{
    for (const Command &command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

// One entry of the help: `head`, then `help` from the 28th column, on a line of its own when `head` is long.
QString helpEntry(const QString &head, const char *help)
{
    constexpr int kHelpColumn = 27;
    const QString indent(kHelpColumn, u' ');
    QString entry = QStringLiteral("  ") + head;
    entry += entry.size() < kHelpColumn - 1 ? QString(kHelpColumn - entry.size(), u' ') : u'\n' + indent;
    return entry + QString::fromUtf8(help).replace(u'\n', u'\n' + indent) + u'\n';
}

} // namespace

QString defaultStorePath()
{
    const QString here = QDir::current().absoluteFilePath(QStringLiteral("data.mdb"));
    if (QFileInfo::exists(here))
        return here;
    // A relative XDG_DATA_HOME names no base folder and is ignored, as the launcher ignores it.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString base = QDir::isAbsolutePath(dataHome) ? dataHome : QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/orvane-reminder/data.mdb");
}

QString usageText()
{
    QString text = QStringLiteral("Usage: orvane-db [--file PATH] COMMAND [ARGUMENTS]\n"
                                  "Reads and changes the reminders of Orvane日程提醒 in its database file.\n"
                                  "\n"
                                  "Commands:\n");
    for (const Command &command : kCommands) {
        const QString synopsis = QString::fromUtf8(command.synopsis);
        text += helpEntry(QString::fromLatin1(command.name) + (synopsis.isEmpty() ? QString() : u' ' + synopsis),
                          command.help);
    }
    text += QStringLiteral("\nOptions:\n");
    for (const GeneralOption &option : kGeneralOptions)
        text += helpEntry(QString::fromLatin1(option.shown), option.help);
    return text
           + QStringLiteral(
               "\nExit status: 0 done, 1 bad input (the message names the argument), 2 the database file failed,\n"
               "3 sync: the server could not be reached or failed, 4 sync: the server refused (user or password,\n"
               "no calendar at the address, certificate not trusted).\n");
}

QString bashCompletion()
{
    QStringList fileValues;
    QStringList otherValues;
    for (const Option &option : kOptions) {
        if (*option.valueName != '\0')
            (qstrcmp(option.completion, "file") == 0 ? fileValues : otherValues)
                << QStringLiteral("--") + QLatin1String(option.name);
    }
    QStringList names;
    QString perCommand;
    for (const Command &command : kCommands) {
        names << QString::fromLatin1(command.name);
        QStringList options;
        for (const char *option : command.options)
            options << QStringLiteral("--") + QLatin1String(option);
        options << QStringLiteral("--file");
        perCommand += QStringLiteral("        %1) COMPREPLY=($(compgen -W \"%2\" -- \"$cur\")) ;;\n")
                          .arg(QLatin1String(command.name), options.join(u' '));
    }
    QStringList general = names;
    general << QStringLiteral("--file") << QStringLiteral("--help") << QStringLiteral("--version");
    return QStringLiteral("# bash completion for orvane-db, written by orvane-db --bash-completion\n"
                          "_orvane_db()\n"
                          "{\n"
                          "    local cur prev command word\n"
                          "    cur=${COMP_WORDS[COMP_CWORD]}\n"
                          "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                          "    case $prev in\n"
                          "        %1)\n"
                          "            compopt -o filenames 2>/dev/null\n"
                          "            COMPREPLY=($(compgen -f -- \"$cur\"))\n"
                          "            return ;;\n"
                          "        %2)\n"
                          "            return ;;\n"
                          "    esac\n"
                          "    for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
                          "        case $word in\n"
                          "            %3) command=$word; break ;;\n"
                          "        esac\n"
                          "    done\n"
                          "    case $command in\n"
                          "        '') COMPREPLY=($(compgen -W \"%4\" -- \"$cur\")) ;;\n"
                          "%5"
                          "    esac\n"
                          "}\n"
                          "complete -F _orvane_db orvane-db\n")
        .arg(fileValues.join(u'|'), otherValues.join(u'|'), names.join(u'|'), general.join(u' '), perCommand);
}

int runCommandLine(const QStringList &arguments, Console &console)
{
    int status = ExitDone;
    try {
        const Arguments parsed(arguments);
        if (parsed.isSet(QStringLiteral("help")))
            console.text << usageText();
        else if (parsed.isSet(QStringLiteral("version")))
            console.text << "orvane-db " << ORVANE_VERSION << '\n';
        else if (parsed.isSet(QStringLiteral("bash-completion")))
            console.text << bashCompletion();
        else
            status = parsed.command().run(parsed, console);
    } catch (const InputError &error) {
        console.error << "orvane-db: " << error.message() << Qt::endl;
        status = ExitBadInput;
    } catch (const AppError &error) {
        console.error << "orvane-db: " << error.message() << Qt::endl;
        status = ExitStoreFailure;
    }
    console.text.flush();
    console.error.flush();
    return status;
}
