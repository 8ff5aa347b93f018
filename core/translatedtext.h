#pragma once

#include <QCoreApplication>
#include <QString>

// A text the user sees that is kept in a constant: it is translated each time it is shown, since the constant
// is made before the program installs its translation. Mark the source with QT_TRANSLATE_NOOP so that lupdate
// finds it under the same context.
struct TranslatedText
{
    const char *context;
    const char *source;

    QString text() const { return QCoreApplication::translate(context, source); }
    operator QString() const { return text(); }
};
