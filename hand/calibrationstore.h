#ifndef CALIBRATIONSTORE_H
#define CALIBRATIONSTORE_H

#include "calibration.h"
#include "handshapes.h"

#include <QString>
#include <memory>
#include <optional>

class QSettings;

// What File > Save keeps for a glove: its calibration and whether the filter is on. Kept with
// the user's settings, one entry per glove, under a key that names the glove's adapter.
struct GloveSettings
{
    Calibration calibration;
    bool filter = false;

    bool isDefault() const { return calibration.isEmpty() && !filter; }
};

namespace CalibrationStore {

// The user's own settings: a file under the config folder on Linux, the registry on Windows.
std::unique_ptr<QSettings> userSettings();
// The same, to read, or nothing when they were never saved. Opening them on Windows makes
// their registry key, which only saving should (calibrationstore_unix.cpp, _win.cpp).
std::unique_ptr<QSettings> savedUserSettings();
bool userSettingsSaved();

// A key for a glove made of what names its adapter ("usb-0403-6001-A9XJ2", "com1"): letters,
// digits and dashes, so that it is one key in every settings format.
QString gloveKey(const QString &identity);

// The saved settings of the glove, or nothing when there are none. An entry that cannot be
// read whole is not used at all, and `problem` says why.
std::optional<GloveSettings> load(QSettings &settings, const QString &glove, QString *problem);

// The saved hand shapes, the same for every glove, or nothing when there are none; like a
// glove's entry, used whole or not at all.
std::optional<HandShapes> loadHandShapes(QSettings &settings, QString *problem);

// Saves the glove's settings and the hand shapes (default ones remove their entry); `label`
// says which glove it is for a person reading the file. False, with the reason, when they
// could not be written.
bool save(QSettings &settings, const QString &glove, const QString &label,
          const GloveSettings &saved, const HandShapes &shapes, QString *error);

} // namespace CalibrationStore

#endif // CALIBRATIONSTORE_H
