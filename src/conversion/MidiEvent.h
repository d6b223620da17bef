#pragma once

// One parsed event of a Standard MIDI File track.

#include <cstdint>

namespace korvana {

struct MidiEvent {
    std::uint32_t dwTime;    // absolute ticks from the start of its track
    std::uint32_t dwLength;  // number of data bytes
    std::uint8_t byStatus;   // status in effect, after running status
    std::uint8_t byData[7];  // the data bytes when dwLength <= 7
    // The data bytes when dwLength >= 8, null otherwise. They live in the reader's payload
    // store, so an event never needs an allocation of its own.
    const std::uint8_t* pData;

    const std::uint8_t* Data() const { return dwLength > sizeof(byData) ? pData : byData; }
    bool IsEndOfTrack() const { return byStatus == 0xFF && dwLength == 1 && byData[0] == 0x2F; }
};

}  // namespace korvana
