#include "fingerbar.h"

#include <QPainter>
#include <qdrawutil.h>

FingerBar::FingerBar(QWidget *parent) : QProgressBar(parent)
{
    setOrientation(Qt::Vertical);
    setTextVisible(false);
    // It paints every pixel of itself, so nothing behind it is drawn when its value changes.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    painter.fillRect(inside(), palette().color(QPalette::Base));
    if (const QRect filled = filledRect(); !filled.isEmpty())
        painter.fillRect(filled, palette().color(QPalette::Highlight));
}
