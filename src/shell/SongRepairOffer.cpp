#include "shell/SongRepairOffer.h"

#include "common/Prompt.h"
#include "common/SafeFile.h"
#include "conversion/SongFix.h"
#include "shell/CCJShell.h"

namespace korvana {

RepairChoice OfferRepair(const QString& privateCopy, const std::string& name) {
    const std::filesystem::path song = CCJShell::ToPath(privateCopy);
    const SongFix fix = FixSong(song);
    if (!fix.fixable || fix.unchanged)
        return RepairChoice::NotOffered;
    std::string text = name +
                       ":  File is not supported!\n\nKorvana can repair it. Fix and Add puts the "
                       "repaired song into the repository; your own file stays as it is. The "
                       "repair:";
    for (const std::string& change : fix.changes)
        text += "\n- " + change;
    if (Prompt().Ask(text, PromptButtons::FixAndAddOk) != PromptAnswer::FixAndAdd)
        return RepairChoice::Declined;
    return WriteFileAtomically(song, fix.bytes) ? RepairChoice::Repaired : RepairChoice::Declined;
}

}  // namespace korvana
