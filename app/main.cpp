#include "app/program.h"
#include "core/language.h"
#include "desktop/instanceguard.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Without a display QApplication aborts; say why in one line instead.
bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The display the program is to show on, as the messages name it.
QByteArray displayName()
{
    const QByteArray display = qgetenv("DISPLAY");
    return display.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : display;
}

// While the application connects to its display, Qt's messages wait here: when no display answers, Qt reports
// it with a page of plugin text and an abort, which becomes one line and exit code 1; otherwise they go on
// to the usual output once the display is there.
struct ConnectingMessages
{
    QtMessageHandler usual = nullptr;
    struct Message
    {
        QtMsgType type;
        QByteArray category;
        QString text;
    };
    std::vector<Message> held;

    static ConnectingMessages &instance()
    {
        static ConnectingMessages messages;
        return messages;
    }

    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "orvane-reminder: cannot connect to the display \"%s\"; start it on a desktop\n",
                         displayName().constData());
            std::_Exit(1);
        }
        instance().held.push_back({type, context.category, text});
    }

    void start() { usual = qInstallMessageHandler(&ConnectingMessages::hold); }
    void release()
    {
        qInstallMessageHandler(usual);
        for (const Message &message : held) {
            const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
            qt_message_output(message.type, context, message.text);
        }
        held.clear();
    }
};

// The windows place themselves at absolute screen positions, which Wayland does not give clients.
void preferX11()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fprintf(stderr, "orvane-reminder: no graphical display (DISPLAY is not set); start it on a desktop\n");
        return 1;
    }
    preferX11();
    ConnectingMessages::instance().start();
    QApplication app(argc, argv);
    ConnectingMessages::instance().release();
    QApplication::setApplicationName(QStringLiteral("orvane-reminder"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    // The desktop finds the menu entry of the program's windows, and with it their name and icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("orvane-reminder"));
    // Chinese, the language of the texts, loads nothing; there the standard buttons read 确定 from Qt's own
    // Chinese translation. Elsewhere the program's texts and Qt's buttons are English.
    const Language language = textLanguage(QLocale::system().uiLanguages());
    QTranslator qtTranslation;
    if (language == Language::Chinese
        && qtTranslation.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);
    QTranslator translation;
    if (loadTranslation(translation, language))
        QApplication::installTranslator(&translation);
    // The pictures follow the texts: the resource system picks the English ones in an English locale.
    const QLocale pictures = resourceLocale(language, QLocale::system());
    if (pictures != QLocale::system())
        QLocale::setDefault(pictures);
    InstanceGuard guard;
    if (!guard.problem().isEmpty())
        std::fprintf(stderr, "orvane-reminder: %s; running without the check for another instance\n",
                     qPrintable(guard.problem()));
    return runProgram(guard);
}
