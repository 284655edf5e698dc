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
};

#endif // FINGERBAR_H
