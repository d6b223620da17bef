#pragma once

// The songs the conversion benchmarks read: one large multi-track file and many small patterns.

#include <cstddef>
#include <cstdint>
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

}  // namespace korvana::bench
