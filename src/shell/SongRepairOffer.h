#pragma once

// The window's way with a refused song that the repair can fix: the refusal lists the changes
// and offers "Fix and Add" besides OK. The user's own file is never touched; what is added is the
// repaired copy.

#include <QString>
#include <functional>
#include <string>

namespace korvana {

enum class RepairChoice {
    NotOffered,  // the song cannot be repaired: the refusal is still to be shown
    Declined,    // the refusal with the offer was shown and answered OK
    Repaired,    // "Fix and Add": privateCopy now holds the repaired song
};

// privateCopy is the private copy of the song that name stands for.
using SongRepairOffer =
    std::function<RepairChoice(const QString& privateCopy, const std::string& name)>;

RepairChoice OfferRepair(const QString& privateCopy, const std::string& name);

}  // namespace korvana
