#include "frmcomport.h"

#include "frmflex.h"
#include "instances.h"
#include "look.h"
#include "opengloveport.h"
#include "samplepresentation.h"
#include "twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

FrmComPort::FrmComPort() : m_reader(m_comm, ShowGloveSample)
{
    setObjectName(QStringLiteral("frmComPort"));
    setWindowTitle(QStringLiteral("Com Port Settings"));
    setWindowFlag(Qt::Window);
    resize(twips(3720), twips(1995));
    move(twips(5505), twips(3615));
    m_comm.setObjectName(QStringLiteral("MSComm"));
    m_comm.setPortDevices(configuredPortDevices());

    Label1 = new QLabel(QStringLiteral("Choose your appropriate Com Port Setting."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Look::boldDefaultFont());
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setGeometry(twipsRect(630, 105, 2430, 540));

    // Created in tab order.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdOK->setGeometry(twipsRect(1365, 1470, 855, 435));

    // An invisible group that makes the two options exclusive.
    fraComPort = new QWidget(this);
    fraComPort->setObjectName(QStringLiteral("fraComPort"));
    fraComPort->setGeometry(twipsRect(105, 735, 3480, 645));
    optComm1 = new QRadioButton(QStringLiteral("ComPort 1"), fraComPort);
    optComm1->setObjectName(QStringLiteral("optComm1"));
    optComm1->setGeometry(twipsRect(315, 210, 1275, 330));
    optComm2 = new QRadioButton(QStringLiteral("ComPort 2"), fraComPort);
    optComm2->setObjectName(QStringLiteral("optComm2"));
    optComm2->setGeometry(twipsRect(1890, 210, 1275, 330));

    // An option's click handler runs when it becomes selected, by the user or by the program.
    connect(optComm1, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            optComm1_Click();
    });
    connect(optComm2, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            optComm2_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, &FrmComPort::cmdOK_Click);
    connect(&m_comm, &MSComm::OnComm, this, &FrmComPort::MSComm_OnComm);
    connect(&m_comm, &MSComm::linkChanged, this, [this] {
        if (isVisible())
            updatePortTips();
    });
    optComm1->installEventFilter(this);
    optComm2->installEventFilter(this);
}

QString FrmComPort::portTip(int port) const
{
    const std::optional<PortTarget> target = m_comm.target();
    const bool chosen = port == m_comm.CommPort() && target;
    if (chosen && m_comm.PortOpen())
        return target->label();
    if (chosen && m_comm.isWaitingForDevice())
        return m_comm.portDevices().describe(*target);
    return m_comm.portDevices().describe(port);
}

void FrmComPort::updatePortTips()
{
    optComm1->setToolTip(portTip(1));
    optComm2->setToolTip(portTip(2));
}

void FrmComPort::showEvent(QShowEvent *event)
{
    updatePortTips();
    QWidget::showEvent(event);
}

bool FrmComPort::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        updatePortTips();
    return QWidget::eventFilter(watched, event);
}

void FrmComPort::optComm1_Click()
{
    OpenGlovePort(m_comm, 1);
}

void FrmComPort::optComm2_Click()
{
    OpenGlovePort(m_comm, 2);
}

void FrmComPort::cmdOK_Click()
{
    hide();
    frmFlex()->showInFront();
}

void FrmComPort::MSComm_OnComm()
{
    m_reader.MSComm_OnComm();
}

void FrmComPort::closeEvent(QCloseEvent *event)
{
    event->ignore();
    cmdOK_Click();
}
