#include "core/module.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibrary>

#include <cstdio>

QFunctionPointer moduleFunction(const QString &module, const char *function, QString *error)
{
    struct Lookup
    {
        QFunctionPointer found;
        QString error;
    };
    // Each function is looked up once: a missing module is said once on the error output, not at every use.
    static QHash<QString, Lookup> looked;
    const QString key = module + QLatin1Char('/') + QLatin1String(function);
    auto at = looked.find(key);
    if (at == looked.end()) {
        QLibrary library(QCoreApplication::applicationDirPath() + QLatin1Char('/') + module);
        const QFunctionPointer found = library.resolve(function);
        if (!found)
            std::fprintf(stderr, "orvane-reminder: %s\n", qPrintable(library.errorString()));
        at = looked.insert(key, {found, found ? QString() : library.errorString()});
    }
    if (!at->found && error)
        *error = at->error;
    return at->found;
}

void forwardSignal(QObject &from, QObject &to, const QMetaMethod &signal)
{
    const QMetaObject *meta = from.metaObject();
    const QMetaMethod theirs = meta->method(meta->indexOfSignal(signal.methodSignature().constData()));
    QObject::connect(&from, theirs, &to, signal);
}
