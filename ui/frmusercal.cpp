#include "frmusercal.h"

#include "frmflex.h"
#include "handreading.h"
#include "instances.h"
#include "samplepresentation.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct StepText
{
    const char *title;
    const char *instruction;
};

const StepText Steps[] = {
    {"Step 1 of 3: the open hand",
     "Hold your hand open and flat, fingers straight, palm level. Keep it still and press "
     "Enter."},
    {"Step 2 of 3: the fist",
     "Make a fist, as tight as is comfortable. Keep it still and press Enter."},
    {"Step 3 of 3: the tilt",
     "Tilt your hand as far as it goes each way: left and right, then forward and back. Then "
     "press Enter to finish."},
};

QString number(double value)
{
    return QString::number(value, 'f', value == std::floor(value) ? 0 : 1);
}

} // namespace

FrmUserCal::FrmUserCal()
{
    setObjectName(QStringLiteral("frmUserCal"));
    setWindowTitle(QStringLiteral("User Calibration"));

    lblStep = new QLabel(this);
    lblStep->setObjectName(QStringLiteral("lblStep"));
    QFont bold = lblStep->font();
    bold.setBold(true);
    lblStep->setFont(bold);
    lblInstruction = new QLabel(this);
    lblInstruction->setObjectName(QStringLiteral("lblInstruction"));
    lblInstruction->setWordWrap(true);

    auto *table = new QGridLayout;
    const char *const headings[] = {"Now", "Open", "Fist", "Tilt range"};
    for (int column = 0; column < 4; ++column) {
        auto *heading = new QLabel(QLatin1String(headings[column]), this);
        heading->setFont(bold);
        table->addWidget(heading, 0, column + 1, Qt::AlignRight);
    }
    const char *const channels[HandPose::Channels] = {"Thumb", "Index", "Middle",
                                                      "Ring",  "Roll",  "Pitch"};
    for (int c = 0; c < HandPose::Channels; ++c) {
        table->addWidget(new QLabel(QLatin1String(channels[c]), this), c + 1, 0);
        for (int column = 0; column < 4; ++column) {
            auto *cell = new QLabel(this);
            cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setMinimumWidth(
                cell->fontMetrics().horizontalAdvance(QStringLiteral("000.0 to 000.0")) /
                (column == 3 ? 1 : 2));
            table->addWidget(cell, c + 1, column + 1);
            m_cells[c][column] = cell;
        }
    }

    lblProblems = new QLabel(this);
    lblProblems->setObjectName(QStringLiteral("lblProblems"));
    lblProblems->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    cmdReset = buttons->addButton(QStringLiteral("&Reset"), QDialogButtonBox::ResetRole);
    cmdReset->setObjectName(QStringLiteral("cmdReset"));
    cmdReset->setToolTip(QStringLiteral("Removes the calibration: the bars and the hand show the "
                                        "raw readings. File > Save keeps that for the next run."));
    cmdCancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdNext = buttons->addButton(QStringLiteral("&Next"), QDialogButtonBox::AcceptRole);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    // Enter goes on to the next step, whichever button has the focus.
    cmdReset->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    cmdNext->setDefault(true);
    connect(cmdReset, &QPushButton::clicked, this, &FrmUserCal::cmdReset_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdNext, &QPushButton::clicked, this, &FrmUserCal::cmdNext_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblStep);
    layout->addWidget(lblInstruction);
    layout->addLayout(table);
    layout->addWidget(lblProblems);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(440);

    m_refresh.setInterval(100);
    connect(&m_refresh, &QTimer::timeout, this, &FrmUserCal::refresh);
}

void FrmUserCal::begin()
{
    if (!isVisible()) {
        m_capture = CalibrationCapture();
        handReading().setCapture(&m_capture);
        m_refresh.start();
        showStep();
    }
    show();
    raise();
    activateWindow();
}

void FrmUserCal::showStep()
{
    const StepText &text = Steps[std::min(int(m_capture.step()), 2)];
    lblStep->setText(QLatin1String(text.title));
    lblInstruction->setText(QLatin1String(text.instruction));
    cmdNext->setText(m_capture.step() == CalibrationCapture::Tilt ? QStringLiteral("&Finish")
                                                                  : QStringLiteral("&Next"));
    refresh();
}

void FrmUserCal::refresh()
{
    const auto latest = m_capture.latest();
    const auto open = m_capture.open();
    const auto fist = m_capture.fist();
    const std::optional<TiltRange> tilts[2] = {m_capture.rollRange(), m_capture.pitchRange()};
    for (int c = 0; c < HandPose::Channels; ++c) {
        auto &row = m_cells[c];
        const bool isTilt = c >= HandPose::Roll;
        row[0]->setText(latest ? number(rawChannels(*latest)[c]) : QStringLiteral("–"));
        row[1]->setText(open ? number((*open)[c]) : QString());
        row[2]->setText(fist && !isTilt ? number((*fist)[c]) : QString());
        const auto &tilt = isTilt ? tilts[c - HandPose::Roll] : std::nullopt;
        row[3]->setText(tilt ? QStringLiteral("%1 to %2").arg(number(tilt->low), number(tilt->high))
                             : QString());
    }
    QStringList said;
    if (!latest)
        said << QStringLiteral("No readings from the glove yet: is it plugged in and on?");
    said << m_capture.problems();
    lblProblems->setText(said.join(QLatin1Char('\n')));
    cmdNext->setEnabled(m_capture.canAdvance());
}

void FrmUserCal::cmdNext_Click()
{
    if (!m_capture.canAdvance())
        return;
    m_capture.advance();
    if (m_capture.step() != CalibrationCapture::Done) {
        showStep();
        return;
    }
    handReading().setCalibration(m_capture.result());
    frmFlex()->showCalibrationState();
    accept();
}

void FrmUserCal::cmdReset_Click()
{
    handReading().setCalibration(Calibration());
    frmFlex()->showCalibrationState();
    accept();
}

void FrmUserCal::hideEvent(QHideEvent *event)
{
    // However it closes, the samples stop coming here.
    m_refresh.stop();
    if (handReading().capture() == &m_capture)
        handReading().setCapture(nullptr);
    QDialog::hideEvent(event);
}
