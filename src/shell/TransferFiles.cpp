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
                  const SongCheck& check, const SongRepairOffer& repair) {
    const bool several = files.size() > 1;
    std::vector<std::pair<QString, SongVerdict>> refused;
    int added = 0;
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
                if (several) {
                    refused.emplace_back(file.strName, std::move(verdict));
                    continue;
                }
                for (const std::string& message : verdict.messages) {
                    Prompt().Message(message);
                }
                const QString checked = CCJShell::FromPath(privateCopy);
                const RepairChoice choice =
                    copied && repair ? repair(checked, name) : RepairChoice::NotOffered;
                // The repaired song goes through the check like any other.
                const bool repaired = choice == RepairChoice::Repaired && check(checked).bAccepted;
                if (!repaired && choice != RepairChoice::Declined) {
                    Prompt().Message(name + ":  File is not supported!");
                }
                if (!repaired) {
                    continue;
                }
            }
            copySource = privateCopy;
        }
        if (EntryExists(target)) {
            const PromptAnswer answer =
                Prompt().Ask("Overwrite?  " + name, PromptButtons::YesNoCancel);
            if (answer == PromptAnswer::Cancel) {
                break;
            }
            if (answer != PromptAnswer::Yes) {
                continue;
            }
        }
        if (CopyFileAtomically(copySource, target)) {
            ++added;
        }
    }
    if (!refused.empty()) {
        Prompt().Message(RefusalSummary(added, static_cast<int>(files.size()), refused));
    }
    return added;
}

}  // namespace korvana
