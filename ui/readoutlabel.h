#ifndef READOUTLABEL_H
#define READOUTLABEL_H

#include <QLabel>

// A readout: a label with a thin box that shows one short number, centred, exactly as a plain
// label shows it. Each text it has shown is kept as a picture of the whole readout, box and
// all, which a repaint copies in one piece: a plain label lays its text out and draws it glyph
// by glyph on every repaint, and eight readouts change for every frame. The readouts share the
// pictures, as they share their size, font and colours; there are at most 256 texts, "0" to
// "255".
//
// Its caption is its accessible name and its text its accessible value. A new text sends no
// accessibility event of its own (a label without an accessible name would send one for every
// sample): the window tells assistive technology of the value shown once a frame.
class ReadoutLabel : public QLabel
{
    Q_OBJECT

public:
    ReadoutLabel(const QString &caption, QWidget *parent);

    // Tells assistive technology of the value the readout shows, when it changed since.
    void announceValue();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_announced;
};

#endif // READOUTLABEL_H
