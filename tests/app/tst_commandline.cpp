// The command line: the parser itself, and the real program started with good and bad options.
#include "commandline.h"
#include "pseudoterminal.h"

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
        CommandLine plain = CommandLine::parse({"Vantrel"});
        QCOMPARE(plain.action, CommandLine::Run);
        QCOMPARE(plain.devices.com1, PortDevices::platformDefault().com1);
        QCOMPARE(plain.devices.com2, PortDevices::platformDefault().com2);

        CommandLine both =
            CommandLine::parse({"Vantrel", "--com1", "/dev/ttyUSB0", "--com2=/dev/ttyACM1"});
        QCOMPARE(both.action, CommandLine::Run);
        QCOMPARE(both.devices.com1, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(both.devices.com2, QStringLiteral("/dev/ttyACM1"));

        // A device that does not exist is no error here: the port just stays closed.
        CommandLine missing = CommandLine::parse({"Vantrel", "--com2", "/dev/nothing"});
        QCOMPARE(missing.action, CommandLine::Run);
        QCOMPARE(missing.devices.com1, PortDevices::platformDefault().com1);
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
