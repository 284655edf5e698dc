// The real program in a real X server, driven as a person would. Two simulated gloves play
// ComPort 1 (a waving hand) and ComPort 2 (a hand held still).
#include "xsession.h"

#include <QMenu>
#include <memory>

using namespace XSession;

class TestEndToEnd : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedGlove> com1;
    std::unique_ptr<SimulatedGlove> com2;
    std::unique_ptr<RunningVantrel> vantrel;

    void verifyEndedCleanly(SimulatedGlove &openGlove)
    {
        QProcess &program = vantrel->process;
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(!errors.contains(QLatin1String("rror")), qPrintable(errors));
        // The glove whose port was open saw its line closed.
        QTRY_VERIFY(openGlove.said().contains(QLatin1String("the line was closed")));
    }

private slots:
    void init()
    {
        com1 = std::make_unique<SimulatedGlove>("wave");
        com2 = std::make_unique<SimulatedGlove>("static");
        QVERIFY(!com1->path.isEmpty() && !com2->path.isEmpty());
        vantrel = std::make_unique<RunningVantrel>();
        QVERIFY(vantrel->start({"--com1", com1->path, "--com2", com2->path}));
        QTRY_VERIFY(com1->said().contains(QLatin1String("the line was opened")));
    }
    void cleanup()
    {
        vantrel.reset();
        com1.reset();
        com2.reset();
    }

    void followsTheGloveAndTheChosenPortThenCtrlX()
    {
        QVERIFY(vantrel->readingsChanging());

        QVERIFY(vantrel->choosePort(2));
        QTRY_VERIFY(com2->said().contains(QLatin1String("the line was opened")));
        QTRY_VERIFY(com1->said().contains(QLatin1String("the line was closed")));
        QTRY_VERIFY(!vantrel->readingsChanging());
        QVERIFY(vantrel->showsStillHand());
        QVERIFY(vantrel->readoutInk() > 0);
        QVERIFY(!com2->said().contains(QLatin1String("the line was closed"))); // OK kept it

        for (const char *key : {"Return", "Escape"}) {
            vantrel->chooseFromMenu(vantrel->layout.mnuAbout, vantrel->layout.mnuAboutVantrel);
            QVERIFY(waitForWindow("About"));
            QTest::qWait(200);
            xdotool({"key", key});
            QTRY_VERIFY2(!windowShown("About"), key);
        }

        xdotool({"windowfocus", "--sync", QString::number(vantrel->window)});
        xdotool({"key", "ctrl+x"});
        verifyEndedCleanly(*com2);
    }

    void exitButtonEnds()
    {
        vantrel->clickExit();
        verifyEndedCleanly(*com1);
    }

    void aCloseRequestEnds()
    {
        requestClose(vantrel->window);
        verifyEndedCleanly(*com1);
    }
};

int main(int argc, char *argv[])
{
    return XSession::run<TestEndToEnd>(argc, argv);
}

#include "tst_endtoend.moc"
