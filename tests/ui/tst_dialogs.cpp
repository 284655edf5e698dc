// The port settings window and the About box, on the offscreen platform.
#include "appicon.h"
#include "frmmouse.h"
#include "glovepointer.h"
#include "samplepresentation.h"
#include "testlink.h"
#include "twips.h"
#include "uitest.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>

namespace {

QList<QWidget *> focusChain(QWidget *first, int count)
{
    QList<QWidget *> chain{first};
    while (chain.size() < count)
        chain << chain.last()->nextInFocusChain();
    return chain;
}

// Runs the check once the About box is up, while its modal showing runs.
void whileAboutIsShown(const std::function<void()> &check)
{
    QTimer::singleShot(0, [check] {
        QVERIFY(QTest::qWaitForWindowExposed(frmAbout()));
        check();
    });
}

} // namespace

class TestDialogs : public QObject
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
        frmComPort()->hide();
        QCOMPARE(strayWindows(), QStringList());
        QCOMPARE(exits.calls, 0);
        QCOMPARE(instancesOf<FrmComPort>(), 1);
        QVERIFY(instancesOf<FrmAbout>() <= 1);
    }

    void portSettingsAreLaidOut()
    {
        FrmComPort *dialog = frmComPort();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Com Port Settings"));
        QVERIFY(!dialog->parentWidget());
        QCOMPARE(dialog->size(), QSize(248, 133));
        QCOMPARE(dialog->Label1->geometry(), QRect(42, 7, 162, 36));
        QCOMPARE(dialog->Label1->text(),
                 QStringLiteral("Choose your appropriate Com Port Setting."));
        QVERIFY(dialog->Label1->wordWrap());
        QVERIFY(dialog->Label1->font().bold());
        QCOMPARE(dialog->fraComPort->geometry(), QRect(7, 49, 232, 43));
        QCOMPARE(dialog->optComm1->geometry(), QRect(21, 14, 85, 22));
        QCOMPARE(dialog->optComm2->geometry(), QRect(126, 14, 85, 22));
        QCOMPARE(dialog->optComm1->text(), QStringLiteral("ComPort 1"));
        QCOMPARE(dialog->optComm2->text(), QStringLiteral("ComPort 2"));
        QCOMPARE(dialog->cmdOK->geometry(), QRect(91, 98, 57, 29));
        QVERIFY(!dialog->cmdOK->isDefault() && !dialog->cmdOK->autoDefault());
        QCOMPARE(dialog->comm().objectName(), QStringLiteral("MSComm"));
        QCOMPARE(focusChain(dialog->Label1, 5),
                 (QList<QWidget *>{dialog->Label1, dialog->cmdOK, dialog->fraComPort,
                                   dialog->optComm1, dialog->optComm2}));
    }

    void comPortEntryShowsTheDialogModeless()
    {
        frmFlex()->mnuOptionsComPort->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(frmComPort()));
        QVERIFY(!frmComPort()->isModal());
        QVERIFY(frmComPort()->optComm1->isChecked());

        // Readings go on behind it, and the main window still takes commands.
        com1.write(packetBytes({3, 3, 3, 3, 3, 3, 3, 3}));
        QTRY_COMPARE(frmFlex()->lblRawDataThumb->text(), QStringLiteral("3"));
        frmFlex()->mnuOptionsFilter->trigger();
        QVERIFY(frmFlex()->mnuOptionsFilter->isChecked());
        frmFlex()->mnuOptionsFilter->trigger();

        // Chosen again while shown: the same dialog, the same port.
        frmFlex()->mnuOptionsComPort->trigger();
        QVERIFY(frmComPort()->isVisible());
        QVERIFY(frmComPort()->optComm1->isChecked());
        QCOMPARE(frmComPort()->comm().CommPort(), 1);
    }

    void okHidesWithoutTouchingThePort()
    {
        frmFlex()->mnuOptionsComPort->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(frmComPort()));
        // Half a packet waits: reopening the port would drop it.
        com1.write(QByteArray("\xF5\x01\x02\x03", 4));
        QTRY_COMPARE(frmComPort()->comm().InBufferCount(), 4);
        QTest::mouseClick(frmComPort()->cmdOK, Qt::LeftButton);
        QVERIFY(!frmComPort()->isVisible());
        QCOMPARE(frmComPort()->comm().InBufferCount(), 4);
        QVERIFY(frmComPort()->comm().PortOpen());
        com1.write(QByteArray("\x04\x05\x06\x07\x08", 5));
        QTRY_COMPARE(frmFlex()->lblRawDataInput2->text(), QStringLiteral("8"));

        // Shown again: the selection and the open port are as they were.
        frmFlex()->mnuOptionsComPort->trigger();
        QVERIFY(frmComPort()->optComm1->isChecked());
        QVERIFY(frmComPort()->comm().PortOpen());

        // A close request through the frame hides it in the same way.
        frmComPort()->close();
        QVERIFY(!frmComPort()->isVisible());
        QVERIFY(frmComPort()->comm().PortOpen());
    }

    void choosingAPortReopensTheLinkAtOnce()
    {
        frmFlex()->mnuOptionsComPort->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(frmComPort()));
        QTest::mouseClick(frmComPort()->optComm2, Qt::LeftButton);
        QVERIFY(frmComPort()->optComm2->isChecked());
        QCOMPARE(frmComPort()->comm().CommPort(), 2);
        QTRY_VERIFY(!com1.isDeviceOpen());
        QVERIFY(com2.isDeviceOpen());

        com1.write(packetBytes({1, 1, 1, 1, 1, 1, 1, 1}));
        com2.write(packetBytes({2, 2, 2, 2, 2, 2, 2, 2}));
        QTRY_COMPARE(frmFlex()->lblRawDataThumb->text(), QStringLiteral("2"));

        QTest::mouseClick(frmComPort()->cmdOK, Qt::LeftButton);
        QVERIFY(com2.isDeviceOpen());

        frmFlex()->mnuOptionsComPort->trigger();
        QTest::mouseClick(frmComPort()->optComm1, Qt::LeftButton);
        QTRY_VERIFY(!com2.isDeviceOpen());
        QVERIFY(com1.isDeviceOpen());
    }

    void aPortThatCannotOpenFreezesTheReadings()
    {
        MSComm &comm = frmComPort()->comm();
        const PortDevices working = comm.portDevices();
        comm.setPortDevices({working.named(1), QStringLiteral("/dev/vantrel-missing")});
        frmFlex()->mnuOptionsComPort->trigger();
        QTest::mouseClick(frmComPort()->optComm2, Qt::LeftButton);
        QVERIFY(frmComPort()->optComm2->isChecked());
        QVERIFY(!comm.PortOpen());
        QTRY_VERIFY(!com1.isDeviceOpen());
        QVERIFY(strayWindows() == QStringList{"frmComPort (FrmComPort)"}); // no message
        // The options' tooltips say what each one stands for, and that the port waits.
        QCOMPARE(frmComPort()->optComm2->toolTip(),
                 QStringLiteral("/dev/vantrel-missing: not there now, waits for it"));
        QCOMPARE(frmComPort()->optComm1->toolTip(), com1.devicePath());

        QTest::mouseClick(frmComPort()->optComm1, Qt::LeftButton);
        QVERIFY(comm.PortOpen());
        QVERIFY(!comm.isWaitingForDevice());
        comm.setPortDevices(working);
    }

    // Where the pointer cannot be moved, the Mouse dialog says why and offers nothing to tick.
    void mouseSaysWhyThePointerCannotMove()
    {
        if (QSysInfo::kernelType() != QLatin1String("linux"))
            QSKIP("A Wayland session is a Linux one; Windows always lets a program move the "
                  "pointer");
        qputenv("WAYLAND_DISPLAY", "wayland-0");
        const auto restore = qScopeGuard([] { qunsetenv("WAYLAND_DISPLAY"); });
        frmFlex()->mnuCalibrationMouse->trigger();
        FrmMouse *dialog = frmMouse();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->chkMove->isEnabled());
        QVERIFY2(dialog->lblState->text().contains(QLatin1String("Wayland")),
                 qPrintable(dialog->lblState->text()));
        dialog->chkMove->click();
        QVERIFY(!glovePointer().isOn());
        dialog->hide();
    }

    void aboutBoxIsLaidOut()
    {
        FrmAbout *about = frmAbout();
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QVERIFY(!about->parentWidget());
        QCOMPARE(about->size(), QSize(382, 163));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QVERIFY(!(about->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(about->picIcon->geometry(), QRect(16, 16, 32, 32));
        QCOMPARE(about->picIcon->pixmap().size(), QSize(32, 32));
        QCOMPARE(about->lblTitle->geometry(), QRect(70, 16, 259, 32));
        QCOMPARE(about->lblTitle->text(), QStringLiteral("Vantrel Software"));
        QCOMPARE(about->lblTitle->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(QFontInfo(about->lblTitle->font()).weight() >= QFont::Bold);
        QCOMPARE(about->lblVersion->geometry(), QRect(70, 52, 259, 15));
        QCOMPARE(about->lblVersion->text(), QStringLiteral("Version 0.1"));
        QCOMPARE(about->lblDescription->geometry(), QRect(70, 75, 259, 22));
        QVERIFY(about->lblDescription->text().endsWith(QLatin1String("2003")));
        QCOMPARE(about->Line1->geometry(), QRect(8, 112, 372, 1));
        QCOMPARE(about->Line1->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(about->cmdOK->geometry(), QRect(283, 128, 84, 23));
        QVERIFY(about->cmdOK->isDefault());
        QCOMPARE(focusChain(about->cmdOK, 5),
                 (QList<QWidget *>{about->cmdOK, about->picIcon, about->lblDescription,
                                   about->lblTitle, about->lblVersion}));
    }

    void iconUsesTheClassicPalettes()
    {
        for (int size : {16, 32}) {
            const QImage image = AppIcon::image(size, AppIcon::SixteenColours);
            QCOMPARE(image.size(), QSize(size, size));
            QCOMPARE(image.colorCount(), 17); // sixteen colours and transparency
        }
        const QImage mono = AppIcon::image(32, AppIcon::TwoColours);
        QCOMPARE(mono.colorCount(), 3);
        QSet<int> used;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                used.insert(mono.pixelIndex(x, y));
        QCOMPARE(used.size(), 3); // black, white and see-through all drawn
    }

    void aboutBoxIsModalAndDismissedLikeOk_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("OK") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("close request") << -1;
    }
    void aboutBoxIsModalAndDismissedLikeOk()
    {
        QFETCH(int, key);
        FrmAbout *const first = frmAbout();
        static std::uint8_t marker = 100; // a new reading for each row
        ++marker;
        bool checked = false;
        whileAboutIsShown([&] {
            // Dismissed however the checks end, so that a failure cannot hang the test.
            const auto dismiss = qScopeGuard([key] {
                if (key == 0)
                    QTest::mouseClick(frmAbout()->cmdOK, Qt::LeftButton);
                else if (key == -1)
                    frmAbout()->close();
                else
                    QTest::keyClick(frmAbout(), Qt::Key(key));
            });
            QCOMPARE(QApplication::activeModalWidget(), frmAbout());
            // The main window takes no input (a click through the window system, where
            // modality applies), and readings go on behind the box.
            const QPushButton *exitButton = frmFlex()->cmdExit;
            QTest::mouseClick(frmFlex()->windowHandle(), Qt::LeftButton, {},
                              exitButton->mapTo(frmFlex(), exitButton->rect().center()));
            QCoreApplication::processEvents();
            QCOMPARE(exits.calls, 0);
            com1.write(packetBytes({marker, 0, 0, 0, 0, 0, 0, 42}));
            QTRY_COMPARE(frmFlex()->lblRawDataThumb->text(), QString::number(marker));
            checked = true;
        });
        frmFlex()->mnuAboutVantrel->trigger(); // returns once the box is hidden
        QVERIFY(checked);
        QVERIFY(!frmAbout()->isVisible());
        QCOMPARE(frmAbout(), first);
        QCOMPARE(frmAbout()->lblTitle->text(), QStringLiteral("Vantrel Software"));
        QVERIFY(frmFlex()->isVisible());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
