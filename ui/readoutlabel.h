#ifndef READOUTLABEL_H
#define READOUTLABEL_H

#include <QLabel>

// A readout: a label with a thin box that shows one short number, centred, exactly as a plain
// label shows it. It draws each text that has been shown before from a laid-out copy, where a
// plain label lays its text out anew on every repaint: with eight readouts changing for every
// frame, that was the larger part of a frame's cost. The readouts share the copies, as they
// share their font and size; there are at most 256 texts, "0" to "255".
class ReadoutLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ReadoutLabel(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // READOUTLABEL_H
