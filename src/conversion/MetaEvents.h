#pragma once

// The status byte of a Standard MIDI File's meta events and the types this library reads or
// writes, named once for the reader, the check, the conversion and the repair.

#include <cstdint>

namespace korvana::meta {

constexpr std::uint8_t kStatus = 0xFF;

constexpr std::uint8_t kTrackName = 0x03;
constexpr std::uint8_t kMarker = 0x06;
constexpr std::uint8_t kMidiPort = 0x21;
constexpr std::uint8_t kEndOfTrack = 0x2F;
constexpr std::uint8_t kTempo = 0x51;
constexpr std::uint8_t kTimeSignature = 0x58;

}  // namespace korvana::meta
