#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
constexpr int UsageError = 2;
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a data glove's readings live, read from a serial line."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    const CommandLine defaults;
    const QCommandLineOption com1(
        QStringLiteral("com1"),
        QStringLiteral("The serial device of ComPort 1 (default %1).").arg(defaults.devices.com1),
        QStringLiteral("device"));
    const QCommandLineOption com2(
        QStringLiteral("com2"),
        QStringLiteral("The serial device of ComPort 2 (default %1).").arg(defaults.devices.com2),
        QStringLiteral("device"));
    parser.addOptions({help, version, com1, com2});

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
    if (parser.isSet(help)) {
        result.action = ShowHelp;
        result.message = usage;
        return result;
    }
    if (parser.isSet(version)) {
        result.action = ShowVersion;
        result.message = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                       QCoreApplication::applicationVersion());
        return result;
    }
    if (parser.isSet(com1))
        result.devices.com1 = parser.value(com1);
    if (parser.isSet(com2))
        result.devices.com2 = parser.value(com2);
    return result;
}
