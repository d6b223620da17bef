#include "shell/SongRepairOffer.h"

#include "conversion/SongFix.h"
#include "shell/CCJShell.h"

namespace korvana {
namespace {

std::string ChangeLines(const std::vector<std::string>& changes) {
    std::string lines;
    for (const std::string& change : changes)
        lines += "\n- " + change;
    return lines;
}

}  // namespace

std::optional<RepairedSong> RepairPrivateCopy(const QString& privateCopy) {
    SongFix fix = FixSong(CCJShell::ToPath(privateCopy));
    if (!fix.fixable || fix.unchanged)
        return std::nullopt;
    return RepairedSong{std::move(fix.bytes), std::move(fix.changes)};
}

std::string RepairOfferText(const std::string& name, const std::vector<std::string>& changes) {
    return name +
           ":  File is not supported!\n\nKorvana can repair it. Fix and Add puts the repaired "
           "song into the repository; your own file stays as it is. The repair:" +
           ChangeLines(changes);
}

std::string RepairsOfferText(const std::vector<std::pair<QString, RepairedSong>>& repairs) {
    std::string text = "\n\nKorvana can repair " + std::to_string(repairs.size()) +
                       " of them. Fix and Add puts the repaired songs into the repository under "
                       "their names; your own files stay as they are. The repairs:";
    for (const auto& [name, repair] : repairs)
        text += "\n\n" + name.toStdString() + ChangeLines(repair.changes);
    return text;
}

}  // namespace korvana
