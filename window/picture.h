#pragma once

#include <QIcon>
#include <QImage>

// One of the program's own pictures (":/assets/<file>"), read as the format its file ending names: a
// reader left to detect the format loads every image plugin installed to ask it first. A ".rgb32"
// picture is raw pixels (tools/rawpicture) kept uncompressed in the resources: it is shown from there
// as it stands, with nothing decoded or copied.
QImage loadPicture(const QString &path);
// The picture to show on a screen of `devicePixelRatio`: above 1, the one drawn at twice the size beside
// it, with its ratio set to 2, when there is one; the picture itself otherwise.
QImage loadPicture(const QString &path, qreal devicePixelRatio);
// Where the picture drawn at twice the size lies: "<name>@2x.<ending>" beside it; for raw pixels, which
// only the first screen's picture needs, "<name>@2x.png".
QString doubleSizePath(const QString &path);
// The picture as an icon; with its double-size picture too when a screen's device pixel ratio is above 1.
QIcon loadIcon(const QString &path);
