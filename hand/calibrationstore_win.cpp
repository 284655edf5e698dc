#include "calibrationstore.h"

#include <windows.h>

// Where QSettings keeps the user's settings of organisation and program "Vantrel".
bool CalibrationStore::userSettingsSaved()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Vantrel\\Vantrel", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
