#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include "portdevices.h"

#include <QString>
#include <QStringList>

// What the command line asks for. Without options each port is found among the serial
// devices present (see PortDevices).
struct CommandLine
{
    enum Action { Run, ShowHelp, ShowVersion, ListPorts, Fail };

    Action action = Run;
    QString com1; // a device named outright for ComPort 1, or empty
    QString com2;
    bool verbose = false;
    QString record;  // a new file to record every sample to, or empty
    QString osc;     // HOST:PORT to forward every sample to over OSC, or empty
    QString message; // help, version or error text, ready to print
    int exitStatus = 0;

    // arguments[0] is the program itself.
    static CommandLine parse(const QStringList &arguments);

    // The devices the ports stand for, among those the list shows.
    PortDevices
    portDevices(std::shared_ptr<const SerialDeviceList> list = SerialDeviceList::system()) const;
};

// The serial devices present and what each port stands for now, as --list-ports prints them.
QString portListing(const PortDevices &devices);

#endif // COMMANDLINE_H
