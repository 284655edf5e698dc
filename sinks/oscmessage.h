#ifndef OSCMESSAGE_H
#define OSCMESSAGE_H

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

// Writes one OSC 1.0 message into a buffer of the caller's: the address, then the type tags
// (",iif"), each a string closed by a NUL and padded with NULs to a multiple of four bytes,
// then the arguments: int32 and float32 big-endian, strings as the address is. Arguments must
// follow the type tags given. What does not fit leaves the message unusable (fits() false)
// rather than cut short.
class OscMessage
{
public:
    OscMessage(char *buffer, std::size_t capacity, const char *address, const char *typeTags);

    void addInt32(std::int32_t value);
    void addFloat(float value);
    void addString(QByteArrayView utf8);

    bool fits() const { return m_fits; }
    std::size_t size() const { return m_size; }

private:
    void put(const void *bytes, std::size_t count);
    void putBigEndian(std::uint32_t value);
    void putPaddedString(QByteArrayView text);

    char *m_buffer;
    std::size_t m_capacity;
    std::size_t m_size = 0;
    bool m_fits = true;
};

#endif // OSCMESSAGE_H
