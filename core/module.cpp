#include "core/module.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>

QFunctionPointer moduleFunction(const QString &module, const char *function, QString *error)
{
    QLibrary library(QCoreApplication::applicationDirPath() + QLatin1Char('/') + module);
    const QFunctionPointer found = library.resolve(function);
    if (!found) {
        std::fprintf(stderr, "orvane-reminder: %s\n", qPrintable(library.errorString()));
        if (error)
            *error = library.errorString();
    }
    return found;
}

void forwardSignal(QObject &from, QObject &to, const QMetaMethod &signal)
{
    const QMetaObject *meta = from.metaObject();
    const QMetaMethod theirs = meta->method(meta->indexOfSignal(signal.methodSignature().constData()));
    QObject::connect(&from, theirs, &to, signal);
}
