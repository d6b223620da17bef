#pragma once

// The note timing repairs of a song: rescaling to 192 ticks per quarter note without losing a
// note, and closing notes that never end or last longer than the keyboard can hold.

#include <cstdint>
#include <vector>

#include "conversion/RepairTrack.h"

namespace korvana {

constexpr std::uint32_t kRepairDivision = 192;

struct Rescaling {
    bool fits = true;         // false when a time no longer fits 32 bits
    double largestShift = 0;  // ticks (at 192) between an event's new time and its exact one
    int lengthenedNotes = 0;  // notes rounded to no length, made one tick long
};

// Every time (and end time) goes from division to 192 per quarter, rounded to the nearest tick.
// A note that had a length keeps at least one tick: its end moves one tick past its start, and
// later events of the same key follow it, so the order of every key's events is kept.
Rescaling RescaleTracks(std::vector<RepairTrack>& tracks, std::uint32_t division);

struct NoteEnding {
    int closed = 0;             // note-ons without a note-off, given one
    int cut = 0;                // notes cut to maxLength, closed ones among them
    std::uint32_t longest = 0;  // the longest cut note's length before (or once closed)
};

// track ends with its End of Track. A note-on that no note-off of its key ends gets one at the
// next note-on of that key or at the End of Track; a note that would then last longer than
// maxLength gets one at maxLength, or at the next note-on of its key when that comes first.
NoteEnding EndNotes(RepairTrack& track, std::uint32_t maxLength);

}  // namespace korvana
