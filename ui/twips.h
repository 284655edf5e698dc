#ifndef TWIPS_H
#define TWIPS_H

#include <QRect>
#include <cmath>

// Window layouts are given in twips: 1440 to the inch, 15 to a device-independent pixel.
constexpr int TwipsPerPixel = 15;

// To the nearest pixel; layouts have no negative positions.
constexpr int twips(int value)
{
    return (2 * value + TwipsPerPixel) / (2 * TwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

// Font sizes are given in points; at 96 dots per inch a point is 4/3 of a pixel. Fonts are
// sized in pixels so that they keep to the twips layout whatever the screen reports.
inline int pointsToPixels(double points)
{
    return int(std::lround(points * 96.0 / 72.0));
}

#endif // TWIPS_H
