#pragma once

// The one copy routine of the window: drops and Copy Up into the repository (with the
// converter's check), Copy Down out of it (without).

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "shell/SongRepairOffer.h"

namespace korvana {

// One file to copy: where it is read from, and the name it gets in the target folder.
struct TransferSource {
    QString strSourcePath;
    QString strName;
};

// What a check says of a song, in the texts `korvana-cli check` prints: the messages it raised
// and its log entries, each in order.
struct SongVerdict {
    bool bAccepted = false;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
};

// Judges a song without showing anything.
using SongCheck = std::function<SongVerdict(const QString& song)>;

// The repository's check: the converter run on the song in memory, accepted when its log is
// empty. The log names the song as the file's name alone.
SongVerdict CheckWithConverter(const QString& song);

// Copies each file into targetFolder under its name, in order, and returns how many were
// copied. A source that is missing or a folder is passed over. With a check, a refused song is
// not copied; the copy that is checked is the copy that is stored. A single file refused shows
// the check's messages, then name + ":  File is not supported!"; of several files, the refused
// ones are named together at the end, each with every reason of its check, with the number
// added. An existing target asks "Overwrite?  " + name: No skips the file, Cancel stops the
// whole transfer. Copies never leave a half-written file. With a repairer, refused songs that
// can be repaired are offered "Fix and Add" in that refusal, with their changes; on Fix and Add
// each repaired song, checked like any other, is added under its song's name.
int TransferFiles(const std::vector<TransferSource>& files, const QString& targetFolder,
                  const SongCheck& check, const SongRepairer& repairer = {});

// The summary of several refused files: how many of the files were added, then each refused
// file's name followed by its reasons, one per line (a message that repeats a log entry once).
std::string RefusalSummary(int added, int total,
                           const std::vector<std::pair<QString, SongVerdict>>& refused);

}  // namespace korvana
