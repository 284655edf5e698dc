#include "frmdatalog.h"

#include "dialogbuttons.h"
#include "frmflex.h"
#include "instances.h"
#include "look.h"
#include "samplesinks.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// Where new recordings go, and the OSC target offered; empty for the defaults.
QString lastFolder;
QString lastTarget;

QString folder()
{
    if (!lastFolder.isEmpty())
        return lastFolder;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("Vantrel"));
}

QString target()
{
    return lastTarget.isEmpty() ? QStringLiteral("localhost:9000") : lastTarget;
}

// A new, dated name in the folder; never an existing file.
QString newFileName()
{
    const QDir in(folder());
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = in.filePath(QStringLiteral("glove-%1.csv").arg(stamp));
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = in.filePath(QStringLiteral("glove-%1-%2.csv").arg(stamp).arg(n));
    return QDir::toNativeSeparators(name);
}

} // namespace

FrmDataLog::FrmDataLog()
{
    setObjectName(QStringLiteral("frmDataLog"));
    setWindowTitle(QStringLiteral("Data Logging"));

    chkRecord = new QCheckBox(QStringLiteral("&Record to file"), this);
    chkRecord->setObjectName(QStringLiteral("chkRecord"));
    txtFile = new QLineEdit(this);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setAccessibleName(QStringLiteral("File"));
    txtFile->setMinimumWidth(360);
    cmdBrowse = new QPushButton(QStringLiteral("&Browse…"), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    chkOsc = new QCheckBox(QStringLiteral("Se&nd over OSC"), this);
    chkOsc->setObjectName(QStringLiteral("chkOsc"));
    txtOsc = new QLineEdit(this);
    txtOsc->setObjectName(QStringLiteral("txtOsc"));
    txtOsc->setAccessibleName(QStringLiteral("OSC target"));
    txtOsc->setPlaceholderText(QStringLiteral("host:port"));
    connect(cmdBrowse, &QPushButton::clicked, this, &FrmDataLog::cmdBrowse_Click);

    auto *grid = new QGridLayout;
    grid->addWidget(chkRecord, 0, 0, 1, 2);
    grid->addWidget(txtFile, 1, 0);
    grid->addWidget(cmdBrowse, 1, 1);
    grid->addWidget(chkOsc, 2, 0, 1, 2);
    grid->addWidget(txtOsc, 3, 0);
    auto *about = new QLabel(
        QStringLiteral("Every sample shown is written as a row of a new CSV file, and sent as "
                       "/vantrel/glove and /vantrel/hand messages over UDP, from OK until Stop."),
        this);
    about->setWordWrap(true);
    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);
    lblState->setFont(Look::boldDefaultFont());

    const DialogButtons buttons = okAndCancel(this);
    cmdOK = buttons.ok;
    cmdCancel = buttons.cancel;
    cmdStop = buttons.box->addButton(QStringLiteral("&Stop"), QDialogButtonBox::ActionRole);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setAutoDefault(false);
    connect(cmdStop, &QPushButton::clicked, this, &FrmDataLog::cmdStop_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmDataLog::cmdOK_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(about);
    layout->addWidget(lblState);
    layout->addStretch();
    layout->addWidget(buttons.box);
}

void FrmDataLog::begin()
{
    if (!isVisible()) {
        const SampleSinks &sinks = sampleSinks();
        if (!sinks.isLogging()) {
            chkRecord->setChecked(true);
            txtFile->setText(newFileName());
            chkOsc->setChecked(false);
            txtOsc->setText(target());
        }
        showState();
        // Ready to start: the name is the likeliest thing to change.
        (sampleSinks().isLogging() ? static_cast<QWidget *>(cmdOK) : txtFile)->setFocus();
    }
    show();
    raise();
    activateWindow();
}

void FrmDataLog::showState()
{
    const SampleSinks &sinks = sampleSinks();
    const bool logging = sinks.isLogging();
    if (logging) {
        chkRecord->setChecked(sinks.isRecording());
        if (sinks.isRecording())
            txtFile->setText(QDir::toNativeSeparators(sinks.recording()->path()));
        chkOsc->setChecked(!sinks.forwardingTarget().isEmpty());
        if (chkOsc->isChecked())
            txtOsc->setText(sinks.forwardingTarget());
    }
    // What runs is shown, not changed: Stop first.
    for (QWidget *field :
         std::initializer_list<QWidget *>{chkRecord, txtFile, cmdBrowse, chkOsc, txtOsc})
        field->setEnabled(!logging);
    cmdStop->setEnabled(logging);
    cmdCancel->setVisible(!logging);
    cmdOK->setText(logging ? QStringLiteral("Close") : QStringLiteral("OK"));
    const QString file =
        sinks.isRecording() ? QFileInfo(sinks.recording()->path()).fileName() : QString();
    const QString target = sinks.forwardingTarget();
    QString running;
    if (!file.isEmpty() && !target.isEmpty())
        running =
            QStringLiteral("Recording to %1 and sending to %2. Stop ends both.").arg(file, target);
    else if (!file.isEmpty())
        running = QStringLiteral("Recording to %1. Stop ends it.").arg(file);
    else if (!target.isEmpty())
        running = QStringLiteral("Sending to %1. Stop ends it.").arg(target);
    lblState->setText(running);
}

void FrmDataLog::cmdBrowse_Click()
{
    // Vantrel refuses an existing file itself, and says so, rather than offer to overwrite it.
    const QString chosen =
        QFileDialog::getSaveFileName(this, QStringLiteral("Record to file"), txtFile->text(),
                                     QStringLiteral("CSV files (*.csv);;All files (*)"), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty())
        txtFile->setText(QDir::toNativeSeparators(chosen));
}

void FrmDataLog::cmdOK_Click()
{
    SampleSinks &sinks = sampleSinks();
    if (sinks.isLogging()) {
        accept();
        return;
    }
    const QString path = QDir::fromNativeSeparators(txtFile->text().trimmed());
    const QString target = txtOsc->text().trimmed();
    QString error;
    if (chkRecord->isChecked() && QFileInfo::exists(path))
        error = QStringLiteral("%1 exists already: choose another name.").arg(txtFile->text());
    else if (chkRecord->isChecked() && path.isEmpty())
        error = QStringLiteral("Name the file to record to.");
    // The target first, as at start-up: a file is made only once all else is known good.
    if (error.isEmpty() && chkOsc->isChecked() && !sinks.startForwarding(target, &error))
        error.replace(QLatin1String("--osc"), QLatin1String("OSC"));
    if (error.isEmpty() && chkRecord->isChecked()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!sinks.startRecording(path, &error))
            sinks.stop();
    }
    if (!error.isEmpty()) {
        lblState->setText(error);
        return;
    }
    if (chkRecord->isChecked())
        lastFolder = QFileInfo(path).absolutePath();
    if (chkOsc->isChecked())
        lastTarget = target;
    frmFlex()->showLogging();
    accept();
}

void FrmDataLog::cmdStop_Click()
{
    sampleSinks().stop();
    frmFlex()->showLogging();
    txtFile->setText(newFileName());
    showState();
    txtFile->setFocus();
}

void loadLoggingSettings(QSettings &settings)
{
    lastFolder = settings.value(QStringLiteral("Logging/Folder")).toString();
    lastTarget = settings.value(QStringLiteral("Logging/Osc")).toString();
}

void saveLoggingSettings(QSettings &settings)
{
    settings.remove(QStringLiteral("Logging"));
    if (!lastFolder.isEmpty())
        settings.setValue(QStringLiteral("Logging/Folder"), lastFolder);
    if (!lastTarget.isEmpty())
        settings.setValue(QStringLiteral("Logging/Osc"), lastTarget);
}
