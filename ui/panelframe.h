#ifndef PANELFRAME_H
#define PANELFRAME_H

#include <QGroupBox>
#include <QPixmap>

// A captioned frame that repaints parts of itself from a picture of itself, drawn by the
// style's group box. The hand moves with nearly every frame; copying the strips it uncovers
// costs a fraction of drawing the group box anew behind it.
class PanelFrame : public QGroupBox
{
    Q_OBJECT

public:
    PanelFrame(const QString &title, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void drawPicture();
    void forgetPicture();

    QPixmap m_picture;
    bool m_pictureWanted = false;
    bool m_drawingPicture = false;
};

#endif // PANELFRAME_H
