#pragma once

// Writes parsed events back out as a new Standard MIDI File, format 1.

#include <cstdint>
#include <span>
#include <vector>

#include "conversion/MidiEvent.h"

namespace korvana {

// One track's events in time order; the last one should be End of Track.
using SmfTrack = std::vector<MidiEvent>;

// Every event keeps its own status byte (no running status). System Exclusive events keep the
// bytes the reader stored for them, which include their length quantity.
std::vector<std::uint8_t> WriteStandardMidiFile(std::span<const SmfTrack> tracks,
                                                std::uint16_t division);

}  // namespace korvana
