#include "handframe.h"

#include "look.h"
#include "twips.h"

#include <QPainter>
#include <utility>

HandShape::HandShape(Kind kind, const QColor &fill, const QColor &outline, QWidget *parent)
    : QWidget(parent), m_kind(kind), m_fill(fill), m_outline(outline)
{}

void HandShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_outline);
    painter.setBrush(m_fill);
    const QRect outline = rect().adjusted(0, 0, -1, -1);
    if (m_kind == RoundedRectangle) {
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal radius = std::min(width(), height()) / 4.0;
        painter.drawRoundedRect(QRectF(outline).translated(0.5, 0.5), radius, radius);
    } else {
        painter.drawRect(outline);
    }
}

HandFrame::HandFrame(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("fraHand"));
    setFrameShape(QFrame::NoFrame);
    Look::setBackground(this, Look::Grey);
    resize(twips(675), twips(600));
    place();

    // Later shapes lie on top of earlier ones: the palm over the fingers' lower ends, the thumb
    // over the palm's edge.
    const QColor windowBackground = palette().color(QPalette::Base);
    struct Part
    {
        const char *name;
        HandShape::Kind kind;
        QRect twips;
        QColor outline;
    };
    const Part parts[] = {
        {"Shape1", HandShape::Rectangle, {210, 50, 75, 255}, Qt::black},
        {"Shape2", HandShape::Rectangle, {300, 50, 75, 255}, Qt::black},
        {"Shape3", HandShape::Rectangle, {390, 50, 75, 255}, Qt::black},
        {"Shape4", HandShape::Rectangle, {480, 50, 75, 255}, Qt::black},
        {"shpPalm", HandShape::RoundedRectangle, {210, 290, 345, 255}, windowBackground},
        {"Shape5", HandShape::RoundedRectangle, {30, 380, 195, 105}, windowBackground},
    };
    for (const Part &part : parts) {
        auto *shape = new HandShape(part.kind, Look::Skin, part.outline, this);
        shape->setObjectName(QLatin1String(part.name));
        shape->setGeometry(
            twipsRect(part.twips.x(), part.twips.y(), part.twips.width(), part.twips.height()));
    }
}

void HandFrame::setLeftTwips(double left)
{
    m_leftTwips = left;
    place();
}

void HandFrame::setTopTwips(double top)
{
    m_topTwips = top;
    place();
}

QPoint HandFrame::placement() const
{
    return {qRound(m_leftTwips / TwipsPerPixel), qRound(m_topTwips / TwipsPerPixel)};
}

void HandFrame::place()
{
    if (!isVisible()) {
        move(placement());
        return;
    }
    if (placement() != pos() && !std::exchange(m_placementPending, true))
        emit placementPending();
}

void HandFrame::applyPlacement()
{
    if (std::exchange(m_placementPending, false))
        move(placement());
}
