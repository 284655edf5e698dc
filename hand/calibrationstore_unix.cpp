#include "calibrationstore.h"

// Reading a settings file that is not there makes nothing.
bool CalibrationStore::userSettingsSaved()
{
    return true;
}
