#pragma once

// What `korvana-cli fix` and the window's "Fix and Add" do with one song file: a song the keyboard
// accepts stays as it is; a refused one is repaired, and the repair is checked by the keyboard's
// ordinary check before anyone may keep it. Nothing is written here: the caller writes the bytes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/SongRepair.h"

namespace korvana {

struct SongFix {
    bool readable = true;    // false when the file cannot be read at all
    bool unchanged = false;  // the keyboard accepts the song as it is: bytes are the file's own
    bool fixable = false;    // bytes hold a song the keyboard's check accepts
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> changes;  // one plain line per change
    std::vector<std::string> errors;   // plain lines on why the song cannot be fixed
};

// Message boxes that the check raises on the way are kept from the user.
SongFix FixSong(const std::filesystem::path& file, const RepairOptions& options = {});
// The song's bytes, read already; name stands for the song in the check's log entries.
SongFix FixSong(const std::string& name, std::vector<std::uint8_t> song,
                const RepairOptions& options = {});

}  // namespace korvana
