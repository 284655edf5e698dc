// Writes the icon files that packaging/ holds, from the program's own drawing:
//   vantrel-icons PACKAGING_DIR
#include "appicons.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel-icons PACKAGING_DIR\n");
        return 2;
    }
    const QDir packaging(QString::fromLocal8Bit(argv[1]));
    for (int size : AppIcons::PngSizes) {
        const QString path =
            packaging.filePath(QStringLiteral("icons/hicolor/%1x%1/apps/vantrel.png").arg(size));
        QDir().mkpath(QFileInfo(path).path());
        if (!AppIcons::png(size).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QFile ico(packaging.filePath(QStringLiteral("windows/vantrel.ico")));
    QDir().mkpath(QFileInfo(ico).path());
    if (!ico.open(QIODevice::WriteOnly) || ico.write(AppIcons::windowsIcon()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(ico.fileName()));
        return 1;
    }
    return 0;
}
