#include "fingerbar.h"

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
    // A sunken one-pixel edge, then the empty and the filled part of the inside.
    QPainter painter(this);
    const QRect all = rect();
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.fillRect(QRect(all.left(), all.top(), all.width(), 1), dark);
    painter.fillRect(QRect(all.left(), all.top(), 1, all.height()), dark);
    painter.fillRect(QRect(all.left() + 1, all.bottom(), all.width() - 1, 1), light);
    painter.fillRect(QRect(all.right(), all.top() + 1, 1, all.height() - 1), light);
    const QRect filled = filledRect();
    const QRect area = inside();
    painter.fillRect(QRect(area.topLeft(), QPoint(area.right(), filled.top() - 1)),
                     palette().color(QPalette::Base));
    if (!filled.isEmpty())
        painter.fillRect(filled, palette().color(QPalette::Highlight));
}
