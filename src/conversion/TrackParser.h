#pragma once

// Walks the bytes of one track chunk event by event. Events are parsed as they are walked and
// point into the song's bytes, so a song of any length needs no memory per event.
// The walk never reads at or past fileEnd: an event that would run past it ends the track there.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "conversion/MidiEvent.h"

namespace korvana {

// A variable-length quantity, most significant group first, kept to 32 bits. False when the data
// ends before the quantity does.
inline bool ReadQuantity(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t& value) {
    if (p < end && !(*p & 0x80)) {  // most quantities are one byte
        value = *p++;
        return true;
    }
    value = 0;
    while (p < end) {
        const std::uint8_t byte = *p++;
        value = (value << 7) | (byte & 0x7Fu);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

class TrackCursor {
public:
    TrackCursor() = default;
    // The events of the chunk body [begin, chunkEnd); an event's bytes may run on up to fileEnd.
    TrackCursor(const std::uint8_t* begin, const std::uint8_t* chunkEnd,
                const std::uint8_t* fileEnd)
        : m_p(begin), m_chunkEnd(chunkEnd), m_fileEnd(fileEnd) {}

    // Parses the next event into event; false at the end of the track.
    bool Next(MidiEvent& event);

private:
    // Every kind of event, with every bounds check; Next takes the common ones itself.
    bool NextEvent(MidiEvent& event);
    bool End() {
        m_p = m_chunkEnd;
        return false;
    }
    // Data bytes that stand together in the file: the first ones inline, the rest in place.
    void TakeBytes(MidiEvent& event, const std::uint8_t* bytes, std::uint32_t count) {
        event.dwLength = count;
        std::memcpy(event.byData, bytes, std::min<std::size_t>(count, sizeof(event.byData)));
        event.pData = count > sizeof(event.byData) ? bytes + 1 : nullptr;
    }

    const std::uint8_t* m_p = nullptr;
    const std::uint8_t* m_chunkEnd = nullptr;
    const std::uint8_t* m_fileEnd = nullptr;
    std::uint32_t m_nTime = 0;
    std::uint8_t m_byRunning = 0;
};

// Note on and off, key pressure, controllers and pitch bend.
constexpr bool HasTwoDataBytes(std::uint8_t status) {
    return (0x4F00u >> (status >> 4)) & 1u;
}

inline bool TrackCursor::Next(MidiEvent& event) {
    // Most events are a one-byte delta and a channel event with two data bytes, four bytes at
    // most: they are read here, inline in the walks, and everything else by NextEvent.
    const std::uint8_t* p = m_p;
    if (p < m_chunkEnd && m_fileEnd - p >= 4 && p[0] < 0x80) {
        const bool statusGiven = p[1] & 0x80;
        const std::uint8_t status = statusGiven ? p[1] : m_byRunning;
        if (HasTwoDataBytes(status)) {
            const std::uint8_t* data = p + 1 + (statusGiven ? 1 : 0);
            m_nTime += p[0];
            m_byRunning = status;
            event.dwTime = m_nTime;
            event.dwLength = 2;
            event.byStatus = status;
            event.byData[0] = data[0];
            event.byData[1] = data[1];
            event.pData = nullptr;
            m_p = data + 2;
            return true;
        }
    }
    return NextEvent(event);
}

}  // namespace korvana
