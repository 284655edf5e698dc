#include "appicon.h"

#include <QPainter>

namespace {

// The 16 colours of the classic palette.
const QList<QRgb> SixteenColourPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

// The drawing, on a 32 by 32 grid: four fingers, a palm with a thumb, a cuff.
void drawGlove(QPainter &painter, bool monochrome)
{
    const QColor glove = monochrome ? QColor(Qt::white) : QColor(255, 255, 0);
    const QColor cuff = monochrome ? QColor(Qt::black) : QColor(0, 0, 128);
    const QColor sensor = monochrome ? QColor(Qt::black) : QColor(128, 128, 128);
    painter.setPen(QPen(Qt::black, 1));

    painter.setBrush(glove);
    const QRectF fingers[] = {
        {8.5, 5.5, 5, 12}, {13.5, 2.5, 5, 15}, {18.5, 3.5, 5, 14}, {23.5, 6.5, 5, 11}};
    for (const QRectF &finger : fingers)
        painter.drawRoundedRect(finger, 2, 2);
    painter.drawRoundedRect(QRectF(1.5, 13.5, 10, 6), 2.5, 2.5); // thumb
    painter.drawRoundedRect(QRectF(7.5, 14.5, 22, 12), 3, 3);    // palm

    // The bend sensors along the fingers.
    painter.setPen(QPen(sensor, 1));
    for (const QRectF &finger : fingers)
        painter.drawLine(QPointF(finger.center().x(), finger.top() + 3),
                         QPointF(finger.center().x(), 16.5));

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(cuff);
    painter.drawRect(QRectF(9.5, 26.5, 18, 4));
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
        painter.scale(size / 32.0, size / 32.0);
        drawGlove(painter, colours == TwoColours);
    }
    if (colours == TrueColour)
        return drawing;

    // Few colours: every pixel opaque or transparent, and of the palette.
    QList<QRgb> palette = colours == TwoColours ? QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}
                                                : SixteenColourPalette;
    QImage indexed = drawing.convertToFormat(QImage::Format_Indexed8, palette,
                                             Qt::ThresholdDither | Qt::AvoidDither);
    palette.append(qRgba(0, 0, 0, 0));
    indexed.setColorTable(palette);
    const int transparent = int(palette.size() - 1);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (qAlpha(drawing.pixel(x, y)) < 128)
                indexed.setPixel(x, y, uint(transparent));
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
