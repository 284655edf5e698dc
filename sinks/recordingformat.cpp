#include "recordingformat.h"

#include <QDateTime>
#include <QFile>
#include <QList>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace RecordingFormat {

namespace {

constexpr const char *TimeNames[] = {"Sample", "Seconds", "UTC"};
constexpr const char *ValueNames[GlovePacket::DataBytes] = {
    "Thumb", "Index", "Middle", "Ring", "Roll", "Pitch", "Input1", "Input2",
};

// Writes `value` in decimal, at least `width` digits wide.
char *putNumber(char *at, std::uint64_t value, int width = 1)
{
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto pad = width - (end - digits); pad > 0; --pad)
        *at++ = '0';
    for (const char *d = digits; d != end; ++d)
        *at++ = *d;
    return at;
}

std::optional<std::uint64_t> wholeNumber(QByteArrayView text)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    if (text.isEmpty() || error != std::errc() || end != text.end())
        return std::nullopt;
    return value;
}

} // namespace

QByteArray header()
{
    QByteArray text;
    for (const char *name : TimeNames)
        text.append(name).append(',');
    for (const char *name : ValueNames)
        text.append(name).append(',');
    text.back() = '\n';
    return text;
}

bool isHeader(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line == QByteArrayView(header()).chopped(1);
}

void appendRow(QByteArray &out, const Row &row)
{
    using namespace std::chrono;
    char text[MaxRowLength];
    char *at = putNumber(text, row.number);
    *at++ = ',';
    const auto micros = std::uint64_t(std::max<microseconds::rep>(row.sinceStart.count(), 0));
    at = putNumber(at, micros / 1000000);
    *at++ = '.';
    at = putNumber(at, micros % 1000000, 6);
    *at++ = ',';

    const auto day = floor<days>(row.utc);
    const year_month_day date{day};
    const hh_mm_ss time{floor<milliseconds>(row.utc - day)};
    at = putNumber(at, std::uint64_t(int(date.year())), 4);
    *at++ = '-';
    at = putNumber(at, unsigned(date.month()), 2);
    *at++ = '-';
    at = putNumber(at, unsigned(date.day()), 2);
    *at++ = 'T';
    at = putNumber(at, std::uint64_t(time.hours().count()), 2);
    *at++ = ':';
    at = putNumber(at, std::uint64_t(time.minutes().count()), 2);
    *at++ = ':';
    at = putNumber(at, std::uint64_t(time.seconds().count()), 2);
    *at++ = '.';
    at = putNumber(at, std::uint64_t(time.subseconds().count()), 3);
    *at++ = 'Z';

    for (auto field : GlovePacket::Fields) {
        *at++ = ',';
        at = putNumber(at, row.sample.*field);
    }
    *at++ = '\n';
    out.append(text, at - text);
}

std::optional<Row> parseRow(QByteArrayView line, QString *error)
{
    if (line.endsWith('\r')) // saved again by a program that ends lines so
        line.chop(1);
    QByteArrayView fields[Columns];
    int count = 0;
    for (qsizetype start = 0;; ++count) {
        const qsizetype comma = line.indexOf(',', start);
        if (count < Columns)
            fields[count] = line.sliced(start, (comma < 0 ? line.size() : comma) - start);
        if (comma < 0)
            break;
        start = comma + 1;
    }
    ++count;
    if (count != Columns) {
        *error = QStringLiteral("%1 fields where a row has %2").arg(count).arg(Columns);
        return std::nullopt;
    }

    const auto fail = [&](const char *name, QByteArrayView text, const char *expected) {
        *error = QStringLiteral("%1 '%2' is not %3")
                     .arg(QLatin1String(name), QString::fromUtf8(text), QLatin1String(expected));
        return std::nullopt;
    };
    Row row;
    if (const auto number = wholeNumber(fields[0]); number && *number > 0)
        row.number = *number;
    else
        return fail(TimeNames[0], fields[0], "a sample number");
    bool ok = false;
    const double seconds = fields[1].toDouble(&ok);
    if (!ok || !(seconds >= 0) || seconds > 1e12)
        return fail(TimeNames[1], fields[1], "a number of seconds");
    row.sinceStart = std::chrono::microseconds(std::llround(seconds * 1e6));
    const QDateTime utc = QDateTime::fromString(QString::fromLatin1(fields[2]), Qt::ISODateWithMs);
    if (!utc.isValid())
        return fail(TimeNames[2], fields[2], "a date and time");
    row.utc =
        std::chrono::system_clock::time_point(std::chrono::milliseconds(utc.toMSecsSinceEpoch()));
    for (int i = 0; i < GlovePacket::DataBytes; ++i) {
        const auto value = wholeNumber(fields[3 + i]);
        if (!value || *value > 255)
            return fail(ValueNames[i], fields[3 + i], "a value from 0 to 255");
        row.sample.*GlovePacket::Fields[i] = std::uint8_t(*value);
    }
    return row;
}

std::optional<std::vector<Row>> readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    std::vector<Row> rows;
    QString why;
    for (qint64 lineNumber = 1; !file.atEnd(); ++lineNumber) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (lineNumber == 1 && !isHeader(line))
            why = QStringLiteral("not a Vantrel recording: the first line is not its header");
        else if (lineNumber > 1 && !line.isEmpty())
            if (const auto row = parseRow(line, &why))
                rows.push_back(*row);
        if (!why.isEmpty()) {
            *error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(why);
            return std::nullopt;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return rows;
}

} // namespace RecordingFormat
