#pragma once

// Walks the bytes of one track chunk event by event and hands each event to a sink. The same walk
// first counts (to size the event arrays exactly) and then stores, so both always agree.
// The walk never reads at or past fileEnd: an event that would run past it ends the track there.

#include <cstdint>
#include <cstring>

namespace korvana::track_parser {

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

// Sink needs:
//   void AddChannel(uint32_t time, uint8_t status, uint8_t first, uint8_t second, uint32_t count);
//   void AddBytes(uint32_t time, uint8_t status, const uint8_t* bytes, uint32_t count);
//   void AddMeta(uint32_t time, uint8_t type, const uint8_t* bytes, uint32_t count);
template <class Sink>
void ParseTrack(const std::uint8_t* p, const std::uint8_t* chunkEnd, const std::uint8_t* fileEnd,
                Sink& sink) {
    std::uint32_t time = 0;
    std::uint8_t running = 0;
    while (p < chunkEnd) {
        std::uint32_t delta;
        if (!ReadQuantity(p, fileEnd, delta) || p >= fileEnd)
            return;
        time += delta;
        if (*p & 0x80)
            running = *p++;
        const std::uint8_t status = running;
        switch (status >> 4) {
            case 0x8:
            case 0x9:
            case 0xA:
            case 0xB:
            case 0xE:
                if (fileEnd - p < 2)
                    return;
                sink.AddChannel(time, status, p[0], p[1], 2);
                p += 2;
                break;
            case 0xC:
            case 0xD:
                if (p >= fileEnd)
                    return;
                sink.AddChannel(time, status, p[0], 0, 1);
                p += 1;
                break;
            case 0xF: {
                if (status == 0xF0 || status == 0xF7) {
                    // Everything up to and including the first 0xF7, as it stands in the file.
                    const void* last = std::memchr(p, 0xF7, static_cast<std::size_t>(fileEnd - p));
                    if (!last)
                        return;
                    const auto count =
                        static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(last) - p + 1);
                    sink.AddBytes(time, status, p, count);
                    p += count;
                    break;
                }
                std::uint8_t type = 0;
                if (status == 0xFF) {
                    if (p >= fileEnd)
                        return;
                    type = *p++;
                }
                std::uint32_t count;
                if (!ReadQuantity(p, fileEnd, count) ||
                    count > static_cast<std::uint64_t>(fileEnd - p))
                    return;
                if (status == 0xFF)
                    sink.AddMeta(time, type, p, count);
                else
                    sink.AddBytes(time, status, p, count);
                p += count;
                break;
            }
            default:  // a data byte with no status before it
                return;
        }
    }
}

}  // namespace korvana::track_parser
