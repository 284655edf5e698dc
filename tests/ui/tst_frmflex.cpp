// The main window's layout, menus and sample presentation, on the offscreen platform.
#include "handframe.h"
#include "panelframe.h"
#include "samplepresentation.h"
#include "testlink.h"
#include "twips.h"
#include "uitest.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <thread>

Q_DECLARE_METATYPE(GloveSample)

namespace {

QStringList entryTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text();
    return texts;
}

QStringList readouts()
{
    QStringList texts;
    for (const QLabel *label :
         {frmFlex()->lblRawDataThumb, frmFlex()->lblRawDataIndex, frmFlex()->lblRawDataMiddle,
          frmFlex()->lblRawDataRing, frmFlex()->lblRawDataRoll, frmFlex()->lblRawDataPitch,
          frmFlex()->lblRawDataInput1, frmFlex()->lblRawDataInput2})
        texts << label->text();
    return texts;
}

// The window as it was last flushed to the screen, which the offscreen platform keeps.
QImage onScreen(const QWidget *control)
{
    const QWidget *window = control->window();
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    return shown.copy(QRect(control->mapTo(window, QPoint()), control->size()))
        .convertToFormat(QImage::Format_RGB32);
}

bool showsItsState(QWidget *control)
{
    return onScreen(control) == control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QList<int> barValues()
{
    const FrmFlex *f = frmFlex();
    return {f->prgThumb->value(), f->prgIndex->value(), f->prgMiddle->value(), f->prgRing->value(),
            f->prgPinky->value()};
}

// Counts the paint events a set of widgets receive while it lives.
struct PaintCounter : QObject
{
    int paints = 0;
    explicit PaintCounter(std::initializer_list<QWidget *> widgets)
    {
        for (QWidget *w : widgets)
            w->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestFrmFlex : public QObject
{
    Q_OBJECT

    PseudoTerminal com1;
    PseudoTerminal com2;
    ExitRecord exits;

private slots:
    void initTestCase()
    {
        startApplication(com1, com2, exits);
        QVERIFY(QTest::qWaitForWindowExposed(frmFlex()));
    }
    void cleanup()
    {
        QCOMPARE(strayWindows(), QStringList());
        QCOMPARE(exits.calls, 0);
    }

    // Runs first: nothing has been presented yet.
    void startsEmptyOnComPort1()
    {
        QCOMPARE(readouts(), QStringList(8, QString()));
        QCOMPARE(barValues(), QList<int>(5, 0));
        QCOMPARE(frmFlex()->fraHand->leftTwips(), 1470.0);
        QCOMPARE(frmFlex()->fraHand->topTwips(), 1365.0);
        QVERIFY(!frmFlex()->mnuOptionsFilter->isChecked());
        QCOMPARE(frmFlex()->windowTitle(), QStringLiteral("Vantrel Software"));
        QCOMPARE(frmFlex()->StatusBar1->findChild<QLabel *>()->text(),
                 QStringLiteral("Vantrel Version 0.1"));

        // The port settings window exists, hidden, with COM1 chosen and open.
        QVERIFY(!frmComPort()->isVisible());
        QVERIFY(frmComPort()->optComm1->isChecked());
        QVERIFY(!frmComPort()->optComm2->isChecked());
        QVERIFY(frmComPort()->comm().PortOpen());
        QCOMPARE(frmComPort()->comm().CommPort(), 1);
        QVERIFY(com1.isDeviceOpen());
    }

    void placesEveryControlOnTheTwipsGrid_data()
    {
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("ToolBar1") << QRect(0, 0, 584, 28);
        QTest::newRow("fraFlex") << QRect(21, 42, 241, 209);
        QTest::newRow("fraAccel") << QRect(315, 42, 241, 209);
        QTest::newRow("fraRawData") << QRect(21, 273, 400, 78);
        QTest::newRow("cmdExit") << QRect(448, 315, 97, 33);
        QTest::newRow("StatusBar1") << QRect(0, 366, 584, 20);
        QTest::newRow("prgThumb") << QRect(40, 88, 25, 89);
        QTest::newRow("prgIndex") << QRect(72, 56, 25, 121);
        QTest::newRow("prgMiddle") << QRect(104, 24, 25, 153);
        QTest::newRow("prgRing") << QRect(136, 48, 25, 129);
        QTest::newRow("prgPinky") << QRect(168, 72, 25, 105);
        QTest::newRow("fraHand") << QRect(98, 91, 45, 40);
        QTest::newRow("Shape1") << QRect(14, 3, 5, 17);
        QTest::newRow("Shape2") << QRect(20, 3, 5, 17);
        QTest::newRow("Shape3") << QRect(26, 3, 5, 17);
        QTest::newRow("Shape4") << QRect(32, 3, 5, 17);
        QTest::newRow("shpPalm") << QRect(14, 19, 23, 17);
        QTest::newRow("Shape5") << QRect(2, 25, 13, 7);
        QTest::newRow("Label1") << QRect(7, 21, 36, 15);
        QTest::newRow("lblRawDataThumb") << QRect(7, 42, 36, 22);
        QTest::newRow("Label2") << QRect(56, 21, 29, 15);
        QTest::newRow("lblRawDataIndex") << QRect(56, 42, 36, 22);
        QTest::newRow("label3") << QRect(105, 21, 36, 15);
        QTest::newRow("lblRawDataMiddle") << QRect(105, 42, 36, 22);
        QTest::newRow("Label4") << QRect(154, 21, 29, 15);
        QTest::newRow("lblRawDataRing") << QRect(154, 42, 36, 22);
        QTest::newRow("Label5") << QRect(203, 21, 29, 15);
        QTest::newRow("lblRawDataRoll") << QRect(203, 42, 36, 22);
        QTest::newRow("Label6") << QRect(252, 21, 36, 15);
        QTest::newRow("lblRawDataPitch") << QRect(252, 42, 36, 22);
        QTest::newRow("Label7") << QRect(301, 21, 36, 15);
        QTest::newRow("lblRawDataInput1") << QRect(301, 42, 36, 22);
        QTest::newRow("Label8") << QRect(350, 21, 36, 15);
        QTest::newRow("lblRawDataInput2") << QRect(350, 42, 36, 22);
    }
    void placesEveryControlOnTheTwipsGrid()
    {
        QFETCH(QRect, pixels);
        const QWidget *control = frmFlex()->findChild<QWidget *>(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(control->geometry(), pixels);
    }

    void drawsTheWindowAsLaidOut()
    {
        const FrmFlex *f = frmFlex();
        QCOMPARE(f->centralWidget()->size(), QSize(584, 386));
        QCOMPARE(f->centralWidget()->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(f->cmdExit->text(), QStringLiteral("Exit"));
        QCOMPARE(f->cmdExit->palette().color(QPalette::Button), QColor(255, 255, 0));
        QVERIFY(f->ToolBar1->actions().isEmpty());

        for (const QGroupBox *frame : {f->fraFlex, f->fraAccel, f->fraRawData}) {
            const QFontInfo caption(frame->font());
            QVERIFY2(caption.fixedPitch(), qPrintable(caption.family()));
            QVERIFY(caption.bold());
            QCOMPARE(frame->palette().color(QPalette::Window), QColor(128, 128, 128));
        }
        QCOMPARE(f->fraFlex->title(), QStringLiteral("Flex Sensors"));
        QCOMPARE(f->fraAccel->title(), QStringLiteral("Pitch/Roll"));
        QCOMPARE(f->fraRawData->title(), QStringLiteral("Raw Data"));
        QVERIFY(!QFontInfo(f->lblRawDataThumb->font()).fixedPitch());

        const QStringList captions = {"Thumb", "Index", "Middle",  "Ring",
                                      "Roll",  "Pitch", "Input 1", "Input 2"};
        for (int i = 0; i < 8; ++i) {
            const auto *caption = f->fraRawData->findChild<QLabel *>(
                i == 2 ? QStringLiteral("label3") : QStringLiteral("Label%1").arg(i + 1));
            QCOMPARE(caption->text(), captions[i]);
            QCOMPARE(caption->alignment(), Qt::AlignCenter);
        }
        QCOMPARE(f->lblRawDataInput2->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(f->lblRawDataInput2->frameShape(), QFrame::Box);

        for (const QProgressBar *bar :
             {f->prgThumb, f->prgIndex, f->prgMiddle, f->prgRing, f->prgPinky}) {
            QCOMPARE(bar->orientation(), Qt::Vertical);
            QVERIFY(!bar->invertedAppearance()); // fills from the bottom up
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), 256);
            QCOMPARE(bar->geometry().bottom() + 1, twips(2655));
        }

        for (const char *name : {"Shape1", "Shape2", "Shape3", "Shape4", "shpPalm", "Shape5"}) {
            const auto *shape = f->fraHand->findChild<HandShape *>(QLatin1String(name));
            QVERIFY(shape);
            QCOMPARE(shape->fillColour(), QColor(255, 224, 192));
        }
        QCOMPARE(f->fraHand->findChild<HandShape *>("Shape1")->kind(), HandShape::Rectangle);
        QCOMPARE(f->fraHand->findChild<HandShape *>("shpPalm")->kind(),
                 HandShape::RoundedRectangle);
    }

    void framesDrawAsTheStylesGroupBox()
    {
        // The frames repaint parts of themselves from a picture of themselves; a part must look
        // as the style draws a group box, also after the frame's size or font changed.
        QWidget window;
        PanelFrame panel(QStringLiteral("Pitch/Roll"), &window);
        QGroupBox plain(QStringLiteral("Pitch/Roll"), &window);
        for (QGroupBox *frame : {static_cast<QGroupBox *>(&panel), &plain}) {
            frame->setFont(Look::frameCaptionFont());
            Look::setBackground(frame, Look::Grey);
            frame->resize(241, 209);
        }
        // A part repainted shows the pixels the whole frame had: the first time as the style
        // draws it, then from the picture drawn meanwhile.
        const auto looksTheSame = [&] {
            const QImage whole = plain.grab().toImage();
            const QRect corner(0, 0, 60, 30); // the caption and the frame's corner
            const QRect strip(0, panel.height() / 2, panel.width(), 3);
            bool same = panel.grab().toImage() == whole;
            for (int pass = 0; pass < 2; ++pass) {
                same = same && panel.grab(corner).toImage() == whole.copy(corner) &&
                       panel.grab(strip).toImage() == whole.copy(strip);
                QCoreApplication::processEvents();
            }
            return same;
        };
        QVERIFY(looksTheSame());
        panel.resize(300, 120);
        plain.resize(300, 120);
        QVERIFY(looksTheSame());
        panel.setFont(Look::defaultFont());
        plain.setFont(Look::defaultFont());
        QVERIFY(looksTheSame());
    }

    void stretchesOnlyTheToolbarAndStatusBar()
    {
        FrmFlex *f = frmFlex();
        const QSize before = f->size();
        const QRect exitButton = f->cmdExit->geometry();
        const QRect accel = f->fraAccel->geometry();
        f->resize(before + QSize(100, 60));
        QTRY_COMPARE(f->centralWidget()->size(), QSize(684, 446));
        QCOMPARE(f->ToolBar1->geometry(), QRect(0, 0, 684, 28));
        QCOMPARE(f->StatusBar1->geometry(), QRect(0, 426, 684, 20));
        QCOMPARE(f->cmdExit->geometry(), exitButton);
        QCOMPARE(f->fraAccel->geometry(), accel);
        f->resize(before);
        QTRY_COMPARE(f->StatusBar1->geometry(), QRect(0, 366, 584, 20));
    }

    void hasTheFiveMenus()
    {
        const FrmFlex *f = frmFlex();
        QStringList titles;
        for (const QAction *action : f->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList{"File", "Calibration", "Recognition", "Options", "About"}));
        QCOMPARE(entryTexts(f->mnuFile), (QStringList{"S&ave", "E&xit"}));
        QCOMPARE(entryTexts(f->mnuCalibration), (QStringList{"User Cal", "&Mouse", "J&oystick"}));
        QCOMPARE(entryTexts(f->mnuRecognition), (QStringList{"Set Gestures", "Data Logging"}));
        QCOMPARE(entryTexts(f->mnuOptions),
                 (QStringList{"Force &Feedback", "Com &Port", "Filter On/Off"}));
        QCOMPARE(entryTexts(f->mnuAbout), QStringList{"About &Vantrel"});

        QCOMPARE(f->mnuFileSave->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(f->mnuFileExit->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
        QVERIFY(!f->mnuOptionsFFeedback->isEnabled());
        QVERIFY(f->mnuOptionsFilter->isCheckable());
        for (const QMenu *menu :
             {f->mnuFile, f->mnuCalibration, f->mnuRecognition, f->mnuOptions, f->mnuAbout}) {
            for (const QAction *action : menu->actions()) {
                QVERIFY(!action->objectName().isEmpty());
                QCOMPARE(action->isEnabled(), action != f->mnuOptionsFFeedback);
                QCOMPARE(action->isCheckable(), action != f->mnuOptionsFilter ? false : true);
            }
        }
    }

    void entriesWithoutAnActionDoNothing()
    {
        ShowGloveSample({1, 2, 3, 4, 5, 6, 7, 8});
        const QStringList shown = readouts();
        for (const char *name : {"mnuCalibrationJoystick", "mnuOptionsFFeedback"})
            frmFlex()->findChild<QAction *>(QLatin1String(name))->trigger();
        QCoreApplication::processEvents();

        QCOMPARE(readouts(), shown);
        QVERIFY(!frmFlex()->mnuOptionsFilter->isChecked());
        QVERIFY(frmComPort()->comm().PortOpen());
        QVERIFY(frmFlex()->isVisible());
    }

    void filterTogglesItsCheckMarkAndLeavesTheReadoutsRaw()
    {
        QAction *filter = frmFlex()->mnuOptionsFilter;
        ShowGloveSample({9, 9, 9, 9, 9, 9, 9, 9});
        filter->trigger();
        QVERIFY(filter->isChecked());
        ShowGloveSample({10, 20, 30, 40, 50, 60, 70, 80});
        QCOMPARE(readouts(), (QStringList{"10", "20", "30", "40", "50", "60", "70", "80"}));
        QCOMPARE(barValues(), (QList<int>{10, 20, 30, 40, 40}));
        filter->trigger();
        QVERIFY(!filter->isChecked());

        // The handler is the toggle; a choice runs it once.
        frmFlex()->mnuOptionsFilter_Click();
        QVERIFY(filter->isChecked());
        frmFlex()->mnuOptionsFilter_Click();
        QVERIFY(!filter->isChecked());
    }

    void paintingKeepsUpWithABurst()
    {
        // A backlog worked off: 200 samples back to back. Every one is presented, frames
        // are painted at most once per refresh, and the last sample is on screen with the
        // frame that follows it, which is due within a refresh and a quarter.
        FrmFlex *f = frmFlex();
        FramePacer &pacer = f->framePacer();
        const qint64 intervalMs = (pacer.intervalNs() + 999999) / 1000000;
        const qint64 latestMs = (pacer.intervalNs() * 5 / 4 + 999999) / 1000000;
        ShowGloveSample({0, 0, 0, 0, 40, 50, 7, 0}); // the hand stays here
        QTRY_COMPARE(pacer.nextFrameInMs(), -1);
        const int framesBefore = pacer.framesPainted();
        const auto presentedBefore = samplesPresented();
        QElapsedTimer burst;
        burst.start();
        for (int i = 0; i < 200; ++i) {
            const auto v = std::uint8_t(i);
            ShowGloveSample({v, v, v, v, 40, 50, 7, v});
        }
        const qint64 took = burst.elapsed();
        QCOMPARE(samplesPresented() - presentedBefore, 200u);
        QVERIFY(pacer.framesPainted() - framesBefore <= took / intervalMs + 1);
        QVERIFY(pacer.nextFrameInMs() <= latestMs);

        QTRY_VERIFY(showsItsState(f->lblRawDataInput2));
        QVERIFY(showsItsState(f->lblRawDataThumb));
        QVERIFY(showsItsState(f->prgMiddle));
        QCOMPARE(f->lblRawDataInput2->text(), QStringLiteral("199"));

        // The hand alone moving: it too reaches the screen with the next frame.
        ShowGloveSample({199, 199, 199, 199, 90, 80, 7, 199});
        QVERIFY(pacer.nextFrameInMs() <= latestMs);
        QTRY_COMPARE(f->fraHand->pos(), f->fraHand->placement());
        QVERIFY(showsItsState(f->fraAccel));
    }

    void aDueFramePaintsWithTheNextSample()
    {
        // A frame put off is painted as the first sample after its interval began is written,
        // in the same pass, not by its timer later; that frame shows the sample.
        FrmFlex *f = frmFlex();
        FramePacer &pacer = f->framePacer();
        ShowGloveSample({30, 30, 30, 30, 40, 50, 7, 30});
        QTRY_COMPARE(pacer.nextFrameInMs(), -1);
        // That frame may have been painted a moment ago.
        std::this_thread::sleep_for(std::chrono::nanoseconds(pacer.intervalNs()));
        int frames = pacer.framesPainted();
        ShowGloveSample({31, 31, 31, 31, 40, 50, 7, 31}); // long after that frame: painted now
        QCOMPARE(pacer.framesPainted(), frames + 1);
        ShowGloveSample({32, 32, 32, 32, 40, 50, 7, 32}); // too soon after this one
        frames = pacer.framesPainted();
        QVERIFY(pacer.nextFrameInMs() >= 0);
        std::this_thread::sleep_for(std::chrono::nanoseconds(pacer.intervalNs()));
        QCOMPARE(pacer.framesPainted(), frames); // nothing ran meanwhile
        ShowGloveSample({33, 33, 33, 33, 40, 50, 7, 33});
        QCOMPARE(pacer.framesPainted(), frames + 1);
        QCOMPARE(pacer.nextFrameInMs(), -1);
        QVERIFY(showsItsState(f->lblRawDataInput2));
        QVERIFY(showsItsState(f->prgThumb));
        QCOMPARE(f->lblRawDataInput2->text(), QStringLiteral("33"));
    }

    void aFrameAfterABurstShowsTheLastSampleAlone()
    {
        // Samples worked off back to back leave the window as the last of them presented by
        // itself: no readout, bar or hand keeps a trace of one before it.
        FrmFlex *f = frmFlex();
        const GloveSample last{201, 17, 99, 140, 77, 66, 3, 250};
        // The screen once no frame waits; an empty picture if one still waits.
        const auto settled = [f] {
            return QTest::qWaitFor([f] { return f->framePacer().nextFrameInMs() == -1; })
                       ? onScreen(f->centralWidget())
                       : QImage();
        };
        ShowGloveSample({0, 0, 0, 0, 128, 128, 0, 0});
        settled();
        ShowGloveSample(last);
        const QImage alone = settled();
        QVERIFY(!alone.isNull());
        for (int i = 0; i < 300; ++i) {
            const auto v = std::uint8_t(i * 37);
            ShowGloveSample({v, std::uint8_t(255 - v), std::uint8_t(v / 2), v, std::uint8_t(v / 3),
                             std::uint8_t(200 - v / 2), v, std::uint8_t(i)});
        }
        ShowGloveSample(last);
        QCOMPARE(settled(), alone);

        // Nor does one presented while the window was hidden and painted as it was shown,
        // before any frame.
        f->hide();
        ShowGloveSample({0, 255, 0, 255, 128, 128, 1, 1});
        f->framePacer().hold(true);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        ShowGloveSample(last);
        QCOMPARE(settled(), alone);
    }

    void assistiveTechnologyReadsTheValuesShown()
    {
        // Each readout and bar has a name, and the value it shows follows the samples: the
        // readouts' at once, the bars' with the frame that shows them (whatever calibration
        // is in effect).
        FrmFlex *f = frmFlex();
        const auto valueOf = [](QWidget *control) {
            return QAccessible::queryAccessibleInterface(control)->valueInterface()->currentValue();
        };
        const auto textOf = [](QWidget *control, QAccessible::Text kind) {
            return QAccessible::queryAccessibleInterface(control)->text(kind);
        };
        QCOMPARE(textOf(f->lblRawDataThumb, QAccessible::Name), QStringLiteral("Thumb"));
        QCOMPARE(textOf(f->lblRawDataInput2, QAccessible::Name), QStringLiteral("Input 2"));
        QCOMPARE(textOf(f->prgPinky, QAccessible::Name), QStringLiteral("Little finger"));
        for (int i = 0; i < 100; ++i) {
            const auto v = std::uint8_t(i);
            ShowGloveSample({v, 10, v, std::uint8_t(200 - v), 40, 50, 7, std::uint8_t(v + 100)});
        }
        QCOMPARE(valueOf(f->lblRawDataThumb), QVariant(99));
        QCOMPARE(textOf(f->lblRawDataInput2, QAccessible::Value), QStringLiteral("199"));
        for (FingerBar *bar : {f->prgThumb, f->prgIndex, f->prgMiddle, f->prgRing, f->prgPinky})
            QTRY_COMPARE(valueOf(bar).toInt(), bar->value());
        QCOMPARE(f->prgPinky->value(), f->prgRing->value());
    }

    void stillValuesPaintNothing()
    {
        // Nothing changes, nothing is painted, and no timer waits.
        FrmFlex *f = frmFlex();
        ShowGloveSample({5, 6, 7, 8, 9, 10, 11, 12});
        QTRY_COMPARE(f->framePacer().nextFrameInMs(), -1);
        const int frames = f->framePacer().framesPainted();
        for (int i = 0; i < 20; ++i)
            ShowGloveSample({5, 6, 7, 8, 9, 10, 11, 12});
        QCOMPARE(f->framePacer().nextFrameInMs(), -1);
        QTest::qWait(3 * f->framePacer().intervalNs() / 1000000);
        QCOMPARE(f->framePacer().framesPainted(), frames);
        QVERIFY(showsItsState(f->lblRawDataThumb));
    }

    void aNewValueRepaintsItsControlAlone()
    {
        // Readouts and bars paint every pixel of themselves: a new value paints the control
        // that shows it, once per frame, and nothing behind it.
        FrmFlex *f = frmFlex();
        ShowGloveSample({10, 10, 10, 10, 40, 50, 7, 10}); // the hand stays here
        QTRY_COMPARE(f->framePacer().nextFrameInMs(), -1);
        PaintCounter behind({f, f->centralWidget(), f->fraFlex, f->fraRawData, f->fraAccel});
        PaintCounter changed({f->prgThumb, f->prgMiddle, f->lblRawDataThumb, f->lblRawDataInput2});
        PaintCounter unchanged({f->prgIndex, f->lblRawDataIndex, f->lblRawDataRoll});
        const int frames = f->framePacer().framesPainted();
        for (int i = 11; i < 20; ++i) {
            const auto v = std::uint8_t(i);
            ShowGloveSample({v, 10, v, 10, 40, 50, 7, v});
        }
        QTRY_COMPARE(f->framePacer().nextFrameInMs(), -1);
        const int framesPainted = f->framePacer().framesPainted() - frames;
        QVERIFY(framesPainted >= 1);
        QCOMPARE(behind.paints, 0);
        QVERIFY(changed.paints >= 4 && changed.paints <= 4 * framesPainted);
        QCOMPARE(unchanged.paints, 0);
        QVERIFY(showsItsState(f->fraFlex));
        QVERIFY(showsItsState(f->fraRawData));
    }

    void readoutsLookAsPlainLabelsDo()
    {
        // The readouts draw their text their own, faster way; on screen they match a label.
        QLabel *readout = frmFlex()->lblRawDataPitch;
        QLabel plain(readout->parentWidget());
        plain.setGeometry(readout->geometry());
        plain.setFont(readout->font());
        plain.setPalette(readout->palette());
        plain.setAutoFillBackground(true);
        plain.setAlignment(Qt::AlignCenter);
        plain.setFrameShape(QFrame::Box);
        for (const char *text : {"", "0", "7", "128", "255"}) {
            readout->setText(QLatin1String(text));
            plain.setText(QLatin1String(text));
            QCOMPARE(readout->grab().toImage(), plain.grab().toImage());
        }
    }

    void barsFillExactlyTheirShare()
    {
        // Value v fills v/256 of the bar's inside, measured on screen to within a pixel, and
        // an empty bar shows no fill at all.
        for (QProgressBar *bar : {frmFlex()->prgMiddle, frmFlex()->prgThumb}) {
            const QColor fill = bar->palette().color(QPalette::Highlight);
            for (int value : {0, 1, 64, 128, 255}) {
                bar->setValue(value);
                const QImage image = bar->grab().toImage();
                int filled = 0;
                for (int y = 0; y < image.height(); ++y)
                    filled += image.pixelColor(image.width() / 2, y) == fill;
                const double exact = (bar->height() - 2) * value / 256.0;
                QVERIFY2(std::abs(filled - exact) <= 1.0,
                         qPrintable(QStringLiteral("%1 at %2: %3 px filled, %4 exact")
                                        .arg(bar->objectName())
                                        .arg(value)
                                        .arg(filled)
                                        .arg(exact)));
                if (value == 0)
                    QCOMPARE(filled, 0);
            }
            bar->setValue(0);
        }
    }

    void barsFollowTheirSizeAndColours()
    {
        // A bar paints from pictures of itself; a new size or new colours show at once.
        QProgressBar *bar = frmFlex()->prgIndex;
        const QSize size = bar->size();
        const QPalette colours = bar->palette();
        bar->setValue(128);
        const auto filledRows = [bar](const QColor &fill) {
            const QImage image = bar->grab().toImage();
            int rows = 0;
            for (int y = 0; y < image.height(); ++y)
                rows += image.pixelColor(image.width() / 2, y) == fill;
            return rows;
        };
        // 128 of 256 fills half the inside, which lies within a one-pixel edge.
        const auto half = [](int height) { return qRound((height - 2) / 2.0); };
        QCOMPARE(filledRows(colours.color(QPalette::Highlight)), half(size.height()));

        QPalette red = colours;
        red.setColor(QPalette::Highlight, Qt::red);
        bar->setPalette(red);
        QCOMPARE(filledRows(Qt::red), half(size.height()));

        bar->resize(size.width(), size.height() / 2);
        QCOMPARE(bar->grab().height(), size.height() / 2);
        QCOMPARE(filledRows(Qt::red), half(size.height() / 2));

        bar->setPalette(colours);
        bar->resize(size);
        QCOMPARE(filledRows(colours.color(QPalette::Highlight)), half(size.height()));
        bar->setValue(0);
    }

    // A sample presented inside the pass over pending events that ends another reaches the
    // shown-sample consumer after it, not before.
    void passesSamplesOnInTheOrderShown()
    {
        static QList<int> passedOn;
        passedOn.clear();
        setShownSampleConsumer(
            [](const GloveSample &sample, const HandPose &) { passedOn << sample.Thumb; });
        QTimer::singleShot(0, [] { ShowGloveSample({2, 0, 0, 0, 0, 0, 0, 0}); });
        ShowGloveSample({1, 0, 0, 0, 0, 0, 0, 0});
        setShownSampleConsumer(nullptr);
        QCOMPARE(passedOn, (QList<int>{1, 2}));
    }

    void presentsASample_data()
    {
        QTest::addColumn<GloveSample>("sample");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("bars");
        QTest::addColumn<QPoint>("handTwips");
        QTest::addColumn<QPoint>("handPixels");
        QTest::newRow("zeros") << GloveSample{} << QStringList(8, "0") << QList<int>(5, 0)
                               << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("all 255") << GloveSample{255, 255, 255, 255, 255, 255, 255, 255}
                                 << QStringList(8, "255") << QList<int>(5, 255)
                                 << QPoint(3060, 2550) << QPoint(204, 170);
        QTest::newRow("middle") << GloveSample{1, 22, 133, 200, 128, 128, 7, 245}
                                << QStringList{"1", "22", "133", "200", "128", "128", "7", "245"}
                                << QList<int>{1, 22, 133, 200, 200} << QPoint(1536, 1280)
                                << QPoint(102, 85);
    }
    void presentsASample()
    {
        QFETCH(GloveSample, sample);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, bars);
        QFETCH(QPoint, handTwips);
        QFETCH(QPoint, handPixels);
        ShowGloveSample(sample);
        QCOMPARE(readouts(), texts);
        QCOMPARE(barValues(), bars);
        QCOMPARE(frmFlex()->fraHand->leftTwips(), double(handTwips.x()));
        QCOMPARE(frmFlex()->fraHand->topTwips(), double(handTwips.y()));
        // On screen the hand moves with the next frame.
        QCOMPARE(frmFlex()->fraHand->placement(), handPixels);
        QTRY_COMPARE(frmFlex()->fraHand->pos(), handPixels);
    }

    void clipsTheHandAtThePanelsEdge()
    {
        ShowGloveSample({0, 0, 0, 0, 255, 255, 0, 0});
        const HandFrame *hand = frmFlex()->fraHand;
        QTRY_COMPARE(hand->pos(), hand->placement()); // it moves with the next frame
        const QRect shown = hand->visibleRegion().boundingRect();
        QCOMPARE(shown.width(), frmFlex()->fraAccel->width() - hand->x());
        QCOMPARE(shown.height(), frmFlex()->fraAccel->height() - hand->y());
        QVERIFY(shown.width() < hand->width());
    }

    void showsWhatArrivesOnTheLine()
    {
        QVERIFY(com1.write(packetBytes({11, 22, 33, 44, 55, 66, 77, 88})));
        QTRY_COMPARE(frmFlex()->lblRawDataInput2->text(), QStringLiteral("88"));
        QCOMPARE(readouts(), (QStringList{"11", "22", "33", "44", "55", "66", "77", "88"}));
        QCOMPARE(frmFlex()->prgPinky->value(), 44);
        QCOMPARE(frmFlex()->fraHand->leftTwips(), 12.0 * 55);
    }
};

QTEST_MAIN(TestFrmFlex)
#include "tst_frmflex.moc"
