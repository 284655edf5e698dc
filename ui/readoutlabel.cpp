#include "readoutlabel.h"

#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>

namespace {

struct LaidOut
{
    QStaticText text;
    QPointF origin; // from the contents' top left corner
};

// Texts laid out in one font, in contents of one size, aligned one way: the readouts'.
class LaidOutTexts
{
public:
    const LaidOut &of(const QString &text, const QFont &font, QSize area, Qt::Alignment alignment)
    {
        if (font != m_font || area != m_area || alignment != m_alignment ||
            m_texts.size() >= MostTextsKept) {
            m_texts.clear();
            m_font = font;
            m_area = area;
            m_alignment = alignment;
        }
        auto found = m_texts.find(text);
        if (found != m_texts.end())
            return *found;
        LaidOut entry;
        entry.text.setTextFormat(Qt::PlainText);
        entry.text.setText(text);
        entry.text.prepare(QTransform(), font);
        // Where a label puts it.
        entry.origin =
            QFontMetricsF(font).boundingRect(QRect(QPoint(), area), int(alignment), text).topLeft();
        return *m_texts.insert(text, entry);
    }

private:
    // More than a byte's values are not kept.
    static constexpr int MostTextsKept = 512;

    QFont m_font;
    QSize m_area;
    Qt::Alignment m_alignment;
    QHash<QString, LaidOut> m_texts;
};

} // namespace

ReadoutLabel::ReadoutLabel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    setTextFormat(Qt::PlainText);
    // It paints its background itself: nothing behind it is drawn when its text changes, and
    // the background takes no painter of its own.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReadoutLabel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    // A new text repaints the inside only; the box, four filled strips as a plain label draws
    // it, only where it is to be painted too.
    if (!area.contains(event->rect())) {
        const QRect all = rect();
        const QColor ink = palette().color(foregroundRole());
        const int w = lineWidth();
        painter.fillRect(QRect(all.left(), all.top(), all.width(), w), ink);
        painter.fillRect(QRect(all.left(), all.bottom() + 1 - w, all.width(), w), ink);
        painter.fillRect(QRect(all.left(), all.top(), w, all.height()), ink);
        painter.fillRect(QRect(all.right() + 1 - w, all.top(), w, all.height()), ink);
    }
    painter.fillRect(area, palette().color(backgroundRole()));
    if (text().isEmpty())
        return;
    // Kept to the end of the process, as the windows are; fonts must not outlive the
    // application object, which a static's destructor would make them do.
    static auto *const laidOut = new LaidOutTexts;
    const LaidOut &shown = laidOut->of(text(), font(), area.size(), alignment());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(area.topLeft() + shown.origin, shown.text);
}
