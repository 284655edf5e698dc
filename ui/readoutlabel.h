#ifndef READOUTLABEL_H
#define READOUTLABEL_H

#include <QHash>
#include <QLabel>
#include <QStaticText>

// A readout: a label with a thin box that shows one short number, centred, exactly as a plain
// label shows it. It draws each text it has shown before from a laid-out copy, where a plain
// label lays its text out anew on every repaint: with eight readouts changing for every frame,
// that was the larger part of a frame's cost. A readout shows at most 256 texts, "0" to "255".
class ReadoutLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ReadoutLabel(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct LaidOut
    {
        QStaticText text;
        QPointF origin;
    };
    const LaidOut &laidOut(const QString &text);

    QHash<QString, LaidOut> m_laidOut;
};

#endif // READOUTLABEL_H
