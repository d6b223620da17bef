#pragma once

// Songs of many shapes, made from a seed, as sequencers and the web make them: divisions other
// than 192, several channels in one track and one channel over several tracks, channels 1 to 16,
// tempo and time signature missing or in another track, notes without a note-off or too long for
// the keyboard, tracks without End of Track. For the repair's tests and benchmark.

#include <cstdint>
#include <string>

#include "SmfBytes.h"

namespace korvana::test {

struct SongShape {
    std::uint16_t division = 0;   // 0: one of several, 192 among them
    std::size_t targetBytes = 0;  // 0: any size; otherwise about this many bytes
    bool withinParts = false;     // at most seven channels play notes
};

struct RandomSong {
    Bytes bytes;
    std::string shape;  // what the song is like, for a failing test's message
};

RandomSong MakeRandomSong(std::uint32_t seed, const SongShape& shape = {});

}  // namespace korvana::test
