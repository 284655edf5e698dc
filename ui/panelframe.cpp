#include "panelframe.h"

#include <QPaintEvent>
#include <QPainter>
#include <utility>

PanelFrame::PanelFrame(const QString &title, QWidget *parent) : QGroupBox(title, parent) {}

void PanelFrame::paintEvent(QPaintEvent *event)
{
    // The whole frame, as when the window is first shown, is the style's to draw. A part of it,
    // such as the strips the moving hand uncovers, is copied from a picture of the whole. The
    // picture is drawn when a part is first asked for, so a frame whose controls repaint
    // themselves alone keeps none; it is drawn right after the paint that asked for it, as it
    // cannot be drawn while one is under way.
    const bool whole = (QRegion(rect()) - event->region()).isEmpty();
    if (m_drawingPicture || whole || m_picture.isNull()) {
        if (!m_drawingPicture && !whole && !std::exchange(m_pictureWanted, true))
            QMetaObject::invokeMethod(this, &PanelFrame::drawPicture, Qt::QueuedConnection);
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
    forgetPicture();
}

void PanelFrame::changeEvent(QEvent *event)
{
    // Anything that changes how the frame looks calls for a new picture.
    QGroupBox::changeEvent(event);
    if (!m_drawingPicture)
        forgetPicture();
}

void PanelFrame::forgetPicture()
{
    m_picture = QPixmap();
    m_pictureWanted = false;
}

void PanelFrame::drawPicture()
{
    // The frame as the style draws it, on its own background, without the controls in it.
    // Drawing may polish the frame, which reports a change again.
    if (!std::exchange(m_pictureWanted, false) || size().isEmpty())
        return;
    m_drawingPicture = true;
    QPixmap picture(size() * devicePixelRatio());
    picture.setDevicePixelRatio(devicePixelRatio());
    render(&picture, QPoint(), QRegion(), DrawWindowBackground);
    m_drawingPicture = false;
    m_picture = picture;
}
