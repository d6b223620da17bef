#include "conversion/SmfWriter.h"

#include "conversion/MetaEvents.h"

namespace korvana {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutQuantity(Bytes& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value);
    while (count > 1)
        out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

void PutBigEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// The event's data bytes from the first-th on.
void PutData(Bytes& out, const MidiEvent& event, std::uint32_t first) {
    for (std::uint32_t i = first; i < event.dwLength; ++i)
        out.push_back(event.Byte(i));
}

void PutEvent(Bytes& out, const MidiEvent& event) {
    out.push_back(event.byStatus);
    if (event.byStatus == meta::kStatus) {
        // The type byte, then the data's length and the data.
        const std::uint32_t length = event.dwLength ? event.dwLength - 1 : 0;
        out.push_back(event.dwLength ? event.byData[0] : 0);
        PutQuantity(out, length);
        PutData(out, event, 1);
    } else if (event.byStatus >= 0xF1 && event.byStatus != 0xF7) {
        PutQuantity(out, event.dwLength);
        PutData(out, event, 0);
    } else {
        // Channel events, and System Exclusive bytes exactly as they stood in the file.
        PutData(out, event, 0);
    }
}

}  // namespace

std::vector<std::uint8_t> WriteStandardMidiFile(std::span<const SmfTrack> tracks,
                                                std::uint16_t division) {
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    PutBigEndian(out, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBigEndian(out, division, 2);
    for (const SmfTrack& track : tracks) {
        const std::size_t start = out.size();
        out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
        std::uint32_t now = 0;
        for (const MidiEvent& event : track) {
            PutQuantity(out, event.dwTime - now);
            now = event.dwTime;
            PutEvent(out, event);
        }
        const auto length = static_cast<std::uint32_t>(out.size() - start - 8);
        for (int i = 0; i < 4; ++i)
            out[start + 4 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(length >> (24 - 8 * i));
    }
    return out;
}

}  // namespace korvana
