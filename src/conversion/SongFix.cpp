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

std::string PlainRefusal(std::string entry, const std::string& scratch, const std::string& file) {
    for (const Refusal& refusal : kRefusals) {
        if (entry.ends_with(refusal.entryEnd))
            return refusal.words;
    }
    if (entry.find(" Error 0x") != std::string::npos ||
        entry.find("Delta Too Large") != std::string::npos)
        return "It has a pause between two events longer than the keyboard can store.";
    for (std::size_t at; (at = entry.find(scratch)) != std::string::npos;)
        entry.replace(at, scratch.size(), file);
    return "The keyboard's check still refuses the repaired song: " + entry;
}

}  // namespace

SongFix FixSong(const fs::path& file, const RepairOptions& options) {
    SongFix fix;
    std::optional<std::vector<std::uint8_t>> song = ReadWholeFile(file);
    if (!song) {
        fix.readable = false;
        return fix;
    }
    if (ConvertPrivately(file).Accepted()) {
        fix.unchanged = fix.fixable = true;
        fix.bytes = std::move(*song);
        return fix;
    }
    SongRepair repair = RepairSong(*song, options);
    if (!repair.errors.empty()) {
        fix.errors = std::move(repair.errors);
        return fix;
    }
    // The repaired song goes through the same check as any other song.
    const TempFolder scratch;
    const fs::path copy = scratch.Path() / "repaired.mid";
    if (!scratch.IsValid() || !WriteFileAtomically(copy, repair.bytes)) {
        fix.errors.push_back("The repaired song could not be checked: no temporary file.");
        return fix;
    }
    const ConversionOutcome check = ConvertPrivately(copy);
    if (!check.Accepted()) {
        for (const std::string& entry : check.Errors()) {
            std::string line = PlainRefusal(entry, Utf8FromPath(copy), Utf8FromPath(file));
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
