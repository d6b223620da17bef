#include "BenchSongs.h"

#include <algorithm>
#include <fstream>

namespace korvana::bench {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutHeader(std::vector<std::uint8_t>& out, std::uint16_t tracks) {
    const std::uint8_t header[] = {'M',
                                   'T',
                                   'h',
                                   'd',
                                   0,
                                   0,
                                   0,
                                   6,
                                   0,
                                   1,
                                   static_cast<std::uint8_t>(tracks >> 8),
                                   static_cast<std::uint8_t>(tracks),
                                   0,
                                   192};
    out.insert(out.end(), std::begin(header), std::end(header));
}

void PutTrack(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& body) {
    const std::uint8_t tag[] = {'M', 'T', 'r', 'k'};
    out.insert(out.end(), std::begin(tag), std::end(tag));
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

// Time signature 4/4, tempo 120, a pattern-kind marker, End of Track: 4 events.
std::vector<std::uint8_t> TempoTrack() {
    return {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1,
            0x20, 0x00, 0xFF, 0x06, 0x05, 'q',  'x',  '7',  'm',  's',  0x00, 0xFF, 0x2F, 0x00};
}

const std::uint8_t kEndOfTrack[] = {0x00, 0xFF, 0x2F, 0x00};

}  // namespace

Song LargeSong(std::size_t targetBytes) {
    constexpr std::uint16_t kTracks = 16;
    Song song;
    song.bytes.reserve(targetBytes + 4096);
    PutHeader(song.bytes, kTracks);
    PutTrack(song.bytes, TempoTrack());
    song.events += 4;
    const std::size_t perTrack = targetBytes / (kTracks - 1);
    for (std::uint16_t track = 1; track < kTracks; ++track) {
        const auto status = static_cast<std::uint8_t>(0x90 | (track % 16));
        std::vector<std::uint8_t> body;
        body.reserve(perTrack + 16);
        // Per three events: a note on with its status, its note off and the next note on in
        // running status (10 bytes).
        for (std::uint8_t note = 0; body.size() + 10 + 4 <= perTrack; note = (note + 1) & 0x3F) {
            const std::uint8_t triple[] = {0x00, status, static_cast<std::uint8_t>(36 + note),
                                           100,  0x0C,   static_cast<std::uint8_t>(36 + note),
                                           0x00, 0x0C,   static_cast<std::uint8_t>(37 + note),
                                           90};
            body.insert(body.end(), std::begin(triple), std::end(triple));
            song.events += 3;
        }
        body.insert(body.end(), std::begin(kEndOfTrack), std::end(kEndOfTrack));
        ++song.events;
        PutTrack(song.bytes, body);
    }
    return song;
}

Song PatternSong(std::size_t targetBytes) {
    Song song;
    PutHeader(song.bytes, 2);
    PutTrack(song.bytes, TempoTrack());
    song.events += 4;
    // Program, volume, then drum notes of 24 ticks, each ended by a velocity 0 note on in
    // running status (6 bytes per note).
    std::vector<std::uint8_t> body = {0x00, 0xC9, 0x00, 0x00, 0xB9, 0x07, 0x64,
                                      0x00, 0x99, 36,   100,  0x18, 36,   0x00};
    song.events += 4;
    const std::uint8_t notes[] = {36, 42, 38, 42};
    for (std::size_t i = 1; song.bytes.size() + body.size() + 6 + 12 <= targetBytes; ++i) {
        const std::uint8_t note = notes[i % 4];
        const std::uint8_t pair[] = {0x00, note, 100, 0x18, note, 0x00};
        body.insert(body.end(), std::begin(pair), std::end(pair));
        song.events += 2;
    }
    body.insert(body.end(), std::begin(kEndOfTrack), std::end(kEndOfTrack));
    ++song.events;
    PutTrack(song.bytes, body);
    return song;
}

bool WriteNoteStream(const std::string& path, std::uint64_t targetBytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<std::uint8_t> head;
    PutHeader(head, 1);
    head[9] = 0;  // format 0
    const std::uint64_t notes = (targetBytes - head.size() - 8 - 4 - 4) / 3;
    const auto body =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(4 + 3 * notes + 4, UINT32_MAX));
    const std::uint8_t track[] = {'M',
                                  'T',
                                  'r',
                                  'k',
                                  static_cast<std::uint8_t>(body >> 24),
                                  static_cast<std::uint8_t>(body >> 16),
                                  static_cast<std::uint8_t>(body >> 8),
                                  static_cast<std::uint8_t>(body)};
    head.insert(head.end(), std::begin(track), std::end(track));
    head.insert(head.end(), {0x00, 0x99, 36, 100});
    out.write(reinterpret_cast<const char*>(head.data()),
              static_cast<std::streamsize>(head.size()));
    // Note on and its end in running status, one tick apart: 3 bytes per event.
    std::vector<char> piece;
    for (int i = 0; i < 1 << 20; ++i)
        piece.insert(piece.end(), {0x01, 36, static_cast<char>(i % 2 ? 100 : 0)});
    for (std::uint64_t left = notes; left > 0 && out;) {
        const std::uint64_t now = std::min<std::uint64_t>(left, piece.size() / 3);
        out.write(piece.data(), static_cast<std::streamsize>(now * 3));
        left -= now;
    }
    const char end[] = {0x00, static_cast<char>(0xFF), 0x2F, 0x00};
    out.write(end, sizeof end);
    return static_cast<bool>(out);
}

}  // namespace korvana::bench
