#include "frmabout.h"

#include "appicon.h"
#include "frmflex.h"
#include "instances.h"
#include "look.h"
#include "twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel *newLabel(const char *name, const QString &text, QRect twipsGeometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(twipsGeometry);
    return label;
}

} // namespace

FrmAbout::FrmAbout()
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(twips(5730), twips(2445));
    move(twips(2340), twips(1935));

    // Created in tab order.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdOK->setGeometry(twipsRect(4245, 1920, 1260, 345));
    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(QPixmap::fromImage(AppIcon::image(32, AppIcon::SixteenColours)));
    picIcon->setFocusPolicy(Qt::TabFocus);
    picIcon->setGeometry(QRect(QPoint(twips(240), twips(240)), picIcon->pixmap().size()));

    lblDescription =
        newLabel("lblDescription", QStringLiteral("Written by the Vantrel glove team, 2003"),
                 twipsRect(1050, 1125, 3885, 330), this);

    lblTitle = newLabel("lblTitle", QStringLiteral("Vantrel Software"),
                        twipsRect(1050, 240, 3885, 480), this);
    lblTitle->setFont(Look::aboutTitleFont());
    QPalette blueText = lblTitle->palette();
    blueText.setColor(QPalette::WindowText, Look::TitleBlue);
    lblTitle->setPalette(blueText);

    lblVersion = newLabel("lblVersion", QStringLiteral("Version 0.1"),
                          twipsRect(1050, 780, 3885, 225), this);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Look::setBackground(Line1, Look::Grey);
    Line1->setGeometry(twips(120), twips(1680), twips(5684) - twips(120) + 1, 1);
}

void FrmAbout::cmdOK_Click()
{
    // Hiding ends the modal showing; the box itself is kept for the next request.
    hide();
    frmFlex()->showInFront();
}

void FrmAbout::reject()
{
    cmdOK_Click();
}
