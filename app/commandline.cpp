#include "commandline.h"

#include "oscsender.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
constexpr int UsageError = 2;

const char DefaultRule[] =
    "Without --com1 and --com2, ComPort 1 and ComPort 2 are the first and second serial\n"
    "ports present, USB serial adapters first (--list-ports shows them). Where there is\n"
    "none, the port waits for the next adapter plugged in. A port whose device is unplugged\n"
    "waits for that same device and resumes when it is back.";
} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a data glove's readings live, read from a serial line.\n\n%1")
            .arg(QLatin1String(DefaultRule)));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    const QCommandLineOption com1(
        QStringLiteral("com1"),
        QStringLiteral(
            "The serial device of ComPort 1: any device path, or a COM port (COM5) on Windows."),
        QStringLiteral("device"));
    const QCommandLineOption com2(
        QStringLiteral("com2"),
        QStringLiteral("The serial device of ComPort 2, named as for --com1."),
        QStringLiteral("device"));
    const QCommandLineOption listPorts(
        QStringLiteral("list-ports"),
        QStringLiteral("Lists the serial devices found and what each port stands for."));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Says on stderr when the port opens, fails to open, waits for its "
                       "device, loses it or resumes."));
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Records every sample shown to a new CSV file: a header row, then per "
                       "sample its number, the seconds since the recording began, the time in "
                       "UTC and the eight values. Never overwrites: if the file exists, Vantrel "
                       "ends at once. A failed write is said on stderr, the glove is still shown, "
                       "and the exit status is then 1."),
        QStringLiteral("file"));
    const QCommandLineOption osc(
        QStringLiteral("osc"),
        QStringLiteral("Sends every sample shown over UDP as two OSC messages: %1 with eight "
                       "int32, the raw values in packet order (thumb, index, middle, ring, roll, "
                       "pitch, input 1, input 2), and %2 with six floats from 0 to 1, what the "
                       "bars and the hand show after the calibration and the filter (thumb, "
                       "index, middle, ring, roll, pitch). When hand shapes are recognised, each "
                       "change of the shape held is sent as %3 with its name, or \"\" when "
                       "none is held.")
            .arg(QLatin1String(OscSender::OscAddress), QLatin1String(OscSender::PoseAddress),
                 QLatin1String(OscSender::GestureAddress)),
        QStringLiteral("host:port"));
    parser.addOptions({help, version, com1, com2, listPorts, verbose, record, osc});

    const QString usage = parser.helpText().replace(QLatin1String("<executable_name>"),
                                                    QCoreApplication::applicationName());
    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = Fail;
        result.exitStatus = UsageError;
        result.message = QStringLiteral("%1: %2\n\n%3")
                             .arg(QCoreApplication::applicationName(), parser.errorText(), usage);
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = Fail;
        result.exitStatus = UsageError;
        result.message = QStringLiteral("%1: unexpected argument '%2'\n\n%3")
                             .arg(QCoreApplication::applicationName(),
                                  parser.positionalArguments().constFirst(), usage);
        return result;
    }
    result.com1 = parser.value(com1);
    result.com2 = parser.value(com2);
    result.verbose = parser.isSet(verbose);
    result.record = parser.value(record);
    result.osc = parser.value(osc);
    if (parser.isSet(help)) {
        result.action = ShowHelp;
        result.message = usage;
    } else if (parser.isSet(version)) {
        result.action = ShowVersion;
        result.message = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                       QCoreApplication::applicationVersion());
    } else if (parser.isSet(listPorts)) {
        result.action = ListPorts;
    }
    return result;
}

PortDevices CommandLine::portDevices(std::shared_ptr<const SerialDeviceList> list) const
{
    return PortDevices(com1, com2, std::move(list));
}

QString portListing(const PortDevices &devices)
{
    QString text;
    const QList<SerialDevice> present = devices.present();
    text += present.isEmpty() ? QStringLiteral("No serial devices found.\n")
                              : QStringLiteral("Serial devices found:\n");
    for (const SerialDevice &device : present) {
        QStringList facts;
        if (!device.manufacturer.isEmpty())
            facts << device.manufacturer;
        if (!device.usbIds().isEmpty())
            facts << QStringLiteral("USB %1").arg(device.usbIds());
        if (!device.serialNumber.isEmpty())
            facts << QStringLiteral("serial number %1").arg(device.serialNumber);
        if (!device.usbAdapter)
            facts << QStringLiteral("built-in");
        text += QStringLiteral("  %1").arg(device.label());
        if (!facts.isEmpty())
            text += QStringLiteral(" [%1]").arg(facts.join(QLatin1String(", ")));
        text += QLatin1Char('\n');
        if (!device.stableLink.isEmpty())
            text += QStringLiteral("      %1\n").arg(device.stableLink);
    }
    for (int port : {1, 2})
        text += QStringLiteral("ComPort %1: %2\n").arg(port).arg(devices.describe(port));
    return text;
}
