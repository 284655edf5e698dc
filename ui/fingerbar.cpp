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
    const int height = span > 0 ? qRound(double(area.height()) * (value() - minimum()) / span) : 0;
    return QRect(area.left(), area.bottom() + 1 - height, area.width(), height);
}

void FingerBar::paintEvent(QPaintEvent *)
{
    // A sunken one-pixel edge (dark above and on the left, light below and on the right),
    // then the empty and the filled part of the inside.
    QPainter painter(this);
    const QPalette &colours = palette();
    const QRect all = rect();
    painter.fillRect(all, colours.color(QPalette::Dark));
    painter.fillRect(all.adjusted(1, 1, 0, 0), colours.color(QPalette::Light));
    const QRect filled = filledRect();
    const QRect area = inside();
    painter.fillRect(QRect(area.topLeft(), QPoint(area.right(), filled.top() - 1)),
                     colours.color(QPalette::Base));
    if (!filled.isEmpty())
        painter.fillRect(filled, colours.color(QPalette::Highlight));
}
