// Using the hand, end to end: the real program in a real X server with a calibration from a
// settings file made here. Hand shapes, once turned on in their dialog, held show in the status bar
// and go out over OSC once each, a shape passed through does not; the glove moves and clicks the X
// pointer, is paused and resumed by a key and by a hand shape, and lets go of the button when it is
// unplugged mid-drag.
#include "xsession.h"

#include <QLabel>
#include <QMouseEvent>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>

using namespace XSession;

namespace {

// A glove that reads lower when bent: open 200 190 180 170, fist 60 70 80 90; the tilt at rest
// at roll 100, pitch 120.
QByteArray hand(const char *fingers, int roll = 100, int pitch = 120)
{
    return QStringLiteral("%1 %2 %3 0 0\n")
        .arg(QLatin1String(fingers))
        .arg(roll)
        .arg(pitch)
        .toLatin1();
}
const char Open[] = "200 190 180 170";
const char Fist[] = "60 70 80 90";
const char Point[] = "60 190 80 90";
const char Victory[] = "60 190 180 90";
const char IndexBent[] = "200 70 180 170";

// Where the pointer is on the screen.
QPoint pointer()
{
    const QStringList words = xdotool({"getmouselocation"}).split(QLatin1Char(' '));
    QPoint at;
    for (const QString &word : words) {
        if (word.startsWith(QLatin1String("x:")))
            at.setX(word.mid(2).toInt());
        else if (word.startsWith(QLatin1String("y:")))
            at.setY(word.mid(2).toInt());
    }
    return at;
}

// A small window of the test's own that counts the presses and releases it gets.
class ClickTarget : public QWidget
{
public:
    int presses = 0;
    int releases = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent *) override { ++releases; }
};

} // namespace

class TestHandUse : public QObject
{
    Q_OBJECT

    QTemporaryDir config;
    std::unique_ptr<SimulatedGlove> glove;
    std::unique_ptr<RunningVantrel> vantrel;

    bool start(const QStringList &arguments = {})
    {
        QSettings settings(config.filePath(QStringLiteral("Vantrel/Vantrel.conf")),
                           QSettings::IniFormat);
        settings.clear();
        settings.setValue(QStringLiteral("Gloves/com1/Thumb"), QStringLiteral("200 60"));
        settings.setValue(QStringLiteral("Gloves/com1/Index"), QStringLiteral("190 70"));
        settings.setValue(QStringLiteral("Gloves/com1/Middle"), QStringLiteral("180 80"));
        settings.setValue(QStringLiteral("Gloves/com1/Ring"), QStringLiteral("170 90"));
        settings.setValue(QStringLiteral("Gloves/com1/Roll"), QStringLiteral("40 100 220"));
        settings.setValue(QStringLiteral("Gloves/com1/Pitch"), QStringLiteral("60 120 200"));
        settings.sync();
        if (!vantrel)
            vantrel = std::make_unique<RunningVantrel>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        vantrel->process.setProcessEnvironment(environment);
        return vantrel->start(QStringList{"--com1", glove->path} + arguments);
    }
    void hold(const QByteArray &line, int ms)
    {
        glove->process.write(line);
        QTest::qWait(ms);
    }
    void pressIn(WId window, const char *keys)
    {
        xdotool({"windowfocus", "--sync", QString::number(window)});
        QTest::qWait(200); // the program learns of its focus a moment later
        xdotool({"key", keys});
    }

    // Whether the status bar shows the text as a label of its own draws it.
    bool statusShows(const QString &text)
    {
        QStatusBar *bar = vantrel->layout.StatusBar1;
        QLabel label(text, bar);
        label.adjustSize();
        const QImage drawn = label.grab().toImage();
        const QColor background = drawn.pixelColor(0, 0);
        QRect ink;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixelColor(x, y) != background)
                    ink |= QRect(x, y, 1, 1);
        const QImage word = drawn.copy(ink);
        const QRect area(bar->mapTo(vantrel->layout.centralWidget(), QPoint(0, 0)) +
                             QPoint(0, vantrel->menuHeight),
                         bar->size());
        const QImage shown = grab(vantrel->window, area).convertToFormat(word.format());
        for (int y = 0; y + word.height() <= shown.height(); ++y)
            for (int x = 0; x + word.width() <= shown.width(); ++x)
                if (shown.copy(x, y, word.width(), word.height()) == word)
                    return true;
        return false;
    }

private slots:
    void init() { QVERIFY(config.isValid()); }
    void cleanup()
    {
        vantrel.reset();
        glove.reset();
    }

    void handShapesShownAndSentOnceEach()
    {
        OscDump oscdump;
        QVERIFY(oscdump.isListening());

        glove = std::make_unique<SimulatedGlove>(QStringList{"--poses"});
        hold(hand(Fist), 0);
        QVERIFY(start({"--osc", oscdump.target()}));
        FrmFlex &layout = vantrel->layout;
        vantrel->chooseFromMenu(layout.mnuRecognition, layout.mnuRecognitionGestures);
        const auto dialog = waitForWindow(QStringLiteral("Set Gestures"));
        QVERIFY(dialog);
        QVERIFY(!statusShows(QStringLiteral("Fist")));
        pressIn(*dialog, "alt+r");
        pressIn(*dialog, "Return");
        QTRY_VERIFY(statusShows(QStringLiteral("Fist")));
        hold(hand(Point), 0);
        QTRY_VERIFY(statusShows(QStringLiteral("Point")));
        // Ten samples of Victory, 47 ms at the line's rate, on the way to an open hand.
        QByteArray flick;
        for (int i = 0; i < 10; ++i)
            flick += "once " + hand(Victory);
        hold(flick + hand(Open), 0);
        QTRY_VERIFY(statusShows(QStringLiteral("Open hand")));
        QVERIFY(!statusShows(QStringLiteral("Point")));
        oscdump.stop();

        QStringList sent;
        for (const QByteArray &line : oscdump.received.split('\n'))
            if (line.contains("/vantrel/gesture"))
                sent << QString::fromUtf8(line.mid(line.indexOf(" s ") + 3)).trimmed();
        QCOMPARE(sent, (QStringList{"\"Fist\"", "\"Point\"", "\"Open hand\""}));
    }

    void gloveMovesAndClicksThePointer()
    {
        ClickTarget target;
        target.setWindowTitle(QStringLiteral("Click target"));
        target.setGeometry(700, 600, 60, 60);
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));

        glove = std::make_unique<SimulatedGlove>(QStringList{"--poses"});
        hold(hand(Open), 0);
        QVERIFY(start());
        FrmFlex &layout = vantrel->layout;
        vantrel->chooseFromMenu(layout.mnuCalibration, layout.mnuCalibrationMouse);
        const auto dialog = waitForWindow(QStringLiteral("Mouse"));
        QVERIFY(dialog);
        pressIn(*dialog, "alt+m");
        pressIn(*dialog, "Escape");
        QTRY_VERIFY(!windowShown(QStringLiteral("Mouse")));

        // At rest the pointer stays where it is put.
        xdotool({"mousemove", "300", "300"});
        QTest::qWait(500);
        QCOMPARE(pointer(), QPoint(300, 300));
        // Tilted right, it goes right; tilted forward (the hand figure goes up), it goes up.
        hold(hand(Open, 220), 400);
        hold(hand(Open), 200);
        const QPoint right = pointer();
        QVERIFY2(right.x() > 350 && right.y() == 300, qPrintable(xdotool({"getmouselocation"})));
        hold(hand(Open, 100, 60), 400);
        hold(hand(Open), 200);
        const QPoint up = pointer();
        QVERIFY2(up.y() < 250 && up.x() == right.x(), qPrintable(xdotool({"getmouselocation"})));

        // Paused and resumed with the keyboard alone, then with the glove alone.
        const auto movesRight = [this] {
            const QPoint before = pointer();
            hold(hand(Open, 220), 300);
            hold(hand(Open), 200);
            return pointer().x() > before.x();
        };
        xdotool({"key", "ctrl+alt+p"});
        QVERIFY(!movesRight());
        xdotool({"key", "ctrl+alt+p"});
        QVERIFY(movesRight());
        hold(hand(Point), 1300);
        QVERIFY(!movesRight());
        hold(hand(Point), 1300);
        QVERIFY(movesRight());

        // The index bent and straightened clicks; bent again and unplugged, it lets go.
        xdotool({"mousemove", "730", "630"});
        hold(hand(IndexBent), 300);
        QCOMPARE(target.presses, 1);
        hold(hand(Open), 300);
        QCOMPARE(target.releases, 1);
        hold(hand(IndexBent), 300);
        QCOMPARE(target.presses, 2);
        QCOMPARE(target.releases, 1);
        glove.reset();
        QTRY_COMPARE_WITH_TIMEOUT(target.releases, 2, 2000);
        QVERIFY(vantrel->isRunning());
    }
};

int main(int argc, char *argv[])
{
    return XSession::run<TestHandUse>(argc, argv);
}

#include "tst_handuse.moc"
