#include "panelframe.h"

#include <QPaintEvent>
#include <QPainter>

PanelFrame::PanelFrame(const QString &title, QWidget *parent) : QGroupBox(title, parent) {}

void PanelFrame::paintEvent(QPaintEvent *event)
{
    if (m_drawingPicture || m_picture.isNull()) {
        QGroupBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    // Unscaled copies of the picture's pixels.
    for (const QRect &area : event->region())
        painter.drawPixmap(area.topLeft(), m_picture,
                           QRectF(QPointF(area.topLeft()) * devicePixelRatio(),
                                  QSizeF(area.size()) * devicePixelRatio()));
}

void PanelFrame::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    drawPicture();
}

void PanelFrame::changeEvent(QEvent *event)
{
    // Anything that changes how the frame looks draws it anew.
    QGroupBox::changeEvent(event);
    drawPicture();
}

void PanelFrame::drawPicture()
{
    // The frame as the style draws it, on its own background, without the controls in it.
    // Drawing may polish the frame, which reports a change again.
    if (m_drawingPicture || size().isEmpty())
        return;
    m_drawingPicture = true;
    m_picture = QPixmap(size() * devicePixelRatio());
    m_picture.setDevicePixelRatio(devicePixelRatio());
    render(&m_picture, QPoint(), QRegion(), DrawWindowBackground);
    m_drawingPicture = false;
}
