#pragma once

// Rebuilds a Standard MIDI File that the keyboard refuses into a new one it accepts, playing the
// same notes, and says in one plain line per change what it changed. It reads with the ordinary
// reader and leaves the check and the conversion as they are.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "conversion/ChannelMapping.h"

namespace korvana {

struct RepairOptions {
    ChannelChoices channels;  // the user's own channel-to-part choices
    // What is inserted into track 0 when the song has no tempo or no time signature at all.
    int tempoBpm = 120;
    int timeSigNumerator = 4;
    int timeSigDenominator = 4;  // a power of two
};

struct SongRepair {
    std::vector<std::uint8_t> bytes;   // the new song, format 1; empty when it cannot be repaired
    std::vector<std::string> changes;  // one line per change, in the order they were made
    std::vector<std::string> errors;   // why the song cannot be repaired
};

SongRepair RepairSong(std::span<const std::uint8_t> song, const RepairOptions& options);

}  // namespace korvana
