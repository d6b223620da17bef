#pragma once

// The songs the conversion benchmarks read: one large multi-track file and many small patterns.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvana::bench {

struct Song {
    std::vector<std::uint8_t> bytes;
    std::size_t events = 0;
};

// A format 1 file of 16 tracks with about targetBytes bytes (3.33 bytes per event).
Song LargeSong(std::size_t targetBytes);

// A valid two-track drum pattern of about targetBytes bytes.
Song PatternSong(std::size_t targetBytes);

// Writes a format 0 song of about targetBytes bytes of running-status drum notes (3 bytes per
// event) to path, a piece at a time; false when it cannot be written.
bool WriteNoteStream(const std::string& path, std::uint64_t targetBytes);

}  // namespace korvana::bench
