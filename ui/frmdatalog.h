#ifndef FRMDATALOG_H
#define FRMDATALOG_H

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;

// The Data Logging dialog: records every sample shown to a new file and forwards it over OSC,
// either or both, from OK until Stop; the same logging --record and --osc start.
class FrmDataLog : public QDialog
{
    Q_OBJECT

public:
    FrmDataLog();

    // Shows what runs now, or what may be started, and brings the dialog to the front.
    void begin();

    void cmdOK_Click();
    void cmdStop_Click();
    void cmdBrowse_Click();

    QCheckBox *chkRecord = nullptr;
    QLineEdit *txtFile = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QCheckBox *chkOsc = nullptr;
    QLineEdit *txtOsc = nullptr;
    QLabel *lblState = nullptr;
    QPushButton *cmdStop = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void showState();
};

// The folder of the last recording and the last OSC target, as File > Save keeps them; never
// whether logging runs. Ones that were never changed are not written.
void loadLoggingSettings(QSettings &settings);
void saveLoggingSettings(QSettings &settings);

#endif // FRMDATALOG_H
