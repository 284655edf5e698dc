#ifndef FRMABOUT_H
#define FRMABOUT_H

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The About box: the program's name and version, shown modal, hidden by OK and reused.
class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    FrmAbout();

    void cmdOK_Click();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QFrame *Line1 = nullptr;
    QPushButton *cmdOK = nullptr;

    // Esc and a close request through the window frame press OK.
    void reject() override;
};

#endif // FRMABOUT_H
