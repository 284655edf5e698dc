#include "icofile.h"

#include <QDataStream>
#include <QIODevice>

namespace {

int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// The image's colours less the transparent one, its depth, and its bitmap with mask.
QByteArray bitmapOf(const QImage &image, int *colours, int *bitsPerPixel)
{
    *colours = int(image.colorCount()) - 1;
    *bitsPerPixel = *colours <= 2 ? 1 : 4;
    const int transparent = *colours;
    const int w = image.width();
    const int h = image.height();

    QByteArray bitmap;
    QDataStream out(&bitmap, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const int colourRow = rowBytes(w, *bitsPerPixel);
    const int maskRow = rowBytes(w, 1);
    out << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(*bitsPerPixel)
        << quint32(0) << quint32((colourRow + maskRow) * h) << qint32(0) << qint32(0)
        << quint32(*colours) << quint32(0);
    for (int i = 0; i < *colours; ++i) {
        const QRgb c = image.color(i);
        out << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
    }

    // Rows go bottom-up: first the colours, then the mask, where 1 is transparent.
    QByteArray colourBits(colourRow * h, 0);
    QByteArray maskBits(maskRow * h, 0);
    const int perByte = 8 / *bitsPerPixel;
    for (int y = 0; y < h; ++y) {
        char *colourLine = colourBits.data() + (h - 1 - y) * colourRow;
        char *maskLine = maskBits.data() + (h - 1 - y) * maskRow;
        for (int x = 0; x < w; ++x) {
            const int index = image.pixelIndex(x, y);
            if (index == transparent) {
                maskLine[x / 8] = char(maskLine[x / 8] | (0x80 >> (x % 8)));
                continue;
            }
            const int shift = 8 - *bitsPerPixel * (x % perByte + 1);
            colourLine[x / perByte] = char(colourLine[x / perByte] | (index << shift));
        }
    }
    return bitmap + colourBits + maskBits;
}

} // namespace

QByteArray icoFile(const QList<QImage> &images)
{
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());

    QList<QByteArray> bitmaps;
    quint32 offset = 6 + 16 * quint32(images.size());
    for (const QImage &image : images) {
        int colours = 0;
        int bitsPerPixel = 0;
        bitmaps << bitmapOf(image, &colours, &bitsPerPixel);
        out << quint8(image.width()) << quint8(image.height()) << quint8(colours) << quint8(0)
            << quint16(1) << quint16(bitsPerPixel) << quint32(bitmaps.last().size()) << offset;
        offset += quint32(bitmaps.last().size());
    }
    for (const QByteArray &bitmap : bitmaps)
        file += bitmap;
    return file;
}
