#ifndef HANDFRAME_H
#define HANDFRAME_H

#include <QFrame>

// A filled shape of the hand figure: a rectangle or a rounded rectangle with an outline.
class HandShape : public QWidget
{
    Q_OBJECT

public:
    enum Kind { Rectangle, RoundedRectangle };

    HandShape(Kind kind, const QColor &fill, const QColor &outline, QWidget *parent);

    Kind kind() const { return m_kind; }
    QColor fillColour() const { return m_fill; }
    QColor outlineColour() const { return m_outline; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    QColor m_fill;
    QColor m_outline;
};

// The small hand that moves inside the "Pitch/Roll" panel. Its position is kept in twips,
// as set, and placed on the nearest pixel. While the window is shown the hand moves on screen
// once per frame, to its newest place: placementPending asks for that frame, and the window
// calls applyPlacement before it paints.
class HandFrame : public QFrame
{
    Q_OBJECT

public:
    explicit HandFrame(QWidget *parent);

    double leftTwips() const { return m_leftTwips; }
    double topTwips() const { return m_topTwips; }
    void setLeftTwips(double left);
    void setTopTwips(double top);

    // The pixel position the twips stand for.
    QPoint placement() const;
    void applyPlacement();

signals:
    void placementPending();

private:
    void place();

    bool m_placementPending = false;
    double m_leftTwips = 1470;
    double m_topTwips = 1365;
};

#endif // HANDFRAME_H
