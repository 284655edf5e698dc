#ifndef UITEST_H
#define UITEST_H

#include "frmabout.h"
#include "frmcomport.h"
#include "frmflex.h"
#include "instances.h"
#include "look.h"
#include "pseudoterminal.h"
#include "shutdown.h"

#include <QApplication>
#include <QTest>

// What the Exit sequence did when it came to end the process.
struct ExitRecord
{
    int calls = 0;
    bool portOpenAtEnd = false;
    bool deviceOpenAtEnd = false;
};

// Starts the application as the program does, on two pseudo-terminals, with the end of the
// process replaced by a record of it.
inline void startApplication(PseudoTerminal &com1, PseudoTerminal &com2, ExitRecord &record)
{
    Look::applyToApplication();
    QApplication::setQuitOnLastWindowClosed(false);
    setConfiguredPortDevices({com1.devicePath(), com2.devicePath()});
    setEndProcessHandler([&record, &com1, &com2] {
        ++record.calls;
        record.portOpenAtEnd = frmComPort()->comm().PortOpen();
        record.deviceOpenAtEnd = com1.isDeviceOpen() || com2.isDeviceOpen();
    });
    frmFlex()->show();
}

// Visible top-level windows other than the main window: menus left open, dialogs not hidden,
// windows made twice.
inline QStringList strayWindows()
{
    QStringList names;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget != frmFlex())
            names << QStringLiteral("%1 (%2)").arg(widget->objectName(),
                                                   widget->metaObject()->className());
    return names;
}

// How many windows of the class exist: one at most, ever.
template <typename Window> int instancesOf()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<Window *>(widget) != nullptr;
    return count;
}

#endif // UITEST_H
