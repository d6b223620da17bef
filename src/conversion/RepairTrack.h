#pragma once

// A track as the song repair rebuilds it: parsed events that remember when they stood in the
// original song.

#include <cstdint>
#include <vector>

#include "conversion/MidiEvent.h"

namespace korvana {

struct RepairEvent {
    MidiEvent midi;            // dwTime: the original's ticks, then 192 per quarter once rescaled
    std::uint32_t sourceTime;  // the time as read
};

struct RepairTrack {
    std::vector<RepairEvent> events;  // in time order; End of Track only once the track is done
    std::uint32_t endTime = 0;        // where its End of Track goes
    int sourceTrack = 0;              // the original track it comes from
};

inline bool IsNoteOn(const MidiEvent& event) {
    return (event.byStatus & 0xF0) == 0x90 && event.byData[1] != 0;
}
inline bool IsNoteEnd(const MidiEvent& event) {
    return (event.byStatus & 0xF0) == 0x80 ||
           ((event.byStatus & 0xF0) == 0x90 && event.byData[1] == 0);
}

// An event whose data bytes fit inside it.
inline MidiEvent ShortEvent(std::uint32_t time, std::uint8_t status,
                            std::initializer_list<std::uint8_t> data) {
    MidiEvent event{};
    event.dwTime = time;
    event.byStatus = status;
    for (const std::uint8_t byte : data)
        event.byData[event.dwLength++] = byte;
    return event;
}

}  // namespace korvana
