// The line host: holds pseudo-terminals for tests that run under Wine, where a Windows
// program cannot reach a pseudo-terminal's master side. Wine's COM ports 1 to 8 are links in
// the host's folder (DIR/com1 to DIR/com8) that point at nothing until a test asks for a
// line; the test then gets the COM port whose link points at the new pseudo-terminal.
//   vantrel-line-host DIR
// A test puts one request into the file DIR/request and takes the answer from DIR/reply; each
// file appears whole, by a rename, and is removed by the side that reads it:
//   open -> COMn | write N HEX -> ok | close N | held N -> 1 or 0 | state N -> baud bits
//   parity two-stop | free N | quit
// and for a COM port that only links to other lines: reserve -> COMn | link N M | unlink N.
#include "pseudoterminal.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

constexpr int Slots = 8;

// Waits for the file to appear, then takes its text and removes it.
QByteArray takeFile(const QString &path)
{
    QFile file(path);
    while (!file.exists())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    file.open(QIODevice::ReadOnly);
    const QByteArray text = file.readAll().trimmed();
    file.close();
    file.remove();
    return text;
}

// Writes the file beside its place, then renames it there, so that it appears whole.
void putFile(const QString &path, const QByteArray &text)
{
    QFile file(path + QStringLiteral(".new"));
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    ::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s DIR [FIRST]\n", argv[0]);
        return 2;
    }
    const int first = argc == 3 ? std::atoi(argv[2]) : 1;
    const QString dir = QFile::decodeName(argv[1]);
    const QString request = dir + QStringLiteral("/request");
    const QString reply = dir + QStringLiteral("/reply");
    QFile::remove(request);
    QFile::remove(reply);
    const auto linkOf = [&](int slot) { return dir + QStringLiteral("/com%1").arg(slot + first); };

    for (int i = 0; i < Slots; ++i)
        QFile::remove(linkOf(i)); // left by a host that was killed
    std::array<std::unique_ptr<PseudoTerminal>, Slots> lines;
    std::array<bool, Slots> reserved{};
    const auto freeSlot = [&]() -> int {
        for (int i = 0; i < Slots; ++i)
            if (!lines[size_t(i)] && !reserved[size_t(i)])
                return i;
        return -1;
    };
    for (;;) {
        const QList<QByteArray> words = takeFile(request).split(' ');
        const QByteArray &verb = words.value(0);
        const int slot = words.value(1).toInt() - first;
        PseudoTerminal *line = slot >= 0 && slot < Slots ? lines[size_t(slot)].get() : nullptr;
        QByteArray answer = "ok";
        if (verb == "quit") {
            putFile(reply, answer);
            return 0;
        } else if (verb == "open" || verb == "reserve") {
            const int i = freeSlot();
            answer = i < 0 ? "none" : "COM" + QByteArray::number(i + first);
            if (i >= 0 && verb == "reserve") {
                reserved[size_t(i)] = true;
                QFile::remove(linkOf(i));
            } else if (i >= 0) {
                lines[size_t(i)] = std::make_unique<PseudoTerminal>();
                QFile::remove(linkOf(i));
                QFile::link(lines[size_t(i)]->devicePath(), linkOf(i));
            }
        } else if (verb == "link" || verb == "unlink") {
            const int to = words.value(2).toInt() - first;
            QFile::remove(linkOf(slot));
            if (verb == "link" && to >= 0 && to < Slots && lines[size_t(to)])
                QFile::link(lines[size_t(to)]->devicePath(), linkOf(slot));
        } else if (verb == "free" && slot >= 0 && slot < Slots) {
            lines[size_t(slot)].reset();
            reserved[size_t(slot)] = false;
            QFile::remove(linkOf(slot));
        } else if (!line) {
            answer = "no such line";
        } else if (verb == "write") {
            answer = line->write(QByteArray::fromHex(words.value(2))) ? "ok" : "failed";
        } else if (verb == "close") {
            line->closeMaster();
        } else if (verb == "held") {
            answer = line->isDeviceOpen() ? "1" : "0";
        } else if (verb == "state") {
            const PseudoTerminal::LineState s = line->lineState();
            answer = QByteArray::number(s.baudRate) + ' ' + QByteArray::number(s.dataBits) + ' ' +
                     QByteArray::number(int(s.parity)) + ' ' +
                     QByteArray::number(int(s.twoStopBits));
        } else {
            answer = "unknown request";
        }
        putFile(reply, answer);
    }
}
