#pragma once

// Walks the bytes of one track chunk event by event. Events are parsed as they are walked and
// point into the song's bytes, so a song of any length needs no memory per event.
// The walk never reads at or past fileEnd: an event that would run past it ends the track there.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "conversion/MetaEvents.h"
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

inline bool TrackCursor::Next(MidiEvent& event) {
    const std::uint8_t* p = m_p;
    if (p >= m_chunkEnd)
        return false;
    std::uint32_t delta;
    if (!ReadQuantity(p, m_fileEnd, delta) || p >= m_fileEnd)
        return End();
    m_nTime += delta;
    if (*p & 0x80)
        m_byRunning = *p++;
    const std::uint8_t status = m_byRunning;
    // Nothing of a cut event reaches the caller's event: the fields are written once it is whole.
    switch (status >> 4) {
        case 0x8:
        case 0x9:
        case 0xA:
        case 0xB:
        case 0xE:
            if (m_fileEnd - p < 2)
                return End();
            event.dwLength = 2;
            event.byData[0] = p[0];
            event.byData[1] = p[1];
            event.pData = nullptr;
            p += 2;
            break;
        case 0xC:
        case 0xD:
            if (p >= m_fileEnd)
                return End();
            event.dwLength = 1;
            event.byData[0] = p[0];
            event.byData[1] = 0;
            event.pData = nullptr;
            p += 1;
            break;
        case 0xF: {
            if (status == 0xF0 || status == 0xF7) {
                // Everything up to and including the first 0xF7, as it stands in the file.
                const void* last = std::memchr(p, 0xF7, static_cast<std::size_t>(m_fileEnd - p));
                if (!last)
                    return End();
                const auto count =
                    static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(last) - p + 1);
                TakeBytes(event, p, count);
                p += count;
                break;
            }
            std::uint8_t type = 0;
            if (status == meta::kStatus) {
                if (p >= m_fileEnd)
                    return End();
                type = *p++;
            }
            std::uint32_t count;
            if (!ReadQuantity(p, m_fileEnd, count) ||
                count > static_cast<std::uint64_t>(m_fileEnd - p))
                return End();
            if (status == meta::kStatus) {
                // The type, then the bytes: one data byte more than the bytes.
                event.dwLength = count + 1;
                event.byData[0] = type;
                std::memcpy(event.byData + 1, p,
                            std::min<std::size_t>(count, sizeof(event.byData) - 1));
                event.pData = event.dwLength > sizeof(event.byData) ? p : nullptr;
            } else {
                TakeBytes(event, p, count);
            }
            p += count;
            break;
        }
        default:  // a data byte with no status before it
            return End();
    }
    event.dwTime = m_nTime;
    event.byStatus = status;
    m_p = p;
    return true;
}

}  // namespace korvana
