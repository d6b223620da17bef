#pragma once

// The one copy routine of the window: drops and Copy Up into the repository (with the
// converter's check), Copy Down out of it (without).

#include <QString>
#include <functional>
#include <vector>

#include "SongRepairOffer.h"

namespace korvana {

// One file to copy: where it is read from, and the name it gets in the target folder.
struct TransferSource {
    QString strSourcePath;
    QString strName;
};

// Judges a song; true when the keyboard accepts it.
using SongCheck = std::function<bool(const QString& song)>;

// The repository's check: the converter run on a private copy, accepted when its log is empty.
bool AcceptedByConverter(const QString& song);

// Copies each file into targetFolder under its name, in order. A source that is missing or a
// folder is passed over. With a check, a refused song is named in name + ":  File is not
// supported!" and not copied; the copy that is checked is the copy that is stored. An existing
// target asks "Overwrite?  " + name: No skips the file, Cancel stops the whole transfer. Copies
// never leave a half-written file; a failed copy shows only in the next rebuild of the list.
// With a repair offer, a refused song that can be repaired may be added repaired instead, after
// the same check.
void TransferFiles(const std::vector<TransferSource>& files, const QString& targetFolder,
                   const SongCheck& check, const SongRepairOffer& repair = {});

}  // namespace korvana
