// Saves the screen of the X server in DISPLAY, cropped to what differs from the bare root
// window's colour: with no window manager, that is the windows shown, frameless.
//   vantrel-screenshot FILE
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vantrel-screenshot FILE\n", stderr);
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
    if (!screen.copy(shown).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vantrel-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
