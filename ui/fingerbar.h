#ifndef FINGERBAR_H
#define FINGERBAR_H

#include <QImage>
#include <QProgressBar>

// A vertical finger bar: a progress bar that fills exactly its value's share of its inside,
// from the bottom up, and nothing at all at its minimum. The style's own bar rounds the
// filled part up and marks an empty bar with a line.
class FingerBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit FingerBar(QWidget *parent);

    // The value the bar shows, set for every sample. QProgressBar's own value, which its signal
    // and assistive technology follow, takes it once a frame (showValue): QProgressBar::setValue
    // repaints the bar and tells assistive technology at once, which for every sample is 213
    // times a second for a screen that shows 60 frames. Setting QProgressBar's value directly
    // sets the bar's too.
    void setValue(int value);
    int value() const { return m_value; }
    // Brings QProgressBar's value up to the bar's; called as a frame is painted.
    void showValue();

    // The part of the inside that the value fills.
    QRect filledRect() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect inside() const { return rect().adjusted(1, 1, -1, -1); }
    void drawBar(QPainter &painter, int filledHeight) const;
    void renewPictures();

    // The bar drawn empty and drawn full, at its size and in its colours. A value is painted
    // as two copies from them, a row at a time, where drawing it takes four fills of every row.
    QImage m_empty;
    QImage m_full;
    qint64 m_paletteKey = 0;
    int m_value = 0;
    bool m_repaintAsked = false;
};

#endif // FINGERBAR_H
