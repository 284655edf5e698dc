#ifndef ICOFILE_H
#define ICOFILE_H

#include <QByteArray>
#include <QImage>
#include <QList>

// A Windows icon file holding palette images, each with its transparency mask. Every image
// is an indexed one whose last colour stands for "transparent".
QByteArray icoFile(const QList<QImage> &images);

#endif // ICOFILE_H
