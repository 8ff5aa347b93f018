#pragma once

#include <QIcon>
#include <QImage>

// One of the program's own pictures (":/assets/<file>"), read as the format its file ending names: a
// reader left to detect the format loads every image plugin installed to ask it first. A ".rgb32"
// picture is raw pixels (tools/rawpicture) kept uncompressed in the resources: it is shown from there
// as it stands, with nothing decoded or copied.
QImage loadPicture(const QString &path);
QIcon loadIcon(const QString &path);
