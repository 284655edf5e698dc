#ifndef LOOK_H
#define LOOK_H

#include <QColor>
#include <QFont>

class QWidget;

// The colours and fonts the windows share. The classic fonts are replaced by the nearest ones
// a Linux desktop has; the installer brings those fonts along.
namespace Look {
inline const QColor Grey(128, 128, 128);
inline const QColor Skin(255, 224, 192);
inline const QColor Yellow(255, 255, 0);
inline const QColor TitleBlue(0, 0, 255);

QFont defaultFont();      // the sans-serif UI font, 8.25 pt
QFont boldDefaultFont();  // the same, bold
QFont frameCaptionFont(); // a bold fixed-pitch font, 9 pt
QFont aboutTitleFont();   // a heavy sans-serif, 15.75 pt

// Sets the style, palette and default font every window is drawn with.
void applyToApplication();

// Fills the widget's background with a colour of its own.
void setBackground(QWidget *widget, const QColor &colour);
} // namespace Look

#endif // LOOK_H
