#include "appicon.h"
#include "commandline.h"
#include "frmflex.h"
#include "instances.h"
#include "look.h"
#include "platform.h"
#include "sampleroute.h"
#include "shutdown.h"
#include "version.h"

#include <QApplication>
#include <QLoggingCategory>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION_TEXT));
    useStartingConsole();

    // Read before any window system is reached, so that --help works anywhere.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = CommandLine::parse(arguments);
    if (commandLine.action == CommandLine::ListPorts) {
        QCoreApplication listing(argc, argv);
        std::fputs(qPrintable(portListing(commandLine.portDevices())), stdout);
        return 0;
    }
    if (commandLine.action != CommandLine::Run) {
        std::fputs(qPrintable(commandLine.message),
                   commandLine.action == CommandLine::Fail ? stderr : stdout);
        return commandLine.exitStatus;
    }

    QString error;
    if (!canShowWindows(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    if (commandLine.verbose)
        QLoggingCategory::setFilterRules(
            QStringLiteral("vantrel.link.info=true\nvantrel.sinks.info=true"));
    // The display is reached before a recording's file is made: a start that fails leaves
    // nothing behind.
    QApplication app(argc, argv);
    if (!startSampleSinks(commandLine, &error)) {
        std::fprintf(stderr, "Vantrel: %s\n", qPrintable(error));
        return 2;
    }
    setLastStep(finishSampleSinks);

    // The Exit sequence is the only way out.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon::icon());
    QGuiApplication::setDesktopFileName(QStringLiteral("vantrel"));
    Look::applyToApplication();
    setConfiguredPortDevices(commandLine.portDevices());

    frmFlex()->show();
    frmFlex()->showLogging();
    // Being told to end (a signal, the console closing, the session ending) runs the Exit
    // sequence, which completes the recording.
    runOnEndRequests([] { frmFlex()->cmdExit_Click(); });
    return app.exec();
}
