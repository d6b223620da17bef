#include "ImageCommands.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "Commands.h"
#include "TerminalProgress.h"
#include "cli/PrintableText.h"
#include "common/SafeFile.h"
#include "device/SongImageFormat.h"
#include "device/SongImageTransfer.h"

namespace korvana::cli {
namespace fs = std::filesystem;

namespace {

// Keyboards name slots in their own 8-bit text; printed JSON stays valid UTF-8.
void PrintJson(const nlohmann::ordered_json& json) {
    std::fputs(json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str(), stdout);
    std::fputs("\n", stdout);
}

void PrintFailures(const std::vector<SlotFailure>& failures) {
    for (const SlotFailure& failure : failures)
        std::fprintf(stderr, "SLOT %d: %s\n", failure.slot, Printable(failure.error).c_str());
}

// What a slot holds after a stopped send: the keyboard drops an unfinished data frame whole.
std::string SlotState(CMidiTrans& link, int slot) {
    std::vector<std::string> names;
    const bool listed = link.ReadDirectory(names);
    return Printable(
        SlotStateText(listed ? &names : nullptr, slot, "list the slots to see what it holds."));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadSongImageFile(const fs::path& file) {
    std::optional<std::vector<std::uint8_t>> image;
    std::error_code ec;
    // The largest image decides how much is read at most; a larger file is refused unread.
    if (fs::is_regular_file(file, ec) && fs::file_size(file, ec) <= kMaxImageSize)
        image = ReadWholeFile(file);
    const std::optional<std::string> problem =
        image ? SongImageProblem(*image) : "it cannot be read or is larger than a song image";
    if (problem) {
        std::fprintf(stderr, "%s: not a keyboard song image: %s\n", PrintablePath(file).c_str(),
                     problem->c_str());
        return std::nullopt;
    }
    return image;
}

int SendImage(CMidiTrans& link, const std::vector<std::uint8_t>& image, int slot, bool verify,
              const fs::path& file) {
    ImageSendResult result;
    {
        TerminalProgress progress(link, image.size());
        result = SendSongImage(link, image, slot, verify);
    }
    if (!result.sent && link.StopRequested()) {
        std::fprintf(stderr, "%s  Download stopped. %s\n", PrintablePath(file.filename()).c_str(),
                     SlotState(link, slot).c_str());
        return kExitRefused;
    }
    if (!result.sent) {
        // The keyboard's own reason first, as the window shows it.
        if (!result.error.empty() && result.error != "Download error!")
            std::fprintf(stderr, "%s\n", Printable(result.error).c_str());
        std::fprintf(stderr, "%s  Download error!\n", PrintablePath(file.filename()).c_str());
        return kExitRefused;
    }
    if (!result.Ok()) {
        PrintFailures({{slot, result.error}});
        return kExitRefused;
    }
    std::printf("Download successfully!\n");
    return kExitOk;
}

std::optional<int> CheckBackupFolder(const fs::path& folder) {
    if (std::optional<std::string> problem = BackupFolderProblem(folder)) {
        std::fprintf(stderr, "korvana-cli: %s %s; nothing was written\n",
                     PrintablePath(folder).c_str(), problem->c_str());
        return kExitUsage;
    }
    return std::nullopt;
}

int RunBackup(CMidiTrans& link, const fs::path& folder, const std::string& device, bool json) {
    BackupOutcome outcome;
    {
        SlotProgressLine line("Backing up");
        outcome = BackupKeyboard(link, folder, device, line.Function());
    }
    if (!outcome.error.empty()) {
        std::fprintf(stderr, "korvana-cli: %s\n", Printable(outcome.error).c_str());
        return kExitRefused;
    }
    PrintFailures(outcome.failures);
    if (json) {
        std::fputs(ManifestJson(outcome.manifest).c_str(), stdout);
    } else {
        std::printf("%zu slots backed up into %s, %zu empty, %zu failed\n",
                    outcome.manifest.backedUp.size(), PrintablePath(folder).c_str(),
                    outcome.manifest.empty.size(), outcome.failures.size());
    }
    return outcome.Complete() ? kExitOk : kExitRefused;
}

int RunRestore(CMidiTrans& link, const LoadedBackup& backup, const RestoreOptions& options,
               bool json) {
    RestoreOutcome outcome;
    {
        SlotProgressLine line("Restoring");
        outcome = RestoreBackup(link, backup, options, line.Function());
    }
    PrintFailures(outcome.failed);
    if (const std::optional<int> stopped = outcome.StoppedSlot())
        std::fprintf(stderr, "%s\n", SlotState(link, *stopped).c_str());
    if (json) {
        nlohmann::ordered_json report;
        report["restored"] = outcome.restored;
        report["failed"] = nlohmann::ordered_json::array();
        for (const SlotFailure& failure : outcome.failed)
            report["failed"].push_back({{"slot", failure.slot}, {"error", failure.error}});
        report["deleted"] = outcome.deleted;
        PrintJson(report);
    } else {
        std::printf("%zu slots restored, %zu failed, %zu deleted\n", outcome.restored.size(),
                    outcome.failed.size(), outcome.deleted.size());
    }
    return outcome.failed.empty() ? kExitOk : kExitRefused;
}

}  // namespace korvana::cli
