#include "calibrationstore.h"

#include <QRegularExpression>
#include <QSettings>

namespace {

const char *const FingerKeys[4] = {"Thumb", "Index", "Middle", "Ring"};
const char *const TiltKeys[2] = {"Roll", "Pitch"};

const QString HandShapesGroup = QStringLiteral("HandShapes");

QString group(const QString &glove)
{
    return QStringLiteral("Gloves/") + glove;
}

// "12.5 140": so many raw readings from 0 to 255, or nothing.
std::optional<QList<double>> readings(const QVariant &value, int count)
{
    const QStringList parts = value.toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (value.typeId() != QMetaType::QString || parts.size() != count)
        return std::nullopt;
    QList<double> numbers;
    for (const QString &part : parts) {
        bool ok = false;
        const double number = part.toDouble(&ok);
        if (!ok || !(number >= 0 && number <= 255))
            return std::nullopt;
        numbers << number;
    }
    return numbers;
}

// "true" or "false", as a person editing the file would write them.
void readSwitch(QSettings &settings, const QString &key, bool *on, QString *why)
{
    const QString text = settings.value(key).toString();
    if (text != QLatin1String("true") && text != QLatin1String("false"))
        *why = QStringLiteral("%1 is neither true nor false").arg(key);
    *on = text == QLatin1String("true");
}

QString switchText(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

bool readable(const QSettings &settings, QString *problem)
{
    if (settings.status() != QSettings::FormatError)
        return true;
    *problem = QStringLiteral("the saved settings in %1 are not used: it is not a settings file")
                   .arg(settings.fileName());
    return false;
}

QString readingsText(std::initializer_list<double> values)
{
    QStringList parts;
    for (double value : values)
        parts << QString::number(value, 'g', 5);
    return parts.join(QLatin1Char(' '));
}

} // namespace

namespace CalibrationStore {

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Vantrel"), QStringLiteral("Vantrel"));
}

std::unique_ptr<QSettings> savedUserSettings()
{
    return userSettingsSaved() ? userSettings() : nullptr;
}

QString gloveKey(const QString &identity)
{
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9]+"));
    return identity.toLower().replace(other, QStringLiteral("-"));
}

std::optional<GloveSettings> load(QSettings &settings, const QString &glove, QString *problem)
{
    if (!readable(settings, problem))
        return std::nullopt;
    settings.beginGroup(group(glove));
    const QStringList keys = settings.childKeys();
    GloveSettings saved;
    QString why;
    for (int f = 0; f < 4 && why.isEmpty(); ++f) {
        const QString key = QLatin1String(FingerKeys[f]);
        if (!keys.contains(key))
            continue;
        const auto values = readings(settings.value(key), 2);
        const FingerRange range = values ? FingerRange{(*values)[0], (*values)[1]} : FingerRange{};
        if (!values || !Calibration::usable(range))
            why = QStringLiteral("%1 is not two readings an open and a bent finger apart").arg(key);
        else
            saved.calibration.fingers[f] = range;
    }
    for (int axis = 0; axis < 2 && why.isEmpty(); ++axis) {
        const QString key = QLatin1String(TiltKeys[axis]);
        if (!keys.contains(key))
            continue;
        const auto values = readings(settings.value(key), 3);
        const TiltRange range =
            values ? TiltRange{(*values)[0], (*values)[1], (*values)[2]} : TiltRange{};
        if (!values || !Calibration::usable(range))
            why = QStringLiteral("%1 is not a low, neutral and high reading in order").arg(key);
        else
            (axis == 0 ? saved.calibration.roll : saved.calibration.pitch) = range;
    }
    if (why.isEmpty() && keys.contains(QLatin1String("Filter")))
        readSwitch(settings, QStringLiteral("Filter"), &saved.filter, &why);
    settings.endGroup();
    if (!why.isEmpty()) {
        *problem = QStringLiteral("the saved settings of the glove %1 in %2 are not used: %3")
                       .arg(glove, settings.fileName(), why);
        return std::nullopt;
    }
    if (keys.isEmpty() || saved.isDefault())
        return std::nullopt;
    return saved;
}

std::optional<HandShapes> loadHandShapes(QSettings &settings, QString *problem)
{
    if (!readable(settings, problem))
        return std::nullopt;
    settings.beginGroup(HandShapesGroup);
    const QStringList keys = settings.childKeys();
    HandShapes saved = HandShapes::defaults();
    QString why;
    for (const QString &key : keys) {
        if (key == QLatin1String("Recognise")) {
            readSwitch(settings, key, &saved.recognise, &why);
        } else if (const int pattern = HandShapes::pattern(key); pattern >= 0) {
            const QVariant name = settings.value(key);
            if (name.typeId() != QMetaType::QString ||
                name.toString().size() > HandShapes::MaxNameLength)
                why = QStringLiteral("the name of %1 is not text of at most %2 characters")
                          .arg(key)
                          .arg(HandShapes::MaxNameLength);
            else
                saved.names[pattern] = name.toString().trimmed();
        }
        if (!why.isEmpty())
            break;
    }
    settings.endGroup();
    if (!why.isEmpty()) {
        *problem = QStringLiteral("the saved hand shapes in %1 are not used: %2")
                       .arg(settings.fileName(), why);
        return std::nullopt;
    }
    if (keys.isEmpty())
        return std::nullopt;
    return saved;
}

bool save(QSettings &settings, const QString &glove, const QString &label,
          const GloveSettings &saved, const HandShapes &shapes, QString *error)
{
    settings.remove(HandShapesGroup);
    if (!(shapes == HandShapes::defaults())) {
        settings.beginGroup(HandShapesGroup);
        settings.setValue(QStringLiteral("Recognise"), switchText(shapes.recognise));
        for (int pattern = 0; pattern < HandShapes::Patterns; ++pattern)
            settings.setValue(HandShapes::code(pattern), shapes.names[pattern]);
        settings.endGroup();
    }
    settings.remove(group(glove));
    if (!saved.isDefault()) {
        settings.beginGroup(group(glove));
        settings.setValue(QStringLiteral("Glove"), label);
        settings.setValue(QStringLiteral("Filter"), switchText(saved.filter));
        for (int f = 0; f < 4; ++f)
            if (const auto &range = saved.calibration.fingers[f])
                settings.setValue(QLatin1String(FingerKeys[f]),
                                  readingsText({range->open, range->bent}));
        for (int axis = 0; axis < 2; ++axis)
            if (const auto &range = axis == 0 ? saved.calibration.roll : saved.calibration.pitch)
                settings.setValue(QLatin1String(TiltKeys[axis]),
                                  readingsText({range->low, range->neutral, range->high}));
        settings.endGroup();
    }
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        *error = QStringLiteral("%1 cannot be written").arg(settings.fileName());
        return false;
    case QSettings::FormatError:
        *error = QStringLiteral("%1 is not a settings file").arg(settings.fileName());
        return false;
    }
    return false;
}

} // namespace CalibrationStore
