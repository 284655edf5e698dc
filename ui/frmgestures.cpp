#include "frmgestures.h"

#include "dialogbuttons.h"
#include "frmflex.h"
#include "handreading.h"
#include "instances.h"
#include "look.h"
#include "samplepresentation.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A small hand, palm towards the viewer, each finger drawn long when straight and folded to a
// stub when bent. The little finger goes with the ring finger, as on the main window's bars.
class ShapePicture : public QWidget
{
public:
    ShapePicture(int pattern, QWidget *parent) : QWidget(parent), m_pattern(pattern)
    {
        setFixedSize(44, 44);
        setToolTip(tip(pattern));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Look::Skin);
        const auto bent = [this](int finger) { return (m_pattern & (1 << finger)) != 0; };
        // Index, middle, ring and little finger: x, straight length.
        const struct
        {
            int finger;
            double x;
            double length;
        } fingers[] = {{1, 15, 17}, {2, 22, 19}, {3, 29, 17}, {3, 36, 13}};
        const double palmTop = 24;
        for (const auto &f : fingers) {
            const double length = bent(f.finger) ? 4 : f.length;
            painter.drawRoundedRect(QRectF(f.x - 3, palmTop - length, 6, length + 4), 3, 3);
        }
        // The thumb out to the side when straight, folded across the palm when bent.
        const QRectF thumb = bent(0) ? QRectF(11, 29, 14, 6) : QRectF(2, 25, 14, 6);
        painter.drawRoundedRect(QRectF(11, palmTop, 29, 18), 5, 5);
        painter.drawRoundedRect(thumb, 3, 3);
    }

private:
    static QString tip(int pattern)
    {
        const char *const names[] = {"thumb", "index", "middle", "ring"};
        QStringList bent, straight;
        for (int f = 0; f < HandShapes::Fingers; ++f)
            (pattern & (1 << f) ? bent : straight) << QLatin1String(names[f]);
        if (bent.isEmpty())
            return QStringLiteral("All fingers straight");
        if (straight.isEmpty())
            return QStringLiteral("All fingers bent");
        return QStringLiteral("Bent: %1. Straight: %2.")
            .arg(bent.join(QLatin1String(", ")), straight.join(QLatin1String(", ")));
    }

    int m_pattern;
};

bool fingersCalibrated()
{
    const Calibration &calibration = handReading().calibration();
    for (const auto &finger : calibration.fingers)
        if (!finger)
            return false;
    return true;
}

} // namespace

FrmGestures::FrmGestures()
{
    setObjectName(QStringLiteral("frmGestures"));
    setWindowTitle(QStringLiteral("Set Gestures"));

    chkRecognise = new QCheckBox(QStringLiteral("&Recognise hand shapes"), this);
    chkRecognise->setObjectName(QStringLiteral("chkRecognise"));
    auto *about = new QLabel(
        QStringLiteral("A named shape held for a tenth of a second shows in the status bar and "
                       "goes out over OSC. A finger counts as bent past 60 % of its bend and "
                       "as straight below 40 %. A shape with no name is not reported."),
        this);
    about->setWordWrap(true);
    lblCalibration = new QLabel(
        QStringLiteral("The fingers are not calibrated, so no shape can be told: fit the glove "
                       "first with Calibration > User Cal."),
        this);
    lblCalibration->setObjectName(QStringLiteral("lblCalibration"));
    lblCalibration->setWordWrap(true);
    lblCalibration->setFont(Look::boldDefaultFont());

    auto *grid = new QGridLayout;
    for (int pattern = 0; pattern < HandShapes::Patterns; ++pattern) {
        auto *row = new QWidget(this);
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(2, 2, 2, 2);
        rowLayout->addWidget(new ShapePicture(pattern, row));
        auto *name = new QLineEdit(row);
        name->setObjectName(QStringLiteral("txtShape_") + HandShapes::code(pattern));
        name->setMaxLength(HandShapes::MaxNameLength);
        name->setPlaceholderText(QStringLiteral("not reported"));
        name->setAccessibleName(row->findChild<ShapePicture *>()->toolTip());
        rowLayout->addWidget(name);
        row->setAutoFillBackground(true);
        grid->addWidget(row, pattern % 8, pattern / 8);
        txtShape[pattern] = name;
        m_rows[pattern] = row;
    }

    const DialogButtons buttons = okAndCancel(this);
    cmdOK = buttons.ok;
    cmdCancel = buttons.cancel;
    cmdDefaults = buttons.box->addButton(QStringLiteral("&Defaults"), QDialogButtonBox::ResetRole);
    cmdDefaults->setObjectName(QStringLiteral("cmdDefaults"));
    cmdDefaults->setAutoDefault(false);
    connect(cmdDefaults, &QPushButton::clicked, this, &FrmGestures::cmdDefaults_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmGestures::cmdOK_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chkRecognise);
    layout->addWidget(about);
    layout->addWidget(lblCalibration);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("File > Save keeps them for the next run."), this));
    layout->addWidget(buttons.box);

    m_refresh.setInterval(100);
    connect(&m_refresh, &QTimer::timeout, this, &FrmGestures::refresh);
}

void FrmGestures::begin()
{
    if (!isVisible()) {
        showShapes(handReading().handShapes());
        m_refresh.start();
        refresh();
    }
    show();
    raise();
    activateWindow();
}

void FrmGestures::showShapes(const HandShapes &shapes)
{
    chkRecognise->setChecked(shapes.recognise);
    for (int pattern = 0; pattern < HandShapes::Patterns; ++pattern)
        txtShape[pattern]->setText(shapes.names[pattern]);
}

void FrmGestures::refresh()
{
    lblCalibration->setVisible(!fingersCalibrated());
    const int now = handReading().currentPattern();
    if (now == m_marked)
        return;
    for (int pattern : {m_marked, now}) {
        if (pattern < 0)
            continue;
        QPalette colours = palette();
        if (pattern == now)
            colours.setColor(QPalette::Window, palette().color(QPalette::Highlight));
        m_rows[pattern]->setPalette(colours);
    }
    m_marked = now;
}

void FrmGestures::cmdOK_Click()
{
    HandShapes shapes;
    shapes.recognise = chkRecognise->isChecked();
    for (int pattern = 0; pattern < HandShapes::Patterns; ++pattern)
        shapes.names[pattern] = txtShape[pattern]->text().trimmed();
    handReading().setHandShapes(shapes);
    accept();
}

void FrmGestures::cmdDefaults_Click()
{
    HandShapes defaults = HandShapes::defaults();
    defaults.recognise = chkRecognise->isChecked();
    showShapes(defaults);
}

void FrmGestures::hideEvent(QHideEvent *event)
{
    m_refresh.stop();
    QDialog::hideEvent(event);
}
