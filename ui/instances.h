#ifndef INSTANCES_H
#define INSTANCES_H

#include "portdevices.h"

class FrmAbout;
class FrmComPort;
class FrmDataLog;
class FrmFlex;
class FrmGestures;
class FrmMouse;
class FrmUserCal;

// The one instance of each window, created hidden on first use and kept until the process
// ends. Creating the main window runs its load step before the first access returns.
FrmFlex *frmFlex();
FrmComPort *frmComPort();
FrmAbout *frmAbout();
FrmUserCal *frmUserCal();
FrmGestures *frmGestures();
FrmMouse *frmMouse();
FrmDataLog *frmDataLog();

// Which devices the ports denote; the serial control takes them when the port settings
// window is created.
void setConfiguredPortDevices(const PortDevices &devices);
PortDevices configuredPortDevices();

#endif // INSTANCES_H
