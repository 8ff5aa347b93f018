#pragma once
// The program's pictures, each drawn from scratch at its final size, or at `scale` times that size for
// screens with more pixels to the point (the same drawing, not an enlarged picture), with the captions of
// one language.

#include <QImage>

namespace art {

struct Captions;

// The main window: dial, name plate, painted buttons, display and the grip tabs; pure black around them.
QImage mainPicture(const Captions &captions, int scale = 1);
// The alert and manager windows: full rectangles whose top-left pixel alone carries the key colour.
QImage alertPicture(const Captions &captions, int scale = 1);
QImage managerPicture(const Captions &captions, int scale = 1);
// The About page: icon, name, version and maker.
QImage aboutPicture(const Captions &captions, int scale = 1);

} // namespace art
