#include "desktop/autostart.h"

#include "core/apperror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The launcher of an installed program: <prefix>/bin/orvane-reminder beside the program's folder
// <prefix>/ORVANE_PROGRAM_DIR.
QString launcherOf(const QString &programPath)
{
    const QDir programDir = QFileInfo(programPath).absoluteDir();
    const QString installed = QStringLiteral("/" ORVANE_PROGRAM_DIR);
    if (!programDir.absolutePath().endsWith(installed))
        return {};
    const QString prefix = programDir.absolutePath().chopped(installed.size());
    const QString launcher = prefix + QStringLiteral("/bin/orvane-reminder");
    return QFileInfo(launcher).isExecutable() ? launcher : QString();
}

// A value of type string in a desktop entry.
QString escapedValue(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return text;
}

// A path as the one argument of Exec: quoted when it holds a character that the desktop's reading of
// Exec reserves, and with '%' doubled, which would otherwise start a field code.
QString execArgument(const QString &path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument;
    bool quoted = false;
    for (const QChar c : path) {
        quoted = quoted || reserved.contains(c);
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            argument += QLatin1Char('\\');
        argument += c;
    }
    argument.replace(QLatin1Char('%'), QLatin1String("%%"));
    return quoted ? QLatin1Char('"') + argument + QLatin1Char('"') : argument;
}

} // namespace

Autostart::Autostart(const QString &programPath, const QString &startDirectory)
    : m_programPath(QFileInfo(programPath).absoluteFilePath())
    , m_startDirectory(startDirectory)
    , m_launcher(launcherOf(programPath))
{
}

Autostart::Autostart()
    : Autostart(QCoreApplication::applicationFilePath(), QDir::currentPath())
{
}

QString Autostart::entryPath()
{
    // The base-directory rules make a relative XDG_CONFIG_HOME invalid: it is ignored, as the desktop does.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/orvane-reminder.desktop");
}

bool Autostart::isEnabled() const
{
    QFile entry(entryPath());
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // The keys by which the desktop leaves an entry out, in the entry's main group.
    bool inMainGroup = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const QString setting = QString(line).remove(QLatin1Char(' '));
        if (inMainGroup
            && (setting == QLatin1String("Hidden=true") || setting == QLatin1String("X-GNOME-Autostart-enabled=false")))
            return false;
    }
    return true;
}

void Autostart::setEnabled(bool enabled)
{
    const QString path = entryPath();
    if (!enabled) {
        QFile entry(path);
        if (entry.exists() && !entry.remove())
            throw AppError(QCoreApplication::translate("Autostart", "无法删除登录时自动启动的设置“%1”：%2")
                               .arg(path, entry.errorString()));
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile entry(path);
    if (!entry.open(QIODevice::WriteOnly) || entry.write(entryText().toUtf8()) < 0 || !entry.commit())
        throw AppError(QCoreApplication::translate("Autostart", "无法写入登录时自动启动的设置“%1”：%2")
                           .arg(path, entry.errorString()));
}

QString Autostart::entryText() const
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Orvane日程提醒\n"
                                  "Icon=orvane-reminder\n"
                                  "Terminal=false\n");
    if (m_launcher.isEmpty()) {
        text += QStringLiteral("Exec=") + escapedValue(execArgument(m_programPath)) + QLatin1Char('\n');
        text += QStringLiteral("Path=") + escapedValue(m_startDirectory) + QLatin1Char('\n');
    } else {
        text += QStringLiteral("Exec=") + escapedValue(execArgument(m_launcher)) + QLatin1Char('\n');
    }
    text += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    return text;
}
