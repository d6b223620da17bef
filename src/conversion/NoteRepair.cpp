#include "conversion/NoteRepair.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace korvana {
namespace {

constexpr int kKeys = 128;
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

int KeyOf(const MidiEvent& event) {
    return event.byData[0] & 0x7F;
}

}  // namespace

Rescaling RescaleTracks(std::vector<RepairTrack>& tracks, std::uint32_t division) {
    Rescaling result;
    const std::uint64_t from = division;
    auto scaled = [from](std::uint32_t time) {
        return (std::uint64_t{time} * 2 * kRepairDivision + from) / (2 * from);
    };
    std::uint64_t largestOffset = 0;  // |new * division - old * 192|, in 192nds of a source tick
    auto keep = [&](std::uint32_t source, std::uint64_t time) {
        const std::uint64_t exact = std::uint64_t{source} * kRepairDivision;
        const std::uint64_t now = time * from;
        largestOffset = std::max(largestOffset, now > exact ? now - exact : exact - now);
        result.fits = result.fits && time <= std::numeric_limits<std::uint32_t>::max();
        return static_cast<std::uint32_t>(time);
    };

    for (RepairTrack& track : tracks) {
        // Per key: no event of the key before floor; the last note-on, to give its end a tick.
        std::uint64_t floor[kKeys] = {};
        std::uint64_t lastOn[kKeys] = {};
        std::uint32_t lastOnSource[kKeys] = {};
        bool sounding[kKeys] = {};
        bool reordered = false;
        for (RepairEvent& event : track.events) {
            std::uint64_t time = scaled(event.sourceTime);
            const MidiEvent& midi = event.midi;
            if (IsNoteOn(midi) || IsNoteEnd(midi)) {
                const int key = KeyOf(midi);
                const std::uint64_t rounded = time;
                time = std::max(time, floor[key]);
                if (IsNoteOn(midi)) {
                    lastOn[key] = time;
                    lastOnSource[key] = event.sourceTime;
                    sounding[key] = true;
                } else {
                    if (sounding[key] && time <= lastOn[key] &&
                        event.sourceTime > lastOnSource[key]) {
                        time = lastOn[key] + 1;
                        ++result.lengthenedNotes;
                    }
                    sounding[key] = false;
                }
                floor[key] = time;
                reordered = reordered || time != rounded;
            }
            event.midi.dwTime = keep(event.sourceTime, time);
        }
        if (reordered)
            std::stable_sort(track.events.begin(), track.events.end(),
                             [](const RepairEvent& a, const RepairEvent& b) {
                                 return a.midi.dwTime < b.midi.dwTime;
                             });
        track.endTime = keep(track.endTime, scaled(track.endTime));
    }
    result.largestShift = static_cast<double>(largestOffset) / static_cast<double>(from);
    return result;
}

NoteEnding EndNotes(RepairTrack& track, std::uint32_t maxLength) {
    NoteEnding result;
    std::vector<RepairEvent>& events = track.events;
    const std::size_t count = events.size();
    if (count == 0)
        return result;

    // For each note-on: the first later event that ends its key, and the next note-on of its key.
    std::vector<std::size_t> endOf(count, kNone);
    std::vector<std::size_t> nextOnOf(count, kNone);
    std::size_t nearestEnd[kKeys];
    std::size_t nextOn[kKeys];
    std::fill(std::begin(nearestEnd), std::end(nearestEnd), kNone);
    std::fill(std::begin(nextOn), std::end(nextOn), kNone);
    for (std::size_t i = count; i-- > 0;) {
        const MidiEvent& midi = events[i].midi;
        if (IsNoteOn(midi)) {
            endOf[i] = nearestEnd[KeyOf(midi)];
            nextOnOf[i] = nextOn[KeyOf(midi)];
            nextOn[KeyOf(midi)] = i;
        } else if (IsNoteEnd(midi)) {
            nearestEnd[KeyOf(midi)] = i;
        }
    }

    // Note-offs to insert, each before the event at its index.
    std::vector<std::pair<std::size_t, RepairEvent>> inserts;
    auto insertEnd = [&](std::size_t note, std::size_t before, std::uint32_t time) {
        const MidiEvent& on = events[note].midi;
        const MidiEvent off = ShortEvent(
            time, static_cast<std::uint8_t>(0x80 | (on.byStatus & 0x0F)), {on.byData[0], 64});
        inserts.push_back({before, RepairEvent{off, time}});
    };
    for (std::size_t i = 0; i < count; ++i) {
        const MidiEvent& on = events[i].midi;
        if (!IsNoteOn(on))
            continue;
        const std::size_t next = nextOnOf[i];
        // Where the note ends now, or would end once closed: its note-off, else the next note-on
        // of its key, else the End of Track.
        std::size_t end = endOf[i];
        if (end == kNone) {
            ++result.closed;
            end = next != kNone ? next : count - 1;
        }
        const std::uint32_t length = events[end].midi.dwTime - on.dwTime;
        if (length <= maxLength) {
            if (end != endOf[i])
                insertEnd(i, end, events[end].midi.dwTime);
            continue;
        }
        ++result.cut;
        result.longest = std::max(result.longest, length);
        const std::uint32_t limit = on.dwTime + maxLength;  // below the end's time, so it fits
        if (next != kNone && events[next].midi.dwTime <= limit) {
            insertEnd(i, next, events[next].midi.dwTime);
        } else {
            const auto after =
                std::upper_bound(events.begin() + static_cast<std::ptrdiff_t>(i) + 1, events.end(),
                                 limit, [](std::uint32_t time, const RepairEvent& event) {
                                     return time < event.midi.dwTime;
                                 });
            insertEnd(i, static_cast<std::size_t>(after - events.begin()), limit);
        }
    }
    if (inserts.empty())
        return result;

    std::stable_sort(inserts.begin(), inserts.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.midi.dwTime < b.second.midi.dwTime;
    });
    std::vector<RepairEvent> merged;
    merged.reserve(count + inserts.size());
    auto insert = inserts.begin();
    for (std::size_t i = 0; i < count; ++i) {
        for (; insert != inserts.end() && insert->first == i; ++insert)
            merged.push_back(insert->second);
        merged.push_back(events[i]);
    }
    events = std::move(merged);
    return result;
}

}  // namespace korvana
