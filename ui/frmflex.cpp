#include "frmflex.h"

#include "calibrationstore.h"
#include "fingerbar.h"
#include "frmabout.h"
#include "frmcomport.h"
#include "frmdatalog.h"
#include "frmgestures.h"
#include "frmmouse.h"
#include "frmusercal.h"
#include "glovepointer.h"
#include "handframe.h"
#include "handreading.h"
#include "instances.h"
#include "look.h"
#include "panelframe.h"
#include "readoutlabel.h"
#include "samplepresentation.h"
#include "samplesinks.h"
#include "shutdown.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <cstdio>

namespace {

constexpr int ClientWidth = 8760;
constexpr int ClientHeight = 5790;
constexpr int ToolBarHeight = 420;
constexpr int StatusBarHeight = 300;

// The client area below the menu bar. Controls are placed on it at fixed positions; the
// toolbar and status bar stay docked to its top and bottom edges across its full width.
class ClientArea : public QWidget
{
public:
    using QWidget::QWidget;

    QToolBar *toolBar = nullptr;
    QStatusBar *statusBar = nullptr;

protected:
    void resizeEvent(QResizeEvent *) override
    {
        toolBar->setGeometry(0, 0, width(), twips(ToolBarHeight));
        statusBar->setGeometry(0, height() - twips(StatusBarHeight), width(),
                               twips(StatusBarHeight));
    }
};

// The glove the port is on, as a settings key and for a person: its adapter's USB identity
// where it has one, or else the port's number.
std::pair<QString, QString> gloveOnPort()
{
    MSComm &comm = frmComPort()->comm();
    const std::optional<PortTarget> target = comm.target();
    const QString port = QStringLiteral("ComPort %1").arg(comm.CommPort());
    if (!target)
        return {QStringLiteral("com%1").arg(comm.CommPort()), port};
    const SerialDevice &device = target->device;
    if (device.usbIds().isEmpty())
        return {QStringLiteral("com%1").arg(comm.CommPort()), target->label()};
    // Without a serial number, the USB socket it is plugged into tells two alike apart.
    const QString identity =
        QStringLiteral("usb-%1-%2")
            .arg(device.usbIds(), device.serialNumber.isEmpty()
                                      ? QStringLiteral("at-") + device.usbLocation
                                      : device.serialNumber);
    return {CalibrationStore::gloveKey(identity), target->label()};
}

QGroupBox *newFrame(const char *name, const QString &caption, QRect twipsGeometry, QWidget *parent)
{
    auto *frame = new PanelFrame(caption, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFont(Look::frameCaptionFont());
    Look::setBackground(frame, Look::Grey);
    frame->setGeometry(twipsGeometry);
    return frame;
}

} // namespace

FrmFlex::FrmFlex()
{
    setObjectName(QStringLiteral("frmFlex"));
    setWindowTitle(QStringLiteral("Vantrel Software"));

    auto *client = new ClientArea(this);
    client->setObjectName(QStringLiteral("client"));
    Look::setBackground(client, Look::Grey);
    setCentralWidget(client);

    ToolBar1 = new QToolBar(client);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    StatusBar1 = new QStatusBar(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    // The bars keep the platform's face colour on the grey client area.
    Look::setBackground(ToolBar1, QApplication::palette().color(QPalette::Button));
    Look::setBackground(StatusBar1, QApplication::palette().color(QPalette::Button));
    auto *statusText = new QLabel(QStringLiteral("Vantrel Version 0.1"), StatusBar1);
    statusText->setObjectName(QStringLiteral("StatusBar1Text"));
    StatusBar1->addWidget(statusText, 1);
    StatusBar1Logging = new QLabel(StatusBar1);
    StatusBar1Logging->setObjectName(QStringLiteral("StatusBar1Logging"));
    StatusBar1->addPermanentWidget(StatusBar1Logging);
    StatusBar1Logging->hide();
    // Each change repaints the window: once a second is enough for a count.
    m_loggingRefresh.setInterval(1000);
    connect(&m_loggingRefresh, &QTimer::timeout, this, &FrmFlex::showLogging);
    StatusBar1Gesture = new QLabel(StatusBar1);
    StatusBar1Gesture->setObjectName(QStringLiteral("StatusBar1Gesture"));
    StatusBar1Gesture->setToolTip(
        QStringLiteral("The hand shape held (Recognition > Set Gestures)"));
    StatusBar1->addPermanentWidget(StatusBar1Gesture);
    StatusBar1Gesture->hide();
    StatusBar1Pointer = new QLabel(StatusBar1);
    StatusBar1Pointer->setObjectName(QStringLiteral("StatusBar1Pointer"));
    StatusBar1->addPermanentWidget(StatusBar1Pointer);
    StatusBar1Pointer->hide();
    StatusBar1Calibration = new QLabel(StatusBar1);
    StatusBar1Calibration->setObjectName(QStringLiteral("StatusBar1Calibration"));
    StatusBar1->addPermanentWidget(StatusBar1Calibration);
    StatusBar1Calibration->hide();
    m_statusMessageTime.setSingleShot(true);
    m_statusMessageTime.setInterval(8000);
    connect(&m_statusMessageTime, &QTimer::timeout, this, &FrmFlex::showCalibrationState);
    client->toolBar = ToolBar1;
    client->statusBar = StatusBar1;

    fraFlex = newFrame("fraFlex", QStringLiteral("Flex Sensors"), twipsRect(315, 630, 3615, 3135),
                       client);
    fraAccel = newFrame("fraAccel", QStringLiteral("Pitch/Roll"), twipsRect(4725, 630, 3615, 3135),
                        client);
    fraRawData = newFrame("fraRawData", QStringLiteral("Raw Data"),
                          twipsRect(315, 4095, 6000, 1170), client);
    fraHand = new HandFrame(fraAccel);
    connect(fraHand, &HandFrame::placementPending, this, [this] { m_framePacer.requestFrame(); });

    cmdExit = new QPushButton(QStringLiteral("Exit"), client);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setGeometry(twipsRect(6720, 4725, 1455, 495));
    QPalette yellowFace = cmdExit->palette();
    yellowFace.setColor(QPalette::Button, Look::Yellow);
    cmdExit->setPalette(yellowFace);
    connect(cmdExit, &QPushButton::clicked, this, &FrmFlex::cmdExit_Click);

    createFingerBars();
    createReadouts();
    createMenus();

    // The client area is the given size; the menu bar comes on top of it.
    const int menuHeight = menuBar()->sizeHint().height();
    resize(twips(ClientWidth), twips(ClientHeight) + menuHeight);
    move(twips(3525), twips(2055) - menuHeight);
}

void FrmFlex::createFingerBars()
{
    // Bars of different heights, like the fingers of a hand, all standing on one line.
    constexpr int Bottom = 2655;
    struct Bar
    {
        FingerBar **bar;
        const char *name;
        const char *finger; // what assistive technology calls it
        int left;
        int top;
    };
    const Bar bars[] = {
        {&prgThumb, "prgThumb", "Thumb", 600, 1320},
        {&prgIndex, "prgIndex", "Index finger", 1080, 840},
        {&prgMiddle, "prgMiddle", "Middle finger", 1560, 360},
        {&prgRing, "prgRing", "Ring finger", 2040, 720},
        {&prgPinky, "prgPinky", "Little finger", 2520, 1080},
    };
    for (const Bar &b : bars) {
        auto *bar = new FingerBar(fraFlex);
        bar->setObjectName(QLatin1String(b.name));
        bar->setAccessibleName(QLatin1String(b.finger));
        // 256, not 255, is the top, so that every byte value fits below it.
        bar->setRange(0, 256);
        bar->setValue(0);
        bar->setGeometry(twipsRect(b.left, b.top, 375, Bottom - b.top));
        *b.bar = bar;
    }
}

void FrmFlex::createReadouts()
{
    struct Column
    {
        const char *captionName;
        const char *caption;
        int captionWidth;
        ReadoutLabel **readout;
        const char *readoutName;
    };
    const Column columns[] = {
        {"Label1", "Thumb", 540, &lblRawDataThumb, "lblRawDataThumb"},
        {"Label2", "Index", 435, &lblRawDataIndex, "lblRawDataIndex"},
        {"label3", "Middle", 540, &lblRawDataMiddle, "lblRawDataMiddle"},
        {"Label4", "Ring", 435, &lblRawDataRing, "lblRawDataRing"},
        {"Label5", "Roll", 435, &lblRawDataRoll, "lblRawDataRoll"},
        {"Label6", "Pitch", 540, &lblRawDataPitch, "lblRawDataPitch"},
        {"Label7", "Input 1", 540, &lblRawDataInput1, "lblRawDataInput1"},
        {"Label8", "Input 2", 540, &lblRawDataInput2, "lblRawDataInput2"},
    };
    int left = 105;
    for (const Column &c : columns) {
        auto *caption = new QLabel(QLatin1String(c.caption), fraRawData);
        caption->setObjectName(QLatin1String(c.captionName));
        caption->setFont(Look::defaultFont());
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(twipsRect(left, 315, c.captionWidth, 225));

        auto *readout = new ReadoutLabel(caption->text(), fraRawData);
        readout->setObjectName(QLatin1String(c.readoutName));
        readout->setFont(Look::defaultFont());
        Look::setBackground(readout, Qt::white);
        readout->setGeometry(twipsRect(left, 630, 540, 330));
        // A fixed size: a new text then asks no layout of the frame, which would wake the
        // event loop once more for every packet.
        readout->setFixedSize(readout->size());
        *c.readout = readout;
        left += 735;
    }
}

void FrmFlex::createMenus()
{
    auto addMenu = [this](const char *name, const QString &title) {
        QMenu *menu = menuBar()->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    auto addEntry = [](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };

    // Entries with no action can be chosen and do nothing.
    mnuFile = addMenu("mnuFile", QStringLiteral("File"));
    mnuFileSave = addEntry(mnuFile, "mnuFileSave", QStringLiteral("S&ave"));
    mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(mnuFileSave, &QAction::triggered, this, &FrmFlex::mnuFileSave_Click);
    mnuFileExit = addEntry(mnuFile, "mnuFileExit", QStringLiteral("E&xit"));
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(mnuFileExit, &QAction::triggered, this, &FrmFlex::mnuFileExit_Click);

    mnuCalibration = addMenu("mnuCalibration", QStringLiteral("Calibration"));
    mnuCalibrationUser = addEntry(mnuCalibration, "mnuCalibrationUser", QStringLiteral("User Cal"));
    connect(mnuCalibrationUser, &QAction::triggered, this, &FrmFlex::mnuCalibrationUser_Click);
    mnuCalibrationMouse = addEntry(mnuCalibration, "mnuCalibrationMouse", QStringLiteral("&Mouse"));
    connect(mnuCalibrationMouse, &QAction::triggered, this, &FrmFlex::mnuCalibrationMouse_Click);
    addEntry(mnuCalibration, "mnuCalibrationJoystick", QStringLiteral("J&oystick"));

    mnuRecognition = addMenu("mnuRecognition", QStringLiteral("Recognition"));
    mnuRecognitionGestures =
        addEntry(mnuRecognition, "mnuRecognitionGestures", QStringLiteral("Set Gestures"));
    connect(mnuRecognitionGestures, &QAction::triggered, this,
            &FrmFlex::mnuRecognitionGestures_Click);
    mnuRecognitionDataLog =
        addEntry(mnuRecognition, "mnuRecognitionDataLog", QStringLiteral("Data Logging"));
    connect(mnuRecognitionDataLog, &QAction::triggered, this,
            &FrmFlex::mnuRecognitionDataLog_Click);

    mnuOptions = addMenu("mnuOptions", QStringLiteral("Options"));
    mnuOptionsFFeedback =
        addEntry(mnuOptions, "mnuOptionsFFeedback", QStringLiteral("Force &Feedback"));
    mnuOptionsFFeedback->setEnabled(false);
    mnuOptionsComPort = addEntry(mnuOptions, "mnuOptionsComPort", QStringLiteral("Com &Port"));
    connect(mnuOptionsComPort, &QAction::triggered, this, &FrmFlex::mnuOptionsComPort_Click);
    // Choosing it toggles its own check mark, and the filter on the bars and the hand with it.
    mnuOptionsFilter = addEntry(mnuOptions, "mnuOptionsFilter", QStringLiteral("Filter On/Off"));
    mnuOptionsFilter->setCheckable(true);
    connect(mnuOptionsFilter, &QAction::triggered, this, [this] {
        // Qt turns a checkable entry's mark over before it reports the choice; put it back,
        // so that the handler alone toggles it, once per choice.
        mnuOptionsFilter->setChecked(!mnuOptionsFilter->isChecked());
        mnuOptionsFilter_Click();
    });

    mnuAbout = addMenu("mnuAbout", QStringLiteral("About"));
    mnuAboutVantrel = addEntry(mnuAbout, "mnuAboutVantrel", QStringLiteral("About &Vantrel"));
    connect(mnuAboutVantrel, &QAction::triggered, this, &FrmFlex::mnuAboutVantrel_Click);
}

void FrmFlex::Form_Load()
{
    // Selecting the option runs its click handler, which opens the port.
    frmComPort()->optComm1->setChecked(true);
    // Each glove comes with what was saved for it; the hand shapes and the mouse's settings
    // are the same for all.
    if (const auto settings = CalibrationStore::savedUserSettings()) {
        QString problem;
        if (const auto shapes = CalibrationStore::loadHandShapes(*settings, &problem))
            handReading().setHandShapes(*shapes);
        if (!problem.isEmpty())
            std::fprintf(stderr, "Vantrel: %s\n", qPrintable(problem));
        loadPointerSettings(*settings);
        loadLoggingSettings(*settings);
    }
    applySavedGloveSettings();
    connect(&frmComPort()->comm(), &MSComm::linkChanged, this, &FrmFlex::applySavedGloveSettings);
    connect(&frmComPort()->comm(), &MSComm::linkChanged, this, [this] {
        if (frmComPort()->comm().PortOpen())
            return;
        // No hand is held while the glove is gone, and the pointer lets go at once.
        handReading().forgetHandShape();
        showHandShape(QString());
        glovePointer().stop();
    });
}

void FrmFlex::cmdExit_Click()
{
    glovePointer().setOn(false);
    frmComPort()->comm().setPortOpen(false);
    EndProcess();
}

void FrmFlex::mnuFileExit_Click()
{
    cmdExit_Click();
}

void FrmFlex::mnuOptionsComPort_Click()
{
    FrmComPort *dialog = frmComPort();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void FrmFlex::mnuOptionsFilter_Click()
{
    mnuOptionsFilter->setChecked(!mnuOptionsFilter->isChecked());
    handReading().setFiltering(mnuOptionsFilter->isChecked());
}

void FrmFlex::mnuCalibrationUser_Click()
{
    frmUserCal()->begin();
}

void FrmFlex::mnuCalibrationMouse_Click()
{
    frmMouse()->begin();
}

void FrmFlex::mnuRecognitionGestures_Click()
{
    frmGestures()->begin();
}

void FrmFlex::mnuRecognitionDataLog_Click()
{
    frmDataLog()->begin();
}

void FrmFlex::showLogging()
{
    const SampleSinks &sinks = sampleSinks();
    const Recording *recording = sinks.recording();
    QStringList parts;
    QString tip;
    if (recording && (sinks.isRecording() || recording->failed())) {
        const QString name = QFileInfo(recording->path()).fileName();
        const QString rows = QLocale().toString(qulonglong(recording->rowsWritten()));
        parts << (recording->failed()
                      ? QStringLiteral("Recording %1 failed: %2 samples kept").arg(name, rows)
                      : QStringLiteral("Recording %1: %2 samples").arg(name, rows));
        tip = recording->failed()
                  ? QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(recording->path()),
                                                 recording->failure())
                  : QDir::toNativeSeparators(recording->path());
    }
    if (!sinks.forwardingTarget().isEmpty())
        parts << QStringLiteral("OSC to %1").arg(sinks.forwardingTarget());
    StatusBar1Logging->setText(parts.join(QStringLiteral(" · ")));
    StatusBar1Logging->setToolTip(tip);
    StatusBar1Logging->setVisible(!parts.isEmpty());
    // Up to date while logging runs and while a stopped recording's writer completes its file.
    const bool changing = sinks.isLogging() || (recording && recording->isWriting());
    if (changing && !m_loggingRefresh.isActive())
        m_loggingRefresh.start();
    else if (!changing)
        m_loggingRefresh.stop();
}

void FrmFlex::showHandShape(const QString &name)
{
    StatusBar1Gesture->setText(name);
    StatusBar1Gesture->setVisible(!name.isEmpty());
}

void FrmFlex::showPointerState()
{
    const GlovePointer &pointer = glovePointer();
    StatusBar1Pointer->setText(pointer.isPaused() ? QStringLiteral("Pointer paused")
                                                  : QStringLiteral("Pointer on"));
    StatusBar1Pointer->setToolTip(
        QStringLiteral("The glove moves the pointer (Calibration > Mouse); %1 pauses and resumes")
            .arg(QLatin1String(PointerDevice::PauseKey)));
    StatusBar1Pointer->setVisible(pointer.isOn());
}

void FrmFlex::mnuFileSave_Click()
{
    const GloveSettings saving{handReading().calibration(), mnuOptionsFilter->isChecked()};
    const auto settings = CalibrationStore::userSettings();
    savePointerSettings(*settings);
    saveLoggingSettings(*settings);
    QString error;
    if (!CalibrationStore::save(*settings, m_glove, m_gloveLabel, saving,
                                handReading().handShapes(), &error)) {
        sayInStatusBar(QStringLiteral("Not saved: %1").arg(error));
        return;
    }
    sayInStatusBar(saving.isDefault()
                       ? QStringLiteral("Saved: no calibration, no filter for %1").arg(m_gloveLabel)
                       : QStringLiteral("Saved for %1").arg(m_gloveLabel),
                   QStringLiteral("In %1").arg(settings->fileName()));
}

void FrmFlex::applySavedGloveSettings()
{
    const auto [glove, label] = gloveOnPort();
    m_gloveLabel = label;
    if (glove == m_glove)
        return;
    const bool first = m_glove.isEmpty();
    m_glove = glove;
    const auto settings = CalibrationStore::savedUserSettings();
    QString problem;
    const std::optional<GloveSettings> saved =
        settings ? CalibrationStore::load(*settings, glove, &problem) : std::nullopt;
    if (!problem.isEmpty())
        std::fprintf(stderr, "Vantrel: %s\n", qPrintable(problem));
    // Another glove's calibration would be wrong for this one.
    if (saved || !first)
        handReading().setCalibration(saved ? saved->calibration : Calibration());
    if (saved && saved->filter != mnuOptionsFilter->isChecked())
        mnuOptionsFilter_Click();
    showCalibrationState();
}

void FrmFlex::showCalibrationState()
{
    m_statusMessageTime.stop();
    const Calibration &calibration = handReading().calibration();
    QStringList raw;
    for (int f = 0; f < 4; ++f)
        if (!calibration.fingers[f])
            raw << channelName(f);
    if (!calibration.roll)
        raw << channelName(HandPose::Roll);
    if (!calibration.pitch)
        raw << channelName(HandPose::Pitch);
    StatusBar1Calibration->setText(calibration.isEmpty() ? QString()
                                                         : QStringLiteral("Calibrated"));
    StatusBar1Calibration->setToolTip(
        raw.isEmpty() || calibration.isEmpty()
            ? QString()
            : QStringLiteral("Shown raw: %1").arg(raw.join(QLatin1String(", "))));
    StatusBar1Calibration->setVisible(!calibration.isEmpty());
}

void FrmFlex::sayInStatusBar(const QString &text, const QString &tip)
{
    StatusBar1Calibration->setText(text);
    StatusBar1Calibration->setToolTip(tip);
    StatusBar1Calibration->show();
    m_statusMessageTime.start();
}

void FrmFlex::mnuAboutVantrel_Click()
{
    frmAbout()->exec();
}

void FrmFlex::showInFront()
{
    show();
    raise();
    activateWindow();
}

bool FrmFlex::event(QEvent *event)
{
    if (event->type() != QEvent::UpdateRequest)
        return QMainWindow::event(event);
    // A frame being painted takes up what is asked for while it is made ready.
    if (m_paintingFrame || !m_framePacer.mayPaintNow())
        return true; // painted with the next frame
    return paintFrame(event);
}

bool FrmFlex::paintFrame(QEvent *request)
{
    m_paintingFrame = true;
    fraHand->applyPlacement();
    for (FingerBar *bar : {prgThumb, prgIndex, prgMiddle, prgRing, prgPinky})
        bar->showValue();
    const bool handled = QMainWindow::event(request);
    m_paintingFrame = false;
    for (ReadoutLabel *readout :
         {lblRawDataThumb, lblRawDataIndex, lblRawDataMiddle, lblRawDataRing, lblRawDataRoll,
          lblRawDataPitch, lblRawDataInput1, lblRawDataInput2})
        readout->announceValue();
    // Requests posted before this frame have nothing left to paint.
    QCoreApplication::removePostedEvents(this, QEvent::UpdateRequest);
    m_framePacer.framePainted([this] {
        return QStringLiteral("samples=%1 input1=%2 input2=%3")
            .arg(samplesPresented())
            .arg(lblRawDataInput1->text(), lblRawDataInput2->text());
    });
    return handled;
}

void FrmFlex::closeEvent(QCloseEvent *event)
{
    event->ignore();
    cmdExit_Click();
}
