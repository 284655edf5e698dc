#include "oscmessage.h"

#include <bit>
#include <cstring>

OscMessage::OscMessage(char *buffer, std::size_t capacity, const char *address,
                       const char *typeTags)
    : m_buffer(buffer), m_capacity(capacity)
{
    putPaddedString(address);
    // The comma and the tags are one string.
    put(",", 1);
    putPaddedString(typeTags);
}

void OscMessage::put(const void *bytes, std::size_t count)
{
    if (!m_fits || m_capacity - m_size < count) {
        m_fits = false;
        return;
    }
    if (count == 0)
        return; // an empty text may have no bytes at all to copy from
    std::memcpy(m_buffer + m_size, bytes, count);
    m_size += count;
}

void OscMessage::putBigEndian(std::uint32_t value)
{
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
        static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
    put(bytes, 4);
}

void OscMessage::putPaddedString(QByteArrayView text)
{
    put(text.data(), std::size_t(text.size()));
    // At least one NUL, up to the next multiple of four.
    static const char zeros[4] = {};
    put(zeros, 4 - m_size % 4);
}

void OscMessage::addInt32(std::int32_t value)
{
    putBigEndian(static_cast<std::uint32_t>(value));
}

void OscMessage::addFloat(float value)
{
    putBigEndian(std::bit_cast<std::uint32_t>(value));
}

void OscMessage::addString(QByteArrayView utf8)
{
    putPaddedString(utf8);
}
