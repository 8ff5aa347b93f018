#pragma once

#include <QObject>
#include <QString>

// One of the program's modules ("<module>.so" beside the executable, a Qt plugin) as the interface whose
// versioned id is `iid`. Modules are loaded when first needed so that start-up does not pay for them, and
// stay loaded for the program's life. Null when the module cannot be loaded or does not carry that
// interface; the reason goes once to the error output and, through `error`, to the caller.
void *moduleInterface(const QString &module, const char *iid, QString *error = nullptr);

// The same for the plugin interface T, declared with Q_DECLARE_INTERFACE.
template <typename T> T *moduleInterface(const QString &module, QString *error = nullptr)
{
    return static_cast<T *>(moduleInterface(module, qobject_interface_iid<T *>(), error));
}
