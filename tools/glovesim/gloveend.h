#ifndef GLOVEEND_H
#define GLOVEEND_H

#include <QByteArray>
#include <QString>

// The glove's end of a serial line: a pseudo-terminal whose other end a program opens, or a
// real serial device set to the glove's 19200 baud, 8 data bits, no parity, 1 stop bit.
class GloveEnd
{
public:
    GloveEnd() = default;
    GloveEnd(GloveEnd &&other) noexcept;
    GloveEnd &operator=(GloveEnd &&other) noexcept;
    ~GloveEnd();

    // On failure the end is not open and the error says why.
    static GloveEnd openPseudoTerminal(QString *error);
    static GloveEnd openDevice(const QString &path, QString *error);

    bool isOpen() const { return m_fd >= 0; }
    // The path a program opens: the pseudo-terminal's device, or the device itself.
    QString path() const { return m_path; }
    // Whether a program holds the other end open. A real device always counts as held.
    bool peerPresent() const;
    // Writes without blocking; bytes the line cannot take now are dropped, as a glove
    // sending into a full line loses them. Returns how many went out, or -1 on an error.
    qsizetype write(const QByteArray &bytes);

private:
    int m_fd = -1;
    bool m_pseudoTerminal = false;
    QString m_path;
};

#endif // GLOVEEND_H
