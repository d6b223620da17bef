#include "shell/TransferFiles.h"

#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "common/Prompt.h"
#include "common/SafeFile.h"
#include "conversion/PrivateConversion.h"
#include "shell/CCJShell.h"

namespace korvana {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool EntryExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Puts name in place of every occurrence of path in text.
std::string Renamed(std::string text, const std::string& path, const std::string& name) {
    for (std::size_t at = text.find(path); !path.empty() && at != std::string::npos;
         at = text.find(path, at + name.size())) {
        text.replace(at, path.size(), name);
    }
    return text;
}

enum class Stored { Yes, No, Cancelled };

// Copies source to target, asking first when something stands at target.
Stored Store(const fs::path& source, const fs::path& target, const std::string& name) {
    if (EntryExists(target)) {
        const PromptAnswer answer = Prompt().Ask("Overwrite?  " + name, PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel) {
            return Stored::Cancelled;
        }
        if (answer != PromptAnswer::Yes) {
            return Stored::No;
        }
    }
    return CopyFileAtomically(source, target) ? Stored::Yes : Stored::No;
}

// The repaired song takes the place of the private copy and goes through the check like any
// other song; false when it is refused or cannot be written.
bool TakeRepair(const fs::path& privateCopy, const RepairedSong& repair, const SongCheck& check) {
    return WriteFileAtomically(privateCopy, repair.bytes) &&
           check(CCJShell::FromPath(privateCopy)).bAccepted;
}

}  // namespace

SongVerdict CheckWithConverter(const QString& song) {
    const ConversionOutcome conversion = ConvertPrivately(CCJShell::ToPath(song));
    SongVerdict verdict{conversion.Accepted(), conversion.Messages(), {}};
    const std::string path = CCJShell::ToPath(song).string();
    const std::string name = QFileInfo(song).fileName().toStdString();
    for (const std::string& entry : conversion.Errors()) {
        verdict.errors.push_back(Renamed(entry, path, name));
    }
    return verdict;
}

std::string RefusalSummary(int added, int total,
                           const std::vector<std::pair<QString, SongVerdict>>& refused) {
    std::string text = "Added " + std::to_string(added) + " of " + std::to_string(total) +
                       " files. Not supported:";
    for (const auto& [name, verdict] : refused) {
        text += "\n\n" + name.toStdString();
        std::vector<std::string> reasons = verdict.messages;
        for (const std::string& entry : verdict.errors) {
            if (std::find(reasons.begin(), reasons.end(), entry) == reasons.end()) {
                reasons.push_back(entry);
            }
        }
        for (const std::string& reason : reasons) {
            text += "\n    " + reason;
        }
    }
    return text;
}

int TransferFiles(const std::vector<TransferSource>& files, const QString& targetFolder,
                  const SongCheck& check, const SongRepairer& repairer) {
    const bool several = files.size() > 1;
    std::vector<std::pair<QString, SongVerdict>> refused;
    std::vector<std::pair<QString, RepairedSong>> repairs;  // of refused songs, to be offered
    int added = 0;
    bool cancelled = false;
    for (const TransferSource& file : files) {
        const fs::path source = CCJShell::ToPath(file.strSourcePath);
        const fs::path target = CCJShell::ToPath(CCJShell::JoinPath(targetFolder, file.strName));
        if (!IsFile(source)) {
            continue;
        }
        const std::string name = file.strName.toStdString();
        // The song is checked in a private folder and stored from there, so the file stored is
        // exactly the file accepted, even if the original changes meanwhile.
        std::optional<TempFolder> scratch;
        fs::path copySource = source;
        if (check) {
            scratch.emplace();
            const fs::path privateCopy = scratch->Path() / CCJShell::ToPath(file.strName);
            std::error_code ec;
            const bool copied = scratch->IsValid() && fs::copy_file(source, privateCopy, ec);
            SongVerdict verdict;
            if (copied) {
                verdict = check(CCJShell::FromPath(privateCopy));
            } else {
                verdict.errors.push_back(name + ": cannot be read");
            }
            if (!verdict.bAccepted) {
                std::optional<RepairedSong> repair =
                    copied && repairer ? repairer(CCJShell::FromPath(privateCopy)) : std::nullopt;
                if (several) {
                    refused.emplace_back(file.strName, std::move(verdict));
                    if (repair) {
                        repairs.emplace_back(file.strName, std::move(*repair));
                    }
                    continue;
                }
                for (const std::string& message : verdict.messages) {
                    Prompt().Message(message);
                }
                const bool wanted =
                    repair && Prompt().Ask(RepairOfferText(name, repair->changes),
                                           PromptButtons::FixAndAddOk) == PromptAnswer::FixAndAdd;
                const bool repaired = wanted && TakeRepair(privateCopy, *repair, check);
                if (!repaired && (wanted || !repair)) {
                    Prompt().Message(name + ":  File is not supported!");
                }
                if (!repaired) {
                    continue;
                }
            }
            copySource = privateCopy;
        }
        const Stored stored = Store(copySource, target, name);
        added += stored == Stored::Yes ? 1 : 0;
        if (stored == Stored::Cancelled) {
            cancelled = true;
            break;
        }
    }
    if (refused.empty()) {
        return added;
    }
    const std::string summary = RefusalSummary(added, static_cast<int>(files.size()), refused);
    // After a Cancel nothing more is added.
    if (repairs.empty() || cancelled) {
        Prompt().Message(summary);
        return added;
    }
    if (Prompt().Ask(summary + RepairsOfferText(repairs), PromptButtons::FixAndAddOk) !=
        PromptAnswer::FixAndAdd) {
        return added;
    }
    for (const auto& [songName, repair] : repairs) {
        const std::string name = songName.toStdString();
        const TempFolder scratch;
        const fs::path privateCopy = scratch.Path() / CCJShell::ToPath(songName);
        if (!scratch.IsValid() || !TakeRepair(privateCopy, repair, check)) {
            Prompt().Message(name + ":  File is not supported!");
            continue;
        }
        const Stored stored =
            Store(privateCopy, CCJShell::ToPath(CCJShell::JoinPath(targetFolder, songName)), name);
        added += stored == Stored::Yes ? 1 : 0;
        if (stored == Stored::Cancelled) {
            break;
        }
    }
    return added;
}

}  // namespace korvana
