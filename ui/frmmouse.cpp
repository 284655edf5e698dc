#include "frmmouse.h"

#include "frmflex.h"
#include "glovepointer.h"
#include "handreading.h"
#include "instances.h"
#include "look.h"
#include "samplepresentation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QVBoxLayout>
#include <cstdio>

namespace {

// The click choices, in the order listed, and as saved.
const struct
{
    const char *text;
    const char *saved;
    int finger;
} ClickChoices[] = {
    {"Index finger", "index", HandPose::Index},    {"Thumb", "thumb", HandPose::Thumb},
    {"Middle finger", "middle", HandPose::Middle}, {"Ring finger", "ring", HandPose::Ring},
    {"None", "none", GlovePointer::NoClick},
};

const char *const FingerNames[] = {"thumb", "index finger", "middle finger", "ring finger"};

// Why the glove cannot move the pointer yet, or nothing.
QString missingCalibration()
{
    const Calibration &calibration = handReading().calibration();
    if (!calibration.roll || !calibration.pitch)
        return QStringLiteral("The tilt is not calibrated, so the neutral pose is not known: fit "
                              "the glove first with Calibration > User Cal.");
    return QString();
}

} // namespace

FrmMouse::FrmMouse()
{
    setObjectName(QStringLiteral("frmMouse"));
    setWindowTitle(QStringLiteral("Mouse"));

    chkMove = new QCheckBox(QStringLiteral("&Move the pointer with the glove"), this);
    chkMove->setObjectName(QStringLiteral("chkMove"));
    connect(chkMove, &QCheckBox::clicked, this, &FrmMouse::chkMove_Click);

    auto *explain = new QLabel(
        QStringLiteral("Tilt your hand from its neutral pose to move the pointer that way; the "
                       "farther the tilt, the faster it goes. Bend the clicking finger to press "
                       "the left button and straighten it to let go, so a drag works."),
        this);
    explain->setWordWrap(true);

    sldSpeed = new QSlider(Qt::Horizontal, this);
    sldSpeed->setObjectName(QStringLiteral("sldSpeed"));
    sldSpeed->setRange(GlovePointer::MinSpeed, GlovePointer::MaxSpeed);
    sldSpeed->setPageStep(1);
    sldSpeed->setTickPosition(QSlider::TicksBelow);
    sldSpeed->setAccessibleName(QStringLiteral("Speed"));
    cboClick = new QComboBox(this);
    cboClick->setObjectName(QStringLiteral("cboClick"));
    for (const auto &choice : ClickChoices)
        cboClick->addItem(QLatin1String(choice.text), choice.finger);
    cboClick->setAccessibleName(QStringLiteral("Clicks"));
    auto *form = new QFormLayout;
    auto *speed = new QHBoxLayout;
    speed->addWidget(new QLabel(QStringLiteral("Slow"), this));
    speed->addWidget(sldSpeed);
    speed->addWidget(new QLabel(QStringLiteral("Fast"), this));
    auto *speedLabel = new QLabel(QStringLiteral("&Speed:"), this);
    speedLabel->setBuddy(sldSpeed);
    form->addRow(speedLabel, speed);
    form->addRow(QStringLiteral("&Clicks:"), cboClick);
    connect(sldSpeed, &QSlider::valueChanged, this, &FrmMouse::applySettings);
    connect(cboClick, &QComboBox::currentIndexChanged, this, &FrmMouse::applySettings);

    lblPause = new QLabel(this);
    lblPause->setObjectName(QStringLiteral("lblPause"));
    lblPause->setWordWrap(true);
    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);
    lblState->setFont(Look::boldDefaultFont());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chkMove);
    layout->addWidget(explain);
    layout->addLayout(form);
    layout->addWidget(lblPause);
    layout->addWidget(lblState);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(420);

    glovePointer().onStateChanged = [this] {
        showState();
        frmFlex()->showPointerState();
    };
    showSettings(glovePointer().settings());
}

void FrmMouse::showSettings(const GlovePointer::Settings &settings)
{
    sldSpeed->setValue(settings.speed);
    cboClick->setCurrentIndex(cboClick->findData(settings.clickFinger));
}

void FrmMouse::begin()
{
    showSettings(glovePointer().settings());
    showState();
    show();
    raise();
    activateWindow();
}

void FrmMouse::chkMove_Click()
{
    GlovePointer &pointer = glovePointer();
    pointer.setMoveInterval(std::chrono::nanoseconds(frmFlex()->framePacer().intervalNs()));
    pointer.setOn(chkMove->isChecked() && missingCalibration().isEmpty());
    showState();
}

void FrmMouse::applySettings()
{
    GlovePointer::Settings settings;
    settings.speed = sldSpeed->value();
    settings.clickFinger = cboClick->currentData().toInt();
    glovePointer().setSettings(settings);
    showState();
}

void FrmMouse::showState()
{
    GlovePointer &pointer = glovePointer();
    QString unavailable;
    const bool available = pointer.available(&unavailable);
    const QString uncalibrated = missingCalibration();
    chkMove->setEnabled(available && (pointer.isOn() || uncalibrated.isEmpty()));
    chkMove->setChecked(pointer.isOn());

    const int click = pointer.settings().clickFinger;
    const QString pauseShape =
        click == GlovePointer::NoClick || click == HandPose::Index
            ? QStringLiteral("point (the index straight, the other fingers bent)")
            : QStringLiteral("straighten the %1 and bend the other fingers")
                  .arg(QLatin1String(FingerNames[click]));
    QString keyboard = QStringLiteral("with the keyboard, press %1 (in any program)")
                           .arg(QLatin1String(PointerDevice::PauseKey));
    if (!pointer.pauseKeyProblem().isEmpty())
        keyboard = QStringLiteral("with the keyboard, clear the check box here (%1)")
                       .arg(pointer.pauseKeyProblem());
    lblPause->setText(
        QStringLiteral("To pause or resume: with the glove, %1 and hold it for a second; %2. "
                       "The pointer also stops, letting go of the button, when the glove is "
                       "unplugged or goes quiet.")
            .arg(pauseShape, keyboard));

    QString state;
    if (!available)
        state = unavailable;
    else if (!pointer.isOn())
        state = uncalibrated;
    else
        state = pointer.isPaused() ? QStringLiteral("Paused.")
                                   : QStringLiteral("The glove moves the pointer.");
    lblState->setText(state);
}

void loadPointerSettings(QSettings &settings)
{
    if (!settings.childGroups().contains(QLatin1String("Mouse")))
        return;
    GlovePointer::Settings loaded;
    bool speedRead = false;
    loaded.speed = settings.value(QStringLiteral("Mouse/Speed")).toInt(&speedRead);
    const QString click = settings.value(QStringLiteral("Mouse/Click")).toString();
    bool clickRead = false;
    for (const auto &choice : ClickChoices) {
        if (click == QLatin1String(choice.saved)) {
            loaded.clickFinger = choice.finger;
            clickRead = true;
        }
    }
    if (!speedRead || loaded.speed < GlovePointer::MinSpeed ||
        loaded.speed > GlovePointer::MaxSpeed || !clickRead) {
        std::fprintf(stderr,
                     "Vantrel: the saved mouse settings in %s are not used: Speed is not a "
                     "number from %d to %d, or Click is not one of index, thumb, middle, ring "
                     "or none\n",
                     qPrintable(settings.fileName()), GlovePointer::MinSpeed,
                     GlovePointer::MaxSpeed);
        return;
    }
    glovePointer().setSettings(loaded);
}

void savePointerSettings(QSettings &settings)
{
    const GlovePointer::Settings &saving = glovePointer().settings();
    settings.remove(QStringLiteral("Mouse"));
    if (saving == GlovePointer::Settings())
        return;
    settings.setValue(QStringLiteral("Mouse/Speed"), saving.speed);
    for (const auto &choice : ClickChoices)
        if (choice.finger == saving.clickFinger)
            settings.setValue(QStringLiteral("Mouse/Click"), QLatin1String(choice.saved));
}
