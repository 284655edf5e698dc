#ifndef FRMFLEX_H
#define FRMFLEX_H

#include "fingerbar.h"
#include "framepacer.h"
#include "readoutlabel.h"

#include <QMainWindow>
#include <QTimer>

class HandFrame;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolBar;

// The main window: eight readouts, five finger bars and the hand figure, under a menu bar.
// Every control sits where the twips layout puts it; only the toolbar and status bar follow
// the window's width.
class FrmFlex : public QMainWindow
{
    Q_OBJECT

public:
    FrmFlex();

    // The load step, run once when the window is created: opens the glove link on COM1.
    void Form_Load();

    void cmdExit_Click();
    void mnuFileExit_Click();
    void mnuOptionsComPort_Click();
    void mnuAboutVantrel_Click();
    // Keeps the calibration in effect and the filter's state for this glove's next run.
    void mnuFileSave_Click();
    // Shows the User Calibration dialog.
    void mnuCalibrationUser_Click();
    // Shows the Mouse and Set Gestures dialogs.
    void mnuCalibrationMouse_Click();
    void mnuRecognitionGestures_Click();
    // Shows the Data Logging dialog.
    void mnuRecognitionDataLog_Click();
    // Toggles the entry's check mark, which is the whole of the filter setting.
    void mnuOptionsFilter_Click();

    // The status bar's word on the calibration in effect.
    void showCalibrationState();
    // The status bar's word on the hand shape held, and on the glove's pointer.
    void showHandShape(const QString &name);
    void showPointerState();
    // Shows what is logged, and keeps it up to date once a second while it runs.
    void showLogging();
    // Puts in effect what was saved for the glove the port is on, when that glove changes.
    void applySavedGloveSettings();

    // Shows the window modeless; as it is already shown, it comes to the front.
    void showInFront();

    // The controls the sample presentation writes, in packet order.
    ReadoutLabel *lblRawDataThumb = nullptr;
    ReadoutLabel *lblRawDataIndex = nullptr;
    ReadoutLabel *lblRawDataMiddle = nullptr;
    ReadoutLabel *lblRawDataRing = nullptr;
    ReadoutLabel *lblRawDataRoll = nullptr;
    ReadoutLabel *lblRawDataPitch = nullptr;
    ReadoutLabel *lblRawDataInput1 = nullptr;
    ReadoutLabel *lblRawDataInput2 = nullptr;
    FingerBar *prgThumb = nullptr;
    FingerBar *prgIndex = nullptr;
    FingerBar *prgMiddle = nullptr;
    FingerBar *prgRing = nullptr;
    FingerBar *prgPinky = nullptr;
    HandFrame *fraHand = nullptr;

    QToolBar *ToolBar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    // Beside the version text: whether a calibration is in effect, and what Save did.
    QLabel *StatusBar1Calibration = nullptr;
    QLabel *StatusBar1Gesture = nullptr;
    QLabel *StatusBar1Pointer = nullptr;
    // While logging: the file, the samples written and the OSC target; a failed recording.
    QLabel *StatusBar1Logging = nullptr;
    QGroupBox *fraFlex = nullptr;
    QGroupBox *fraAccel = nullptr;
    QGroupBox *fraRawData = nullptr;
    QPushButton *cmdExit = nullptr;

    QMenu *mnuFile = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuCalibration = nullptr;
    QAction *mnuCalibrationUser = nullptr;
    QAction *mnuCalibrationMouse = nullptr;
    QMenu *mnuRecognition = nullptr;
    QAction *mnuRecognitionGestures = nullptr;
    QAction *mnuRecognitionDataLog = nullptr;
    QMenu *mnuOptions = nullptr;
    QAction *mnuOptionsFFeedback = nullptr;
    QAction *mnuOptionsComPort = nullptr;
    QAction *mnuOptionsFilter = nullptr;
    QMenu *mnuAbout = nullptr;
    QAction *mnuAboutVantrel = nullptr;

    // Paints at most one frame per refresh of the screen (see FramePacer).
    FramePacer &framePacer() { return m_framePacer; }

protected:
    bool event(QEvent *event) override;
    // A request to close the window runs the Exit sequence; the window is not closed otherwise.
    void closeEvent(QCloseEvent *event) override;

private:
    // Paints and flushes what changed since the last frame.
    bool paintFrame(QEvent *request);
    void createMenus();
    void createFingerBars();
    void createReadouts();

    void sayInStatusBar(const QString &text, const QString &tip = QString());

    FramePacer m_framePacer{this};
    bool m_paintingFrame = false;
    // The glove whose saved settings are in effect, and how a person knows it.
    QString m_glove;
    QString m_gloveLabel;
    QTimer m_statusMessageTime;
    QTimer m_loggingRefresh;
};

#endif // FRMFLEX_H
