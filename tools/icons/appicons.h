#ifndef APPICONS_H
#define APPICONS_H

#include <QByteArray>
#include <QImage>
#include <QList>

// The installed icon files, all drawn by AppIcon: the hicolor theme's PNG sizes, and the
// Windows icon with its three classic images.
namespace AppIcons {
const QList<int> PngSizes = {16, 32, 48, 64, 128, 256};

QImage png(int size);
QByteArray windowsIcon(); // 32x32 in 2 colours, 32x32 in 16 colours, 16x16 in 16 colours
} // namespace AppIcons

#endif // APPICONS_H
