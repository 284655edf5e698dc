#ifndef PANELFRAME_H
#define PANELFRAME_H

#include <QGroupBox>
#include <QPixmap>

// A captioned frame that repaints from a picture of itself, drawn by the style's group box
// whenever its size or looks change. The main window repaints for every glove packet, up to
// 213 times a second, and drawing the group box anew behind each moved hand or changed bar
// was a third of that work.
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

    QPixmap m_picture;
    bool m_drawingPicture = false;
};

#endif // PANELFRAME_H
