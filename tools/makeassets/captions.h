#pragma once
// The texts painted into the pictures, one set per language the program speaks. Where a text sits in a box
// of fixed width, a longer translation is drawn smaller rather than wider: the pictures of every language
// have the same shape.

#include <QString>

namespace art {

struct Captions
{
    // The main window: its name plate and the buttons under the hot areas Image1 to Image3.
    QString name;
    QString settings;
    QString quit;
    QString about;
    // The alert and the manager.
    QString alertTitle;
    QString alertHeading;
    QString managerTitle;
    QString managerQuit;
    QString moreSoftware;
    // The About page.
    QString tagline;
    QString copyright;
    QString maker[4];
};

// The program's own language, whose captions decide the pictures' shape.
const Captions &chineseCaptions();
const Captions &englishCaptions();

} // namespace art
