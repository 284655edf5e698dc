#ifndef FRMGESTURES_H
#define FRMGESTURES_H

#include "handshapes.h"

#include <QDialog>
#include <QTimer>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Set Gestures dialog: the 16 shapes of the four fingers the glove reads, each drawn and
// with a name to report it by. OK puts the names in effect; File > Save keeps them.
class FrmGestures : public QDialog
{
    Q_OBJECT

public:
    FrmGestures();

    // Shows the names in effect, or brings the dialog to the front.
    void begin();

    void cmdOK_Click();
    void cmdDefaults_Click();

    QCheckBox *chkRecognise = nullptr;
    QLabel *lblCalibration = nullptr;
    // One per pattern; the name of the one for "xoxx" is txtShape_xoxx.
    std::array<QLineEdit *, HandShapes::Patterns> txtShape{};
    QPushButton *cmdDefaults = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void showShapes(const HandShapes &shapes);
    void refresh();

    std::array<QWidget *, HandShapes::Patterns> m_rows{};
    int m_marked = -1;
    // The shape the hand makes now is marked, a few times a second.
    QTimer m_refresh;
};

#endif // FRMGESTURES_H
