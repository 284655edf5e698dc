#include "fingerbar.h"

#include <QEvent>
#include <QPainter>

FingerBar::FingerBar(QWidget *parent) : QProgressBar(parent)
{
    setOrientation(Qt::Vertical);
    // The bar draws no text of its own. Its text counts as shown with a format of the value,
    // so that each new value repaints it at once: otherwise QProgressBar works out, for every
    // value, the percentage text and the groove's size to decide whether the change shows,
    // which cost more than the rest of setting the value.
    setFormat(QStringLiteral("%v"));
    setTextVisible(true);
    QProgressBar::setValue(m_value);
    connect(this, &QProgressBar::valueChanged, this, [this](int value) { m_value = value; });
}

void FingerBar::setValue(int value)
{
    if (value == m_value || value < minimum() || value > maximum())
        return;
    // The first change since the bar was last painted asks for a frame; later ones go with
    // it. The bar may be painted outside a frame (shown, uncovered), so what was painted
    // last is not always QProgressBar's value.
    if (!m_repaintAsked) {
        update();
        m_repaintAsked = true;
    }
    m_value = value;
}

void FingerBar::showValue()
{
    QProgressBar::setValue(m_value);
}

bool FingerBar::event(QEvent *event)
{
    const bool handled = QProgressBar::event(event);
    // It paints every pixel of itself, so nothing behind it need be drawn when its value
    // changes. The style's polish turns that off for progress bars; it is turned on again
    // after each.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

QRect FingerBar::filledRect() const
{
    const QRect area = inside();
    const int span = maximum() - minimum();
    const int height = span > 0 ? qRound(double(area.height()) * (m_value - minimum()) / span) : 0;
    return QRect(area.left(), area.bottom() + 1 - height, area.width(), height);
}

void FingerBar::drawBar(QPainter &painter, int filledHeight) const
{
    // A sunken one-pixel edge (dark above and on the left, light below and on the right),
    // then the empty and the filled part of the inside.
    const QPalette &colours = palette();
    const QRect all = rect();
    painter.fillRect(all, colours.color(QPalette::Dark));
    painter.fillRect(all.adjusted(1, 1, 0, 0), colours.color(QPalette::Light));
    const QRect area = inside();
    painter.fillRect(area.adjusted(0, 0, 0, -filledHeight), colours.color(QPalette::Base));
    painter.fillRect(area.adjusted(0, area.height() - filledHeight, 0, 0),
                     colours.color(QPalette::Highlight));
}

void FingerBar::renewPictures()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_empty.size() == pixels && m_empty.devicePixelRatio() == ratio &&
        m_paletteKey == palette().cacheKey())
        return;
    m_paletteKey = palette().cacheKey();
    for (QImage *picture : {&m_empty, &m_full}) {
        *picture = QImage(pixels, QImage::Format_RGB32);
        picture->setDevicePixelRatio(ratio);
        QPainter painter(picture);
        drawBar(painter, picture == &m_full ? inside().height() : 0);
    }
}

void FingerBar::paintEvent(QPaintEvent *)
{
    m_repaintAsked = false;
    renewPictures();
    QPainter painter(this);
    // Above the top of the fill the empty bar, from there down the full one.
    const qreal ratio = m_empty.devicePixelRatio();
    const QRectF above(0, 0, width(), filledRect().top());
    const QRectF below(0, above.bottom(), width(), height() - above.height());
    const auto inPixels = [ratio](const QRectF &area) {
        return QRectF(area.topLeft() * ratio, area.size() * ratio);
    };
    painter.drawImage(above, m_empty, inPixels(above));
    painter.drawImage(below, m_full, inPixels(below));
}
