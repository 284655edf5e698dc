#include "readoutlabel.h"

#include <QAccessibleValueChangeEvent>
#include <QAccessibleWidget>
#include <QHash>
#include <QPainter>
#include <QStaticText>

namespace {

// What a readout's picture depends on besides its text.
struct FaceStyle
{
    QFont font;
    QSize size;
    QRect inside;
    qreal ratio = 1;
    int lineWidth = 0;
    int alignment = 0;
    QRgb box = 0;
    QRgb paper = 0;
    QRgb ink = 0;

    bool operator==(const FaceStyle &other) const = default;
};

FaceStyle styleOf(const QLabel &readout)
{
    const QPalette &colours = readout.palette();
    return {readout.font(),
            readout.size(),
            readout.contentsRect(),
            readout.devicePixelRatioF(),
            readout.lineWidth(),
            int(readout.alignment()),
            colours.color(readout.foregroundRole()).rgba(),
            colours.color(readout.backgroundRole()).rgba(),
            colours.color(QPalette::WindowText).rgba()};
}

// Pictures of a readout showing each text, in one style: the readouts'.
class ReadoutFaces
{
public:
    const QImage &of(const QString &text, const FaceStyle &style)
    {
        if (!(style == m_style) || m_faces.size() >= MostFacesKept) {
            m_faces.clear();
            m_style = style;
        }
        auto found = m_faces.constFind(text);
        if (found == m_faces.cend())
            found = m_faces.insert(text, draw(text, style));
        return *found;
    }

private:
    // A readout as a plain label with a box draws it: the box as four filled strips, the
    // inside filled, the text where the label's alignment puts it.
    static QImage draw(const QString &text, const FaceStyle &style)
    {
        QImage face((QSizeF(style.size) * style.ratio).toSize(), QImage::Format_RGB32);
        face.setDevicePixelRatio(style.ratio);
        QPainter painter(&face);
        const QRect all(QPoint(), style.size);
        const int w = style.lineWidth;
        painter.fillRect(QRect(all.left(), all.top(), all.width(), w), style.box);
        painter.fillRect(QRect(all.left(), all.bottom() + 1 - w, all.width(), w), style.box);
        painter.fillRect(QRect(all.left(), all.top(), w, all.height()), style.box);
        painter.fillRect(QRect(all.right() + 1 - w, all.top(), w, all.height()), style.box);
        painter.fillRect(style.inside, style.paper);
        if (text.isEmpty())
            return face;
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), style.font);
        const QPointF origin =
            QFontMetricsF(style.font)
                .boundingRect(QRect(QPoint(), style.inside.size()), style.alignment, text)
                .topLeft();
        painter.setFont(style.font);
        painter.setPen(QColor(style.ink));
        painter.drawStaticText(style.inside.topLeft() + origin, laidOut);
        return face;
    }

    // More than a byte's values are not kept.
    static constexpr int MostFacesKept = 512;

    FaceStyle m_style;
    QHash<QString, QImage> m_faces;
};

// A readout's value: its number, or none while it shows nothing.
QVariant numberIn(const QString &text)
{
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    return isNumber ? QVariant(value) : QVariant();
}

// What assistive technology reads of a readout: its caption as its name, its number as its
// value.
class ReadoutAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ReadoutAccessible(QWidget *readout)
        : QAccessibleWidget(readout, QAccessible::StaticText)
    {}

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? label()->text() : QAccessibleWidget::text(kind);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return numberIn(label()->text()); }
    void setCurrentValue(const QVariant &) override {} // shown, not set
    QVariant maximumValue() const override { return 255; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    const QLabel *label() const { return static_cast<const QLabel *>(widget()); }
};

QAccessibleInterface *readoutAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("ReadoutLabel") && object && object->isWidgetType())
        return new ReadoutAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ReadoutLabel::ReadoutLabel(const QString &caption, QWidget *parent) : QLabel(parent)
{
    static const bool accessible = (QAccessible::installFactory(readoutAccessible), true);
    Q_UNUSED(accessible);
    setAccessibleName(caption);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    setTextFormat(Qt::PlainText);
    // It paints every pixel of itself: nothing behind it is drawn when its text changes.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReadoutLabel::announceValue()
{
    if (text() == m_announced)
        return;
    m_announced = text();
    // With no assistive technology listening, the value is read when it is asked for.
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, numberIn(m_announced));
    QAccessible::updateAccessibility(&event);
}

void ReadoutLabel::paintEvent(QPaintEvent *)
{
    // Kept to the end of the process, as the windows are; fonts must not outlive the
    // application object, which a static's destructor would make them do.
    static auto *const faces = new ReadoutFaces;
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), faces->of(text(), styleOf(*this)));
}
