#ifndef RECORDINGFORMAT_H
#define RECORDINGFORMAT_H

#include "glovesample.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

// A recording is CSV that spreadsheets and pandas open as it is: a header row, then one row a
// sample: its number from 1, the seconds since the recording began (microseconds, monotonic
// clock), the wall-clock time in UTC (ISO 8601, milliseconds) and the eight values in packet
// order. The writer and the replay reader both take the columns from here.
namespace RecordingFormat {

constexpr int Columns = 3 + GlovePacket::DataBytes;
// The longest row: 20 digits, 20.6 seconds, a 24-character time, eight times 3 digits and the
// commas and newline.
constexpr int MaxRowLength = 20 + 27 + 24 + 8 * 3 + Columns;

struct Row
{
    std::uint64_t number = 0;
    std::chrono::microseconds sinceStart{0};
    std::chrono::system_clock::time_point utc;
    GloveSample sample;
};

// The header row with its newline, and whether a line (without its line end) is it.
QByteArray header();
bool isHeader(QByteArrayView line);

// Appends the row and its newline to `out`.
void appendRow(QByteArray &out, const Row &row);

// Reads one row without its line end. On failure says why in `error` (which field, and what
// it held).
std::optional<Row> parseRow(QByteArrayView line, QString *error);

// Every row of a recording file, in order. On failure gives nothing and says in `error`
// which line of the file it could not read, and why.
std::optional<std::vector<Row>> readFile(const QString &path, QString *error);

} // namespace RecordingFormat

#endif // RECORDINGFORMAT_H
