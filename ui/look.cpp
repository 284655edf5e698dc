#include "look.h"

#include "twips.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWidget>

namespace {

QFont fontOf(const QStringList &families, QFont::StyleHint hint, double points,
             QFont::Weight weight = QFont::Normal)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPixelSize(pointsToPixels(points));
    font.setWeight(weight);
    return font;
}

} // namespace

namespace Look {

QFont defaultFont()
{
    return fontOf({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
                  QFont::SansSerif, 8.25);
}

QFont boldDefaultFont()
{
    QFont font = defaultFont();
    font.setBold(true);
    return font;
}

QFont frameCaptionFont()
{
    QFont font = fontOf({QStringLiteral("Fixedsys"), QStringLiteral("Liberation Mono"),
                         QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Courier New")},
                        QFont::TypeWriter, 9, QFont::Bold);
    font.setFixedPitch(true);
    return font;
}

QFont aboutTitleFont()
{
    return fontOf(
        {QStringLiteral("Arial Black"), QStringLiteral("Lato"), QStringLiteral("DejaVu Sans")},
        QFont::SansSerif, 15.75, QFont::Black);
}

void applyToApplication()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(defaultFont());
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace Look
