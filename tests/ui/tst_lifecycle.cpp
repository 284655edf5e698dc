// Start-up, the single instance of each window, and the four ways out, on the offscreen
// platform. The end of the process is replaced by a record of the moment it would come.
#include "testlink.h"
#include "uitest.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

void clickThroughWindowSystem(QWidget *control)
{
    QWidget *window = control->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(window, control->rect().center()));
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT

    PseudoTerminal com1;
    PseudoTerminal com2;
    ExitRecord exits;

    void verifyEndedWithThePortClosed(int expectedCalls)
    {
        QCOMPARE(exits.calls, expectedCalls);
        QVERIFY(!exits.portOpenAtEnd);
        QVERIFY(!exits.deviceOpenAtEnd);
        QVERIFY(frmFlex()->isVisible()); // nothing but the end of the process closes it
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(instancesOf<FrmFlex>(), 0);
        startApplication(com1, com2, exits);
        QVERIFY(QTest::qWaitForWindowExposed(frmFlex()));
        QVERIFY(QTest::qWaitForWindowActive(frmFlex()));
    }
    void init()
    {
        // Each way out closed the port; open it again as a click on the option does.
        if (!frmComPort()->comm().PortOpen())
            frmComPort()->optComm1_Click();
        QVERIFY(frmComPort()->comm().PortOpen());
        exits = ExitRecord{exits.calls};
    }
    void cleanup()
    {
        frmComPort()->hide();
        QCOMPARE(strayWindows(), QStringList());
    }

    void startsWithOneMainWindowAndAHiddenPortWindow()
    {
        QCOMPARE(instancesOf<FrmFlex>(), 1);
        QCOMPARE(instancesOf<FrmComPort>(), 1);
        QCOMPARE(instancesOf<FrmAbout>(), 0); // made only when asked for
        QVERIFY(!frmComPort()->isVisible());
        QVERIFY(com1.isDeviceOpen());
        QVERIFY(!com2.isDeviceOpen());
    }

    void reusesEachWindow()
    {
        FrmComPort *dialog = frmComPort();
        for (int i = 0; i < 3; ++i) {
            frmFlex()->mnuOptionsComPort_Click();
            QCOMPARE(frmComPort(), dialog);
            dialog->cmdOK_Click();
        }
        QCOMPARE(instancesOf<FrmComPort>(), 1);
        QCOMPARE(frmAbout(), frmAbout());
        QCOMPARE(instancesOf<FrmAbout>(), 1);
        QCOMPARE(instancesOf<FrmFlex>(), 1);
    }

    void exitButtonClosesThePortThenEnds()
    {
        clickThroughWindowSystem(frmFlex()->cmdExit);
        verifyEndedWithThePortClosed(1);
    }

    void fileExitEndsTheSameWay()
    {
        frmFlex()->mnuFileExit->trigger();
        verifyEndedWithThePortClosed(2);
    }

    void ctrlXEndsTheSameWay()
    {
        QTest::keyClick(frmFlex()->windowHandle(), Qt::Key_X, Qt::ControlModifier);
        verifyEndedWithThePortClosed(3);
    }

    void aCloseRequestEndsTheSameWay()
    {
        // What the window frame's close control asks for.
        frmFlex()->windowHandle()->close();
        verifyEndedWithThePortClosed(4);
    }

    void endsWithTheDialogShownOrNoPortOpen()
    {
        frmFlex()->mnuOptionsComPort_Click();
        QVERIFY(QTest::qWaitForWindowExposed(frmComPort()));
        frmFlex()->cmdExit_Click();
        verifyEndedWithThePortClosed(5);

        // The port stayed closed after a failed open: the end comes all the same.
        frmComPort()->comm().setPortDevices({QStringLiteral("/dev/vantrel-missing"), {}});
        frmComPort()->optComm1_Click();
        QVERIFY(!frmComPort()->comm().PortOpen());
        frmFlex()->cmdExit_Click();
        verifyEndedWithThePortClosed(6);
        frmComPort()->comm().setPortDevices({com1.devicePath(), com2.devicePath()});
    }
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
