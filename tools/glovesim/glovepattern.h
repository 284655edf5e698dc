#ifndef GLOVEPATTERN_H
#define GLOVEPATTERN_H

#include "glovesample.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <optional>

// What the simulated glove does over time.
enum class GlovePattern {
    Wave,   // fingers flex one after another, the hand circles smoothly
    Static, // a hand held still, every reading 128
    Random, // every reading random
    Sweep,  // every reading steps from 0 to 255 and round again
};

std::optional<GlovePattern> parseGlovePattern(const QString &name);

// The sample the glove sends as its packet number `index`.
GloveSample patternSample(GlovePattern pattern, quint64 index, QRandomGenerator &random);

// Byte values from a list such as "245 10 20" or "245,10,20"; nothing if any is not a whole
// number from 0 to 255, or if there is none.
std::optional<QByteArray> parseByteList(const QString &text);

// Line noise: a random byte that is never the sync byte, so that it cannot start a packet.
char noiseByte(QRandomGenerator &random);

#endif // GLOVEPATTERN_H
