#include "window/keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

bool pressFocusedButton(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    auto *button = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
    if (!button || !button->isEnabled())
        return false;
    event->accept();
    button->click();
    return true;
}
