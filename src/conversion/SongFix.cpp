#include "conversion/SongFix.h"

#include <algorithm>
#include <string_view>

#include "common/PathNames.h"
#include "common/SafeFile.h"
#include "conversion/PrivateConversion.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;

// The check's log entries for what no repair can change, in plain words.
struct Refusal {
    std::string_view entryEnd;
    const char* words;
};
constexpr Refusal kRefusals[] = {
    {"Pattern Data Too Large",
     "Its pattern data would be larger than the 64 KB the keyboard holds."},
    {"Too Many Events", "One of its parts has more events than the keyboard can hold."},
    {"Too Many Measures", "It is longer than the 65535 measures the keyboard can count."},
    {"Tempo Out Of Range", "Its tempo in track 0 is too fast or too slow for the keyboard."},
};

std::string PlainRefusal(const std::string& entry) {
    for (const Refusal& refusal : kRefusals) {
        if (entry.ends_with(refusal.entryEnd))
            return refusal.words;
    }
    if (entry.find(" Error 0x") != std::string::npos ||
        entry.find("Delta Too Large") != std::string::npos)
        return "It has a pause between two events longer than the keyboard can store.";
    return "The keyboard's check still refuses the repaired song: " + entry;
}

}  // namespace

SongFix FixSong(const fs::path& file, const RepairOptions& options) {
    std::optional<std::vector<std::uint8_t>> song = ReadWholeFile(file);
    if (!song) {
        SongFix fix;
        fix.readable = false;
        return fix;
    }
    return FixSong(Utf8FromPath(file), std::move(*song), options);
}

SongFix FixSong(const std::string& name, std::vector<std::uint8_t> song,
                const RepairOptions& options) {
    SongFix fix;
    // Both checks run on the bytes in memory: nothing is written on the way.
    if (ConvertPrivately(name, song).Accepted()) {
        fix.unchanged = fix.fixable = true;
        fix.bytes = std::move(song);
        return fix;
    }
    SongRepair repair = RepairSong(song, options);
    if (!repair.errors.empty()) {
        fix.errors = std::move(repair.errors);
        return fix;
    }
    // The repaired song goes through the same check as any other song.
    const ConversionOutcome check = ConvertPrivately(name, repair.bytes);
    if (!check.Accepted()) {
        for (const std::string& entry : check.Errors()) {
            std::string line = PlainRefusal(entry);
            if (std::find(fix.errors.begin(), fix.errors.end(), line) == fix.errors.end())
                fix.errors.push_back(std::move(line));
        }
        return fix;
    }
    fix.fixable = true;
    fix.bytes = std::move(repair.bytes);
    fix.changes = std::move(repair.changes);
    return fix;
}

}  // namespace korvana
