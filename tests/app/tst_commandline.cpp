// The command line: the parser itself, and the real program started with good and bad options.
#include "commandline.h"
#include "pseudoterminal.h"
#include "scripteddevices.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runProgram(const QStringList &arguments)
{
    QProcess program;
    program.start(QStringLiteral(VANTREL_BINARY), arguments);
    program.waitForFinished(10000);
    return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.00"));
    }

    void takesTheDevicesOfBothPorts()
    {
        // Without options both ports are found among the devices present.
        CommandLine plain = CommandLine::parse({"Vantrel"});
        QCOMPARE(plain.action, CommandLine::Run);
        QVERIFY(!plain.verbose);
        QVERIFY(plain.portDevices().named(1).isEmpty());
        QVERIFY(plain.portDevices().named(2).isEmpty());

        CommandLine both = CommandLine::parse(
            {"Vantrel", "--com1", "/dev/ttyUSB0", "--com2=/dev/ttyACM1", "--verbose"});
        QCOMPARE(both.action, CommandLine::Run);
        QVERIFY(both.verbose);
        QCOMPARE(both.portDevices().named(1), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(both.portDevices().named(2), QStringLiteral("/dev/ttyACM1"));

        // A device that does not exist is no error here: the port waits for it.
        CommandLine missing = CommandLine::parse({"Vantrel", "--com2", "/dev/nothing"});
        QCOMPARE(missing.action, CommandLine::Run);
        QVERIFY(missing.portDevices().named(1).isEmpty());
        QCOMPARE(missing.portDevices().named(2), QStringLiteral("/dev/nothing"));
    }

    void refusesWhatItDoesNotKnow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option 'bogus'";
        QTest::newRow("missing value") << QStringList{"--com1"} << "Missing value after '--com1'";
        QTest::newRow("stray argument") << QStringList{"/dev/ttyUSB0"} << "unexpected argument";
    }
    void refusesWhatItDoesNotKnow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        const CommandLine parsed = CommandLine::parse(QStringList{"Vantrel"} + arguments);
        QCOMPARE(parsed.action, CommandLine::Fail);
        QCOMPARE(parsed.exitStatus, 2);
        QVERIFY2(parsed.message.contains(complaint), qPrintable(parsed.message));

        // The program itself says so on stderr, with the usage, before any window.
        const Run run = runProgram(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(complaint), qPrintable(run.err));
        QVERIFY(run.err.contains(QLatin1String("Usage: Vantrel [options]")));
        QVERIFY(run.err.contains(QLatin1String("--com1 <device>")));
    }

    void answersHelpAndVersion()
    {
        const Run version = runProgram({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("Vantrel 1.00\n"));
        QVERIFY(version.err.isEmpty());

        const Run help = runProgram({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(QLatin1String("Usage: Vantrel [options]")));
        QVERIFY(help.out.contains(QLatin1String("--com2 <device>")));
        QVERIFY(!help.out.contains(QLatin1String("help-all")));
    }

    void listsThePortsForAPerson()
    {
        auto listPtr = std::make_shared<ScriptedDevices>();
        ScriptedDevices &list = *listPtr;
        auto a = usbAdapter("/dev/ttyUSB0", 0x0403, 0x6001, "A12", "1-2");
        a.description = QStringLiteral("FT232R USB UART");
        a.manufacturer = QStringLiteral("FTDI");
        a.stableLink = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12-if00-port0");
        list.devices = {builtInPort("/dev/ttyS0"), a};
        const QString text = portListing(PortDevices(listPtr));
        QCOMPARE(text,
                 QStringLiteral("Serial devices found:\n"
                                "  /dev/ttyUSB0 (FT232R USB UART) [FTDI, USB 0403:6001, serial "
                                "number A12]\n"
                                "      /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12-if00-port0\n"
                                "  /dev/ttyS0 [built-in]\n"
                                "ComPort 1: /dev/ttyUSB0 (FT232R USB UART)\n"
                                "ComPort 2: /dev/ttyS0\n"));

        list.devices.clear();
        QVERIFY(portListing(PortDevices(listPtr))
                    .startsWith(QLatin1String("No serial devices found.\nComPort 1: no device")));
    }

    void needsNoDisplayButToShowItsWindows()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        const auto runHeadless = [&](const QStringList &arguments) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(VANTREL_BINARY), arguments);
            program.waitForFinished(10000);
            return Run{program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                       QString::fromLocal8Bit(program.readAllStandardOutput()),
                       QString::fromLocal8Bit(program.readAllStandardError())};
        };

        const Run listing = runHeadless({"--list-ports", "--com2", "/dev/vantrel-missing"});
        QCOMPARE(listing.exitCode, 0);
        QVERIFY2(listing.out.contains(QLatin1String("ComPort 1: ")), qPrintable(listing.out));
        QVERIFY2(listing.out.contains(QLatin1String(
                     "ComPort 2: /dev/vantrel-missing: not there now, waits for it\n")),
                 qPrintable(listing.out));
        QCOMPARE(runHeadless({"--version"}).exitCode, 0);
        QCOMPARE(runHeadless({"--help"}).exitCode, 0);

        // The windows themselves: one line that says why and what to do, and status 1, not
        // Qt's abort.
        const Run windows = runHeadless({"--com1", "/dev/vantrel-missing"});
        QCOMPARE(windows.exitCode, 1);
        QVERIFY(windows.out.isEmpty());
        QCOMPARE(windows.err.count(QLatin1Char('\n')), 1);
        QVERIFY2(windows.err.contains(QLatin1String("needs a graphical session")),
                 qPrintable(windows.err));
        QVERIFY(windows.err.contains(QLatin1String("make demo")));
    }

    void startsOnTheGivenDevice()
    {
        PseudoTerminal glove;
        QProcess program;
        program.start(QStringLiteral(VANTREL_BINARY),
                      {"--com1", glove.devicePath(), "--com2", "/dev/vantrel-missing"});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY(glove.isDeviceOpen());
        program.kill();
        program.waitForFinished();
    }

    void runsOnWithAMissingDevice()
    {
        QProcess program;
        program.start(QStringLiteral(VANTREL_BINARY), {"--com1", "/dev/vantrel-missing"});
        QVERIFY(program.waitForStarted());
        QVERIFY(!program.waitForFinished(1000));
        QCOMPARE(program.state(), QProcess::Running);
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(!err.contains(QLatin1String("vantrel-missing")), qPrintable(err));
        program.kill();
        program.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
