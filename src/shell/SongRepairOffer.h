#pragma once

// The window's way with refused songs that the repair can fix: the refusal lists the changes and
// offers "Fix and Add" besides OK. The user's own files are never touched; what is added is the
// repaired copy.

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvana {

// A refused song's repair, ready to take the song's place.
struct RepairedSong {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> changes;  // one plain line per change
};

// Repairs the song in privateCopy without showing anything; nothing when it cannot be repaired.
using SongRepairer = std::function<std::optional<RepairedSong>(const QString& privateCopy)>;

std::optional<RepairedSong> RepairPrivateCopy(const QString& privateCopy);

// The refusal of one song that offers its repair.
std::string RepairOfferText(const std::string& name, const std::vector<std::string>& changes);

// What the summary of several refused songs adds when some of them can be repaired: each one's
// name and changes.
std::string RepairsOfferText(const std::vector<std::pair<QString, RepairedSong>>& repairs);

}  // namespace korvana
