#pragma once

// One parsed event of a Standard MIDI File track.

#include <cstdint>

#include "conversion/MetaEvents.h"

namespace korvana {

struct MidiEvent {
    std::uint32_t dwTime;    // absolute ticks from the start of its track
    std::uint32_t dwLength;  // number of data bytes
    std::uint8_t byStatus;   // status in effect, after running status
    std::uint8_t byData[7];  // the first data bytes, up to 7 of them
    // When dwLength >= 8: the data bytes after the first, where they stand in the song's bytes
    // (a meta event's first data byte is its type, which stands apart from the rest). Null
    // otherwise. An event never needs memory of its own.
    const std::uint8_t* pData;

    // The data bytes after the first, dwLength - 1 of them, in one piece.
    const std::uint8_t* Rest() const { return dwLength > sizeof(byData) ? pData : byData + 1; }
    std::uint8_t Byte(std::uint32_t index) const { return index ? Rest()[index - 1] : byData[0]; }
    bool IsEndOfTrack() const {
        return byStatus == meta::kStatus && dwLength == 1 && byData[0] == meta::kEndOfTrack;
    }
};

}  // namespace korvana
