#ifndef FRMMOUSE_H
#define FRMMOUSE_H

#include "glovepointer.h"

#include <QDialog>

class QCheckBox;
class QSettings;
class QComboBox;
class QLabel;
class QSlider;

// The Mouse dialog: turns the glove's control of the pointer on and off, and sets its speed
// and which finger clicks. The settings apply as they are changed; File > Save keeps them,
// never the check box, which is clear at every start.
class FrmMouse : public QDialog
{
    Q_OBJECT

public:
    FrmMouse();

    // Shows the dialog, or brings it to the front.
    void begin();

    void chkMove_Click();
    // Shows whether the pointer can be moved and, when it moves, whether it is paused.
    void showState();

    QCheckBox *chkMove = nullptr;
    QSlider *sldSpeed = nullptr;
    QComboBox *cboClick = nullptr;
    QLabel *lblPause = nullptr;
    QLabel *lblState = nullptr;

    void showSettings(const GlovePointer::Settings &settings);

private:
    void applySettings();
};

// The pointer's speed and clicking finger as File > Save keeps them. Settings that cannot be
// read leave the defaults, with one line on stderr.
void loadPointerSettings(QSettings &settings);
void savePointerSettings(QSettings &settings);

#endif // FRMMOUSE_H
