#ifndef GLOVESAMPLE_H
#define GLOVESAMPLE_H

#include <array>
#include <cstdint>

// The eight data values of one glove packet, in the order they come on the line.
// There is no little-finger value: the glove reports none.
struct GloveSample
{
    std::uint8_t Thumb = 0;
    std::uint8_t Index = 0;
    std::uint8_t Middle = 0;
    std::uint8_t Ring = 0;
    std::uint8_t Roll = 0;
    std::uint8_t Pitch = 0;
    std::uint8_t Input1 = 0;
    std::uint8_t Input2 = 0;

    friend bool operator==(const GloveSample &, const GloveSample &) = default;
};

// The unit on the line: the sync byte, then the eight sample bytes. No length, checksum or
// escaping, so a data byte may equal the sync byte.
namespace GlovePacket {
constexpr std::uint8_t SyncByte = 0xF5;
constexpr int DataBytes = 8;
constexpr int Size = 1 + DataBytes;

using Bytes = std::array<std::uint8_t, Size>;

// The sample's fields in packet order, for code that walks them one byte at a time.
constexpr std::array<std::uint8_t GloveSample::*, DataBytes> Fields = {
    &GloveSample::Thumb, &GloveSample::Index, &GloveSample::Middle, &GloveSample::Ring,
    &GloveSample::Roll,  &GloveSample::Pitch, &GloveSample::Input1, &GloveSample::Input2,
};

constexpr Bytes encode(const GloveSample &sample)
{
    Bytes bytes{SyncByte};
    for (int i = 0; i < DataBytes; ++i)
        bytes[i + 1] = sample.*Fields[i];
    return bytes;
}
} // namespace GlovePacket

#endif // GLOVESAMPLE_H
