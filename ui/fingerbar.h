#ifndef FINGERBAR_H
#define FINGERBAR_H

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
};

#endif // FINGERBAR_H
