#pragma once

#include <QFunctionPointer>
#include <QMetaMethod>
#include <QString>

// A function of one of the program's modules ("<module>.so" beside the executable), which are loaded
// when first needed so that start-up does not pay for them. The module stays loaded for the program's life.
// Null when it cannot be loaded; the reason goes once to the error output and, through `error`, to the caller.
QFunctionPointer moduleFunction(const QString &module, const char *function, QString *error = nullptr);

// An object made by the module's function `function` (taking nothing, returning a new T); null without it.
template <typename T> T *createFromModule(const QString &module, const char *function, QString *error = nullptr)
{
    const auto create = reinterpret_cast<T *(*)()>(moduleFunction(module, function, error));
    return create ? create() : nullptr;
}

// Connects `signal` of `from`, an object that a module made, to the same signal of `to`. The module links a
// copy of its own of the class that declares the signal, so the signal is found by its signature, not by
// this copy's member pointer.
void forwardSignal(QObject &from, QObject &to, const QMetaMethod &signal);
