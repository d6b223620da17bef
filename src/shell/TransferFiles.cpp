#include "TransferFiles.h"

#include <QFileInfo>
#include <filesystem>
#include <optional>
#include <system_error>

#include "CCJShell.h"
#include "PrivateConversion.h"
#include "Prompt.h"
#include "SafeFile.h"

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

}  // namespace

bool AcceptedByConverter(const QString& song) {
    return ConvertPrivately(CCJShell::ToPath(song)).Accepted();
}

void TransferFiles(const std::vector<TransferSource>& files, const QString& targetFolder,
                   const SongCheck& check, const SongRepairOffer& repair) {
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
            const QString checked = CCJShell::FromPath(privateCopy);
            if (!copied || !check(checked)) {
                const RepairChoice choice =
                    copied && repair ? repair(checked, name) : RepairChoice::NotOffered;
                // The repaired song goes through the check like any other.
                const bool repaired = choice == RepairChoice::Repaired && check(checked);
                if (!repaired && choice != RepairChoice::Declined)
                    Prompt().Message(name + ":  File is not supported!");
                if (!repaired)
                    continue;
            }
            copySource = privateCopy;
        }
        if (EntryExists(target)) {
            const PromptAnswer answer =
                Prompt().Ask("Overwrite?  " + name, PromptButtons::YesNoCancel);
            if (answer == PromptAnswer::Cancel) {
                return;
            }
            if (answer != PromptAnswer::Yes) {
                continue;
            }
        }
        CopyFileAtomically(copySource, target);
    }
}

}  // namespace korvana
