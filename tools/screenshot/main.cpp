// Saves the screen of the X server in DISPLAY, cropped to what differs from the bare root
// window's colour: with no window manager, that is the windows shown, frameless. With
// --cut-bottom, so many rows less at the bottom: to compare what stands above them.
//   vantrel-screenshot FILE [--cut-bottom ROWS]
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const bool cut = argc == 4 && qstrcmp(argv[2], "--cut-bottom") == 0;
    if (argc != 2 && !cut) {
        std::fputs("usage: vantrel-screenshot FILE [--cut-bottom ROWS]\n", stderr);
        return 2;
    }
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QRgb root = screen.pixel(0, 0);
    QRect shown;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) != root)
                shown |= QRect(x, y, 1, 1);
    if (shown.isEmpty()) {
        std::fputs("vantrel-screenshot: nothing is shown\n", stderr);
        return 1;
    }
    if (cut)
        shown.setBottom(shown.bottom() - QByteArray(argv[3]).toInt());
    if (!screen.copy(shown).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vantrel-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
