#include "core/module.h"

#include <QCoreApplication>
#include <QHash>
#include <QPluginLoader>

#include <cstdio>

void *moduleInterface(const QString &module, const char *iid, QString *error)
{
    // Each module is looked at once: a missing one is said once on the error output, not at every use.
    static QHash<QString, QString> failures;
    const QString key = module + QLatin1Char(' ') + QLatin1String(iid);
    auto failed = failures.constFind(key);
    if (failed == failures.cend()) {
        const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + module + QStringLiteral(".so");
        QPluginLoader loader(path);
        QObject *instance = loader.instance();
        if (void *found = instance ? instance->qt_metacast(iid) : nullptr)
            return found;
        QString reason =
            instance ? QStringLiteral("%1 is not the module this program needs (%2)").arg(path, QLatin1String(iid))
                     : loader.errorString();
        if (!reason.contains(path)) // "The shared library was not found."
            reason = path + QStringLiteral(": ") + reason;
        std::fprintf(stderr, "orvane-reminder: %s\n", qPrintable(reason));
        failed = failures.insert(key, reason);
    }
    if (error)
        *error = *failed;
    return nullptr;
}
