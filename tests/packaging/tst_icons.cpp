// The icon files in packaging/ are what the program's own drawing gives, so that they cannot
// drift from the window icon and the About box.
#include "appicons.h"

#include <QFile>
#include <QTest>

class TestIcons : public QObject
{
    Q_OBJECT

private slots:
    void pngFilesMatchTheDrawing()
    {
        for (int size : AppIcons::PngSizes) {
            const QString path =
                QStringLiteral(PACKAGING_DIR "/icons/hicolor/%1x%1/apps/vantrel.png").arg(size);
            QImage committed(path);
            QVERIFY2(!committed.isNull(), qPrintable(path));
            QCOMPARE(committed.size(), QSize(size, size));
            QVERIFY(committed.hasAlphaChannel());
            QVERIFY2(committed.convertToFormat(QImage::Format_ARGB32) ==
                         AppIcons::png(size).convertToFormat(QImage::Format_ARGB32),
                     qPrintable(path + " differs: build the icons target"));
        }
    }

    void windowsIconMatchesTheDrawing()
    {
        QFile ico(QStringLiteral(PACKAGING_DIR "/windows/vantrel.ico"));
        QVERIFY(ico.open(QIODevice::ReadOnly));
        QCOMPARE(ico.readAll(), AppIcons::windowsIcon());
    }

    void windowsIconHoldsTheThreeClassicImages()
    {
        const QByteArray ico = AppIcons::windowsIcon();
        auto u16 = [&](int at) { return quint8(ico[at]) | quint8(ico[at + 1]) << 8; };
        auto u32 = [&](int at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
        QCOMPARE(u16(2), 1); // an icon
        QCOMPARE(u16(4), 3);
        const int expected[3][4] = {{32, 32, 2, 1}, {32, 32, 16, 4}, {16, 16, 16, 4}};
        for (int i = 0; i < 3; ++i) {
            const int entry = 6 + 16 * i;
            QCOMPARE(quint8(ico[entry]), expected[i][0]);
            QCOMPARE(quint8(ico[entry + 1]), expected[i][1]);
            QCOMPARE(quint8(ico[entry + 2]), expected[i][2]);
            QCOMPARE(u16(entry + 6), expected[i][3]);
            // The bitmap: its header agrees, and the size given covers it exactly.
            const quint32 size = u32(entry + 8);
            const quint32 offset = u32(entry + 12);
            QVERIFY(offset + size <= quint32(ico.size()));
            QCOMPARE(u32(int(offset)), 40u);
            QCOMPARE(u32(int(offset) + 4), quint32(expected[i][0]));
            QCOMPARE(u32(int(offset) + 8), quint32(2 * expected[i][1]));
            const int w = expected[i][0];
            const int bits = expected[i][3];
            const quint32 rows = quint32((w * bits + 31) / 32 * 4 + (w + 31) / 32 * 4) * quint32(w);
            QCOMPARE(size, 40 + 4 * quint32(expected[i][2]) + rows);
        }
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
