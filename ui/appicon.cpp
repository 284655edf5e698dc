#include "appicon.h"

#include <QPainter>
#include <climits>

namespace {

// The 16 colours of the classic palette.
const QList<QRgb> SixteenColourPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

struct GloveColours
{
    QColor glove;
    QColor cuff;
    QColor sensor;
};

GloveColours gloveColours(bool monochrome)
{
    if (monochrome)
        return {Qt::white, Qt::black, Qt::black};
    return {QColor(255, 255, 0), QColor(0, 0, 128), QColor(128, 128, 128)};
}

// The drawing on a 32 by 32 grid: four fingers with their bend sensors, a thumb, a palm and
// a cuff.
void drawGlove(QPainter &painter, const GloveColours &colours)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(colours.glove);
    const QRectF fingers[] = {
        {8.5, 5.5, 5, 12}, {13.5, 2.5, 5, 15}, {18.5, 3.5, 5, 14}, {23.5, 6.5, 5, 11}};
    for (const QRectF &finger : fingers)
        painter.drawRoundedRect(finger, 2, 2);
    painter.drawRoundedRect(QRectF(1.5, 13.5, 10, 6), 2.5, 2.5); // thumb
    painter.drawRoundedRect(QRectF(7.5, 14.5, 22, 12), 3, 3);    // palm

    painter.setPen(QPen(colours.sensor, 1));
    for (const QRectF &finger : fingers)
        painter.drawLine(QPointF(finger.center().x(), finger.top() + 3),
                         QPointF(finger.center().x(), 16.5));

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(colours.cuff);
    painter.drawRect(QRectF(9.5, 26.5, 18, 4));
}

// The same glove on a 16 by 16 grid, pixel by pixel: too small for sensors or round corners.
void drawSmallGlove(QPainter &painter, const GloveColours &colours)
{
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(colours.glove);
    for (const QRect &finger :
         {QRect(4, 3, 2, 6), QRect(6, 1, 2, 8), QRect(8, 2, 2, 7), QRect(10, 4, 2, 5)})
        painter.drawRect(finger);
    painter.drawRect(0, 8, 4, 3);  // thumb
    painter.drawRect(3, 8, 10, 5); // palm
    painter.setBrush(colours.cuff);
    painter.drawRect(4, 13, 8, 2);
}

// The nearest colour of the palette, by distance in RGB.
int nearestColour(QRgb colour, const QList<QRgb> &palette)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(colour) - qRed(palette[i]);
        const int dg = qGreen(colour) - qGreen(palette[i]);
        const int db = qBlue(colour) - qBlue(palette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

namespace AppIcon {

QImage image(int size, Colours colours)
{
    QImage drawing(size, size, QImage::Format_ARGB32);
    drawing.fill(Qt::transparent);
    {
        QPainter painter(&drawing);
        painter.setRenderHint(QPainter::Antialiasing, colours == TrueColour);
        const bool small = size <= 16;
        painter.scale(size / (small ? 16.0 : 32.0), size / (small ? 16.0 : 32.0));
        const GloveColours gloveColour = gloveColours(colours == TwoColours);
        if (small)
            drawSmallGlove(painter, gloveColour);
        else
            drawGlove(painter, gloveColour);
    }
    if (colours == TrueColour)
        return drawing;

    // Few colours: every pixel of the palette or see-through; the last entry is see-through.
    QList<QRgb> palette = colours == TwoColours ? QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}
                                                : SixteenColourPalette;
    const int transparent = int(palette.size());
    QImage indexed(size, size, QImage::Format_Indexed8);
    indexed.setColorTable(palette + QList<QRgb>{qRgba(0, 0, 0, 0)});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = drawing.pixel(x, y);
            indexed.setPixel(
                x, y, uint(qAlpha(pixel) < 128 ? transparent : nearestColour(pixel, palette)));
        }
    return indexed;
}

QIcon icon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image(16, SixteenColours)));
    icon.addPixmap(QPixmap::fromImage(image(32, SixteenColours)));
    for (int size : {48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(image(size, TrueColour)));
    return icon;
}

} // namespace AppIcon
