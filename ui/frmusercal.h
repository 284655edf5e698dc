#ifndef FRMUSERCAL_H
#define FRMUSERCAL_H

#include "calibrationcapture.h"

#include <QDialog>
#include <QTimer>
#include <array>

class QLabel;
class QPushButton;

// The User Cal dialog: walks the wearer through the open hand, the fist and the tilt, showing
// what each step has captured, then puts the calibration in effect. Esc or Cancel leaves the
// calibration in effect as it was; Reset removes it.
class FrmUserCal : public QDialog
{
    Q_OBJECT

public:
    FrmUserCal();

    // Starts over at the first step and shows the dialog, or brings it to the front.
    void begin();

    void cmdNext_Click();
    void cmdReset_Click();

    QLabel *lblStep = nullptr;
    QLabel *lblInstruction = nullptr;
    QLabel *lblProblems = nullptr;
    QPushButton *cmdReset = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdNext = nullptr;

    const CalibrationCapture &capture() const { return m_capture; }

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void showStep();
    void refresh();

    CalibrationCapture m_capture;
    // Per channel: now, open, fist, range.
    std::array<std::array<QLabel *, 4>, HandPose::Channels> m_cells{};
    // What it captured, shown a few times a second rather than per sample.
    QTimer m_refresh;
};

#endif // FRMUSERCAL_H
