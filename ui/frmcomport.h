#ifndef FRMCOMPORT_H
#define FRMCOMPORT_H

#include "glovepacketreader.h"
#include "mscomm.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QRadioButton;

// The port settings window. It owns the serial control, and so the glove link, for the whole
// run; most of the time it is hidden. Choosing a port takes effect at once; OK only hides it.
class FrmComPort : public QWidget
{
    Q_OBJECT

public:
    FrmComPort();

    MSComm &comm() { return m_comm; }

    void optComm1_Click();
    void optComm2_Click();
    void cmdOK_Click();
    void MSComm_OnComm();

    QLabel *Label1 = nullptr;
    QWidget *fraComPort = nullptr;
    QRadioButton *optComm1 = nullptr;
    QRadioButton *optComm2 = nullptr;
    QPushButton *cmdOK = nullptr;

    // What an option's port stands for now: its device, or what it waits for.
    QString portTip(int port) const;

protected:
    // A close request through the window frame hides the window as OK does: the serial
    // control must live on.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // The options' tooltips are brought up to date whenever one is about to show.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updatePortTips();

    MSComm m_comm;
    GlovePacketReader m_reader;
};

#endif // FRMCOMPORT_H
