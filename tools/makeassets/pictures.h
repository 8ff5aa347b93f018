#pragma once
// The program's pictures, each drawn from scratch at its final size, or at `scale` times that size for
// screens with more pixels to the point (the same drawing, not an enlarged picture).

#include <QImage>

namespace art {

// The main window: dial, name plate, painted buttons, display and the grip tabs; pure black around them.
QImage mainPicture(int scale = 1);
// The alert and manager windows: full rectangles whose top-left pixel alone carries the key colour.
QImage alertPicture(int scale = 1);
QImage managerPicture(int scale = 1);
// The About page: icon, name, version and maker.
QImage aboutPicture(int scale = 1);

} // namespace art
