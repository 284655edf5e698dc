#include "readoutlabel.h"

#include <QEvent>
#include <QPainter>

namespace {
// More texts than a byte's values are not kept.
constexpr int MostTextsKept = 512;
} // namespace

ReadoutLabel::ReadoutLabel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    setTextFormat(Qt::PlainText);
}

const ReadoutLabel::LaidOut &ReadoutLabel::laidOut(const QString &text)
{
    auto found = m_laidOut.find(text);
    if (found != m_laidOut.end())
        return *found;
    if (m_laidOut.size() >= MostTextsKept)
        m_laidOut.clear();
    LaidOut entry;
    entry.text.setTextFormat(Qt::PlainText);
    entry.text.setText(text);
    entry.text.prepare(QTransform(), font());
    // Where a label puts it.
    entry.origin =
        QFontMetricsF(font()).boundingRect(contentsRect(), int(alignment()), text).topLeft();
    return *m_laidOut.insert(text, entry);
}

void ReadoutLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_laidOut.clear();
}

void ReadoutLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    m_laidOut.clear();
}

void ReadoutLabel::paintEvent(QPaintEvent *)
{
    // The box a plain label draws, as four filled strips.
    QPainter painter(this);
    const QRect all = rect();
    const QColor ink = palette().color(foregroundRole());
    const int w = lineWidth();
    painter.fillRect(QRect(all.left(), all.top(), all.width(), w), ink);
    painter.fillRect(QRect(all.left(), all.bottom() + 1 - w, all.width(), w), ink);
    painter.fillRect(QRect(all.left(), all.top(), w, all.height()), ink);
    painter.fillRect(QRect(all.right() + 1 - w, all.top(), w, all.height()), ink);
    if (text().isEmpty())
        return;
    const LaidOut &shown = laidOut(text());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(shown.origin, shown.text);
}
