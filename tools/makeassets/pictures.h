#pragma once
// The program's pictures, each drawn from scratch at its final size.

#include <QImage>

namespace art {

// The main window: dial, name plate, painted buttons, display and the grip tabs; pure black around them.
QImage mainPicture();
// The alert and manager windows: full rectangles whose top-left pixel alone carries the key colour.
QImage alertPicture();
QImage managerPicture();
// The About page: icon, name, version and maker.
QImage aboutPicture();

} // namespace art
