#ifndef APPICON_H
#define APPICON_H

#include <QIcon>
#include <QImage>

// The application's icon: a yellow glove, drawn here so that the window icon, the About box
// and the installed icon files all come from one drawing.
namespace AppIcon {
enum Colours {
    TwoColours,     // black and white, with a transparency mask
    SixteenColours, // the standard 16-colour palette
    TrueColour,     // smooth edges, for large sizes
};

QImage image(int size, Colours colours);
QIcon icon();
} // namespace AppIcon

#endif // APPICON_H
