// Fitting the glove to its wearer, end to end: the real program in a real X server, the User
// Cal dialog driven with the keyboard through its three steps on a glove whose sensors read
// lower when bent, with glitches in the tilt; then what the bars and the hand show on screen,
// File > Save, and a second run that starts with what was saved.
#include "xsession.h"

#include "look.h"

#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QProgressBar>
#include <QTemporaryDir>

using namespace XSession;

namespace {

// Open and fist of a glove that reads lower when bent; roll and pitch at rest.
const char OpenHand[] = "200 190 180 170 100 120 0 0";
const char Fist[] = "60 70 80 90 100 120 0 0";
constexpr int RollLow = 40, RollNeutral = 100, RollHigh = 220;
constexpr int PitchLow = 60, PitchNeutral = 120, PitchHigh = 200;

QString pose(int roll, int pitch, const char *fingers = "200 190 180 170")
{
    return QStringLiteral("%1 %2 %3 0 0\n").arg(QLatin1String(fingers)).arg(roll).arg(pitch);
}

} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT

    QTemporaryDir config;
    std::unique_ptr<SimulatedGlove> glove;
    std::unique_ptr<RunningVantrel> vantrel;

    bool start()
    {
        glove = std::make_unique<SimulatedGlove>(QStringList{"--poses", "--garbage", "0.02"});
        // One for both runs: the places of its controls are taken once.
        if (!vantrel)
            vantrel = std::make_unique<RunningVantrel>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        vantrel->process.setProcessEnvironment(environment);
        return vantrel->start({"--com1", glove->path});
    }
    void hold(const QByteArray &line, int ms = 1200)
    {
        glove->process.write(line.endsWith('\n') ? line : line + '\n');
        QTest::qWait(ms);
    }
    void pressIn(WId window, const char *keys)
    {
        xdotool({"windowfocus", "--sync", QString::number(window)});
        // With no window manager, the program learns of its focus a moment later; a shortcut
        // reaches only the active window.
        QTest::qWait(200);
        xdotool({"key", keys});
    }

    // How many rows of the bar are filled, read off the screen.
    int filledRows(QProgressBar *bar)
    {
        const QRect area(bar->mapTo(vantrel->layout.centralWidget(), QPoint(0, 0)) +
                             QPoint(0, vantrel->menuHeight),
                         bar->size());
        const QImage shown = grab(vantrel->window, area);
        const QColor fill = bar->palette().color(QPalette::Highlight);
        int rows = 0;
        for (int y = 0; y < shown.height(); ++y)
            rows += shown.pixelColor(shown.width() / 2, y) == fill;
        return rows;
    }
    int insideRows(QProgressBar *bar) { return bar->height() - 2; }

    // Where the hand stands in the "Pitch/Roll" panel, in pixels, from the skin it shows: its
    // rounded thumb shows skin from 3 pixels right of its left edge, its fingers 3 below its top.
    QPoint handShown()
    {
        const QWidget *panel = vantrel->layout.fraAccel;
        const QRect area(panel->mapTo(vantrel->layout.centralWidget(), QPoint(0, 0)) +
                             QPoint(0, vantrel->menuHeight),
                         panel->size());
        const QImage shown = grab(vantrel->window, area);
        QRect skin;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixelColor(x, y) == Look::Skin)
                    skin |= QRect(x, y, 1, 1);
        return skin.topLeft() - QPoint(3, 3);
    }
    static QPoint pixels(double leftTwips, double topTwips)
    {
        return {qRound(leftTwips / 15), qRound(topTwips / 15)};
    }

    void verifyCalibratedOnScreen()
    {
        FrmFlex &layout = vantrel->layout;
        hold(OpenHand, 600);
        for (QProgressBar *bar :
             {layout.prgThumb, layout.prgIndex, layout.prgMiddle, layout.prgRing, layout.prgPinky})
            QTRY_COMPARE(filledRows(bar), 0);
        // The neutral pose at the panel's centre.
        QTRY_COMPARE(handShown(), pixels(1470, 1267.5));
        hold(Fist, 600);
        for (QProgressBar *bar :
             {layout.prgThumb, layout.prgIndex, layout.prgMiddle, layout.prgRing, layout.prgPinky})
            QTRY_COMPARE(filledRows(bar), insideRows(bar));
        // Half way from neutral to the farthest tilt is a quarter of the panel from its centre;
        // past the farthest the hand stays inside.
        hold(pose((RollNeutral + RollHigh) / 2, (PitchLow + PitchNeutral) / 2).toLatin1(), 600);
        QTRY_COMPARE(handShown(), pixels(1470 + 2940 / 4.0, 1267.5 - 2535 / 4.0));
        hold(pose(255, 0).toLatin1(), 600);
        QTRY_COMPARE(handShown(), pixels(2940, 0));
    }

private slots:
    void cleanup()
    {
        vantrel.reset();
        glove.reset();
    }

    void calibratedSavedAndKeptForTheNextRun()
    {
        QVERIFY(config.isValid());
        QVERIFY(start());
        FrmFlex &layout = vantrel->layout;
        hold(OpenHand, 300);
        // Uncalibrated: the raw mapping.
        QTRY_COMPARE(handShown(), pixels(12 * RollNeutral, 10 * PitchNeutral));

        vantrel->chooseFromMenu(layout.mnuCalibration, layout.mnuCalibrationUser);
        const auto dialog = waitForWindow(QStringLiteral("User Calibration"));
        QVERIFY(dialog);
        hold(OpenHand);
        pressIn(*dialog, "Return");
        hold(Fist);
        pressIn(*dialog, "Return");
        // The tilt, each extreme held a few samples, with one-sample glitches beyond them.
        for (int roll = RollNeutral; roll >= RollLow; roll -= 10)
            hold(pose(roll, PitchNeutral).toLatin1(), 40);
        hold("once 200 190 180 170 0 255 0 0", 40);
        for (int roll = RollLow; roll <= RollHigh; roll += 10)
            hold(pose(roll, PitchNeutral).toLatin1(), 40);
        hold("once 200 190 180 170 255 0 0 0", 40);
        for (int pitch = PitchNeutral; pitch >= PitchLow; pitch -= 10)
            hold(pose(RollNeutral, pitch).toLatin1(), 40);
        for (int pitch = PitchLow; pitch <= PitchHigh; pitch += 10)
            hold(pose(RollNeutral, pitch).toLatin1(), 40);
        hold(pose(RollNeutral, PitchNeutral).toLatin1(), 300);
        pressIn(*dialog, "Return");
        QTRY_VERIFY(!windowShown(QStringLiteral("User Calibration")));
        verifyCalibratedOnScreen();

        pressIn(vantrel->window, "ctrl+s");
        QFile saved(config.filePath(QStringLiteral("Vantrel/Vantrel.conf")));
        QTRY_VERIFY(saved.exists());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray text = saved.readAll();
        QVERIFY2(text.contains("Roll=40 100 220") && text.contains("Pitch=60 120 200") &&
                     text.contains("Thumb=200 60"),
                 text.constData());
        pressIn(vantrel->window, "ctrl+x");
        QVERIFY(vantrel->process.waitForFinished(5000));

        // The next run starts with it; Reset without Save goes back to the raw mapping.
        QVERIFY(start());
        verifyCalibratedOnScreen();
        vantrel->chooseFromMenu(layout.mnuCalibration, layout.mnuCalibrationUser);
        const auto again = waitForWindow(QStringLiteral("User Calibration"));
        QVERIFY(again);
        pressIn(*again, "alt+r");
        QTRY_VERIFY(!windowShown(QStringLiteral("User Calibration")));
        hold(OpenHand, 300);
        QTRY_COMPARE(handShown(), pixels(12 * RollNeutral, 10 * PitchNeutral));
        QCOMPARE(filledRows(layout.prgThumb), qRound(insideRows(layout.prgThumb) * 200 / 256.0));
        pressIn(vantrel->window, "ctrl+x");
        QVERIFY(vantrel->process.waitForFinished(5000));
        QCOMPARE(vantrel->process.exitCode(), 0);
        const QString errors = QString::fromLocal8Bit(vantrel->process.readAllStandardError());
        // Nothing said of the saved settings, nor any error.
        QVERIFY2(!errors.contains(QLatin1String("Vantrel:")) &&
                     !errors.contains(QLatin1String("rror")),
                 qPrintable(errors));
    }
};

int main(int argc, char *argv[])
{
    return XSession::run<TestCalibration>(argc, argv);
}

#include "tst_calibration.moc"
