#include "instances.h"

#include "frmabout.h"
#include "frmcomport.h"
#include "frmdatalog.h"
#include "frmflex.h"
#include "frmgestures.h"
#include "frmmouse.h"
#include "frmusercal.h"

namespace {
FrmFlex *mainWindow = nullptr;
FrmComPort *portSettingsWindow = nullptr;
FrmAbout *aboutBox = nullptr;
FrmUserCal *userCalibration = nullptr;
FrmGestures *setGestures = nullptr;
FrmMouse *mouseSettings = nullptr;
FrmDataLog *dataLogging = nullptr;
PortDevices portDevices = PortDevices();
} // namespace

FrmFlex *frmFlex()
{
    if (!mainWindow) {
        mainWindow = new FrmFlex;
        mainWindow->Form_Load();
    }
    return mainWindow;
}

FrmComPort *frmComPort()
{
    if (!portSettingsWindow)
        portSettingsWindow = new FrmComPort;
    return portSettingsWindow;
}

FrmAbout *frmAbout()
{
    if (!aboutBox)
        aboutBox = new FrmAbout;
    return aboutBox;
}

FrmUserCal *frmUserCal()
{
    if (!userCalibration)
        userCalibration = new FrmUserCal;
    return userCalibration;
}

FrmGestures *frmGestures()
{
    if (!setGestures)
        setGestures = new FrmGestures;
    return setGestures;
}

FrmMouse *frmMouse()
{
    if (!mouseSettings)
        mouseSettings = new FrmMouse;
    return mouseSettings;
}

FrmDataLog *frmDataLog()
{
    if (!dataLogging)
        dataLogging = new FrmDataLog;
    return dataLogging;
}

void setConfiguredPortDevices(const PortDevices &devices)
{
    portDevices = devices;
}

PortDevices configuredPortDevices()
{
    return portDevices;
}
