#pragma once

// Builds Standard MIDI File bytes for tests, written as short annotated hex so a reader sees them.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace korvana::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline Bytes Header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division = 192) {
    return {'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            static_cast<std::uint8_t>(format >> 8),
            static_cast<std::uint8_t>(format),
            static_cast<std::uint8_t>(tracks >> 8),
            static_cast<std::uint8_t>(tracks),
            static_cast<std::uint8_t>(division >> 8),
            static_cast<std::uint8_t>(division)};
}

inline Bytes Track(const Bytes& body) {
    const auto n = static_cast<std::uint32_t>(body.size());
    Bytes chunk = {'M',
                   'T',
                   'r',
                   'k',
                   static_cast<std::uint8_t>(n >> 24),
                   static_cast<std::uint8_t>(n >> 16),
                   static_cast<std::uint8_t>(n >> 8),
                   static_cast<std::uint8_t>(n)};
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

// A variable-length quantity, most significant group first.
inline Bytes Quantity(std::uint32_t value) {
    Bytes reversed{static_cast<std::uint8_t>(value & 0x7F)};
    while (value >>= 7)
        reversed.push_back(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
    return Bytes(reversed.rbegin(), reversed.rend());
}

// Track 0 essentials at tick 0: 4/4 time signature and tempo 500,000 (120 bpm).
inline const Bytes kTimeSig44 = {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08};
inline const Bytes kTempo120 = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
inline const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

// A format 0 song: tempo track essentials followed by body (which must end the track).
inline Bytes Format0(const Bytes& body, std::uint16_t division = 192) {
    return Join({Header(0, 1, division), Track(Join({kTimeSig44, kTempo120, body}))});
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadBytes(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);

}  // namespace korvana::test
