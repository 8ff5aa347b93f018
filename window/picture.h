#pragma once

#include <QIcon>
#include <QImage>

// One of the program's own pictures (":/assets/<file>"), read as the format its file ending names: a
// reader left to detect the format loads every image plugin installed to ask it first.
QImage loadPicture(const QString &path);
QIcon loadIcon(const QString &path);
