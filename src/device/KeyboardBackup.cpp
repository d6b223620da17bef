#include "device/KeyboardBackup.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "common/SafeFile.h"
#include "common/Sha256.h"
#include "device/CMidiTrans.h"
#include "device/SongImageTransfer.h"
#include "device/TransferLimits.h"

namespace korvana {
namespace fs = std::filesystem;

namespace {

// Reports the bytes of one fetch as its blocks come in.
class BlockProgress {
public:
    BlockProgress(CMidiTrans& link, const SlotProgressFunction& report, SlotProgress step)
        : m_link(link) {
        if (!report)
            return;
        report(step);
        m_link.SetBlockProgress([&report, step](std::size_t received, std::size_t blocks) mutable {
            step.bytesDone = received * kBlockSize;
            step.bytesTotal = blocks * kBlockSize;
            report(step);
        });
    }
    ~BlockProgress() { m_link.SetBlockProgress(nullptr); }
    BlockProgress(const BlockProgress&) = delete;
    BlockProgress& operator=(const BlockProgress&) = delete;

private:
    CMidiTrans& m_link;
};

}  // namespace

Interruption AfterFailedTransfer(CMidiTrans& link) {
    if (link.StopRequested())
        return Interruption::Stopped;
    std::vector<std::string> names;
    return link.ReadDirectory(names) ? Interruption::None : Interruption::KeyboardGone;
}

std::string SlotStateText(const std::vector<std::string>* names, int slot,
                          const std::string& howToLook) {
    const std::string number = "Slot " + std::to_string(slot);
    if (names == nullptr || slot < 0 || static_cast<std::size_t>(slot) >= names->size())
        return number + " could not be read: " + howToLook;
    const std::string& name = (*names)[static_cast<std::size_t>(slot)];
    return name == kEmptySlotText ? number + " is empty." : number + " holds " + name + ".";
}

std::optional<std::string> BackupFolderProblem(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder, ec);
    if (status.type() == fs::file_type::not_found)
        return std::nullopt;
    if (ec)
        return "cannot be read: " + ec.message();
    if (status.type() != fs::file_type::directory)
        return "is not a folder";
    if (!fs::is_empty(folder, ec) || ec)
        return ec ? "cannot be read: " + ec.message() : "is not empty";
    return std::nullopt;
}

BackupOutcome BackupKeyboard(CMidiTrans& link, const fs::path& folder, const std::string& device,
                             const SlotProgressFunction& progress) {
    BackupOutcome outcome;
    BackupManifest& manifest = outcome.manifest;
    manifest.device = device;
    manifest.created = ManifestTime(std::chrono::system_clock::now());
    std::vector<std::string> names;
    if (!link.ReadDirectory(names)) {
        outcome.error = "Connection error!";
        return outcome;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        outcome.error = "cannot create the folder: " + ec.message();
        return outcome;
    }
    const auto occupied = static_cast<std::size_t>(
        std::count_if(names.begin(), names.end(),
                      [](const std::string& name) { return name != kEmptySlotText; }));
    std::size_t index = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int slot = static_cast<int>(i);
        if (names[i] == kEmptySlotText) {
            manifest.empty.push_back(slot);
            continue;
        }
        if (outcome.interruption != Interruption::None) {
            manifest.failed.push_back(slot);
            outcome.failures.push_back({slot, "not fetched"});
            continue;
        }
        SlotProgress step{slot, ++index, occupied, 0, 0};
        std::optional<std::vector<std::uint8_t>> image;
        {
            const BlockProgress shown(link, progress, step);
            image = FetchSongImage(link, slot);
        }
        const std::string file = BackupFileName(slot);
        std::string error;
        if (!image) {
            outcome.interruption = AfterFailedTransfer(link);
            error =
                outcome.interruption == Interruption::Stopped ? kStoppedReason : "Upload error!";
        } else if (!WriteFileAtomically(folder / file, *image)) {
            error = "cannot write " + file;
        }
        const std::string digest = image ? Sha256Hex(*image) : std::string();
        if (error.empty() && digest.empty())
            error = "no SHA-256 for " + file;
        if (!error.empty()) {
            fs::remove(folder / file, ec);
            manifest.failed.push_back(slot);
            outcome.failures.push_back({slot, error});
            continue;
        }
        manifest.backedUp.push_back({slot, names[i], file, image->size(), digest});
        step.bytesDone = step.bytesTotal = image->size();
        if (progress)
            progress(step);
    }
    const std::string json = ManifestJson(manifest);
    if (!WriteFileAtomically(
            folder / kManifestFileName,
            std::span(reinterpret_cast<const std::uint8_t*>(json.data()), json.size())))
        outcome.error = std::string("cannot write ") + kManifestFileName;
    return outcome;
}

}  // namespace korvana
