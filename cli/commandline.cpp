#include "cli/commandline.h"

#include "cli/console.h"
#include "cli/icsexport.h"
#include "cli/icsimport.h"
#include "cli/inputerror.h"
#include "cli/listing.h"
#include "core/clock.h"
#include "core/text.h"
#include "core/wallclock.h"
#include "store/reminderstore.h"
#include "store/textformats.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

struct Command
{
    QString name;
    QStringList options; // the options it takes besides --file
};

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {QStringLiteral("init"), {}},
        {QStringLiteral("add"), {QStringLiteral("at"), QStringLiteral("content")}},
        {QStringLiteral("list"),
         {QStringLiteral("today"), QStringLiteral("date"), QStringLiteral("from"), QStringLiteral("to"),
          QStringLiteral("all"), QStringLiteral("json")}},
        {QStringLiteral("delete"), {}},
        {QStringLiteral("export"), {QStringLiteral("ics")}},
        {QStringLiteral("import"), {QStringLiteral("ics"), QStringLiteral("dry-run")}},
    };
    return list;
}

class Arguments
{
public:
    explicit Arguments(const QStringList &arguments)
    {
        const auto value = [](const char *name, const char *valueName) {
            return QCommandLineOption(QString::fromLatin1(name), QString(), QString::fromLatin1(valueName));
        };
        const auto flag = [](const QStringList &names) { return QCommandLineOption(names); };
        m_parser.addOptions({
            value("file", "PATH"),
            value("at", "TIME"),
            value("content", "TEXT"),
            value("date", "DAY"),
            value("from", "DAY"),
            value("to", "DAY"),
            value("ics", "FILE"),
            flag({QStringLiteral("today")}),
            flag({QStringLiteral("all")}),
            flag({QStringLiteral("json")}),
            flag({QStringLiteral("dry-run")}),
            flag({QStringLiteral("h"), QStringLiteral("help")}),
            flag({QStringLiteral("version")}),
        });
        if (!m_parser.parse(arguments))
            throw InputError(m_parser.errorText());
        m_positional = m_parser.positionalArguments();
    }

    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QString &name) const { return m_parser.value(name); }
    // The command's name, checked, and the options it was given checked against it.
    QString command() const
    {
        if (m_positional.isEmpty())
            throw InputError(QStringLiteral("no command given (try orvane-db --help)"));
        const QString name = m_positional.first();
        for (const Command &command : commands()) {
            if (command.name != name)
                continue;
            for (const QString &option : m_parser.optionNames()) {
                if (option != QLatin1String("file") && !command.options.contains(option))
                    throw InputError(QStringLiteral("--%1 is not an option of %2").arg(option, name));
            }
            return name;
        }
        throw InputError(QStringLiteral("unknown command '%1' (try orvane-db --help)").arg(name));
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
    const QString path = QFileInfo(arguments.isSet(QStringLiteral("file")) ? arguments.value(QStringLiteral("file"))
                                                                           : QStringLiteral("data.mdb"))
                             .absoluteFilePath();
    if (QFileInfo::exists(path))
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
    const qint64 id = store.add(reminder);
    console.text << "added " << id << ' ' << canonicalDateTimeText(reminder.due) << ' ' << reminder.subject << Qt::endl;
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
    store.transaction([&] {
        for (const qint64 id : std::as_const(unique))
            removed << store.remove(id);
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

int runCommand(const Arguments &arguments, Console &console)
{
    const QString command = arguments.command();
    if (command == QLatin1String("init")) {
        if (!arguments.operands().isEmpty())
            throw InputError(QStringLiteral("init takes no argument '%1'").arg(arguments.operands().first()));
        return initStore(arguments, console);
    }
    if (command == QLatin1String("add"))
        return addReminder(arguments, console);
    if (command == QLatin1String("list"))
        return listReminders(arguments, console);
    if (command == QLatin1String("delete"))
        return deleteReminders(arguments, console);
    if (command == QLatin1String("export"))
        return exportCalendar(arguments, console);
    return importCalendar(arguments, console);
}

} // namespace

QString defaultStorePath()
{
    const QString here = QDir::current().absoluteFilePath(QStringLiteral("data.mdb"));
    if (QFileInfo::exists(here))
        return here;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/orvane-reminder/data.mdb");
}

QString usageText()
{
    return QStringLiteral(
        "Usage: orvane-db [--file PATH] COMMAND [ARGUMENTS]\n"
        "Reads and changes the reminders of Orvane日程提醒 in its database file.\n"
        "\n"
        "Commands:\n"
        "  init                     make a starter database file (an existing file is never replaced)\n"
        "  add SUBJECT --at \"YYYY-MM-DD HH:MM[:SS]\" [--content TEXT]\n"
        "                           add a reminder\n"
        "  list [--today | --date YYYY-MM-DD | --from YYYY-MM-DD --to YYYY-MM-DD | --all] [--json]\n"
        "                           show reminders in time order, today's by default; --json writes a\n"
        "                           JSON array of {id, subject, content, due, day}\n"
        "  delete ID...             delete reminders by the ids that list shows\n"
        "  export --ics FILE|-      write every reminder as an iCalendar event with an alarm\n"
        "  import --ics FILE|- [--dry-run]\n"
        "                           add the events of an iCalendar file, each one once however often it\n"
        "                           is imported; --dry-run only tells what it would add\n"
        "\n"
        "Options:\n"
        "  --file PATH              the database file; without it ./data.mdb when there is one, else\n"
        "                           $XDG_DATA_HOME/orvane-reminder/data.mdb (init: ./data.mdb)\n"
        "  -h, --help               show this help\n"
        "  --version                show the version\n"
        "\n"
        "Exit status: 0 done, 1 bad input (the message names the argument), 2 the database file failed.\n");
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
        else
            status = runCommand(parsed, console);
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
