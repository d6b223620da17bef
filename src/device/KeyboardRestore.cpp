#include "device/KeyboardRestore.h"

#include <algorithm>
#include <system_error>

#include "common/SafeFile.h"
#include "common/Sha256.h"
#include "device/CMidiTrans.h"
#include "device/SongImageFormat.h"
#include "device/SongImageTransfer.h"

namespace korvana {
namespace fs = std::filesystem;

namespace {

// Bytes of image carried by each acknowledged piece of a data frame after the first (46 packed
// bytes, two per image byte).
constexpr std::size_t kImageBytesPerPiece = 23;

// Reports the bytes of one send as its pieces are acknowledged.
class SendProgress {
public:
    SendProgress(CMidiTrans& link, const SlotProgressFunction& report, SlotProgress step)
        : m_link(link), m_report(report), m_step(step) {
        if (!m_report)
            return;
        m_report(m_step);
        m_link.SetProgress([this] { Step(); });
    }
    ~SendProgress() {
        if (m_report)
            m_link.SetProgress(nullptr);
    }
    SendProgress(const SendProgress&) = delete;
    SendProgress& operator=(const SendProgress&) = delete;

    void Done() {
        if (!m_report)
            return;
        m_step.bytesDone = m_step.bytesTotal;
        m_report(m_step);
    }

private:
    // The first acknowledgement is the file header's.
    void Step() {
        if (++m_nPieces > 1)
            m_step.bytesDone = std::min(m_step.bytesTotal, (m_nPieces - 1) * kImageBytesPerPiece);
        m_report(m_step);
    }

    CMidiTrans& m_link;
    const SlotProgressFunction& m_report;
    SlotProgress m_step;
    std::size_t m_nPieces = 0;
};

// A path in UTF-8 on every system, for messages.
std::string PathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::optional<std::vector<std::uint8_t>> ReadListedFile(const fs::path& path,
                                                        const BackedUpSlot& slot,
                                                        std::string& error) {
    std::error_code ec;
    // Only a plain file is opened: a FIFO or device of that name would block or never end.
    if (!fs::is_regular_file(path, ec)) {
        error = PathText(path) + ": missing";
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size != slot.size) {
        error = PathText(path) + ": " + std::to_string(size) + " bytes, the manifest says " +
                std::to_string(slot.size);
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes || bytes->size() != slot.size) {
        error = PathText(path) + ": cannot be read";
        return std::nullopt;
    }
    if (Sha256Hex(*bytes) != slot.sha256) {
        error = PathText(path) + ": SHA-256 differs from the manifest's";
        return std::nullopt;
    }
    if (std::optional<std::string> problem = SongImageProblem(*bytes)) {
        error = PathText(path) + ": not a keyboard song image: " + *problem;
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<LoadedBackup> LoadBackup(const fs::path& folder, std::string& error) {
    const fs::path manifestPath = folder / kManifestFileName;
    std::error_code ec;
    std::optional<std::vector<std::uint8_t>> text;
    if (fs::is_regular_file(manifestPath, ec))
        text = ReadWholeFile(manifestPath);
    if (!text) {
        error = PathText(manifestPath) + ": missing";
        return std::nullopt;
    }
    std::string problem;
    std::optional<BackupManifest> manifest = ParseManifest(
        std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), problem);
    if (!manifest) {
        error = PathText(manifestPath) + ": " + problem;
        return std::nullopt;
    }
    LoadedBackup backup;
    for (const BackedUpSlot& slot : manifest->backedUp) {
        // Larger files cannot be images: refused before they are read.
        if (slot.size > kMaxImageSize) {
            error = PathText(folder / slot.file) + ": " + std::to_string(slot.size) +
                    " bytes is more than a song image can hold";
            return std::nullopt;
        }
        std::optional<std::vector<std::uint8_t>> bytes =
            ReadListedFile(folder / slot.file, slot, error);
        if (!bytes)
            return std::nullopt;
        backup.images.push_back({slot.slot, slot.name, std::move(*bytes)});
    }
    backup.manifest = std::move(*manifest);
    return backup;
}

std::optional<int> RestoreOutcome::StoppedSlot() const {
    if (interruption != Interruption::Stopped)
        return std::nullopt;
    for (const SlotFailure& failure : failed) {
        if (failure.error == kStoppedReason)
            return failure.slot;
    }
    return std::nullopt;
}

RestoreOutcome RestoreBackup(CMidiTrans& link, const LoadedBackup& backup,
                             const RestoreOptions& options, const SlotProgressFunction& progress) {
    RestoreOutcome outcome;
    std::size_t index = 0;
    for (const BackupImage& image : backup.images) {
        if (outcome.interruption != Interruption::None) {
            outcome.failed.push_back({image.slot, "not sent"});
            continue;
        }
        SendProgress shown(link, progress,
                           {image.slot, ++index, backup.images.size(), 0, image.bytes.size()});
        const ImageSendResult result = SendSongImage(link, image.bytes, image.slot, options.verify);
        if (result.Ok()) {
            shown.Done();
            outcome.restored.push_back(image.slot);
        } else {
            outcome.interruption = AfterFailedTransfer(link);
            outcome.failed.push_back({image.slot, outcome.interruption == Interruption::Stopped
                                                      ? kStoppedReason
                                                      : result.error});
        }
    }
    if (outcome.interruption != Interruption::None || !options.exact ||
        backup.manifest.empty.empty())
        return outcome;
    std::vector<std::string> names;
    const bool listed = link.ReadDirectory(names);
    for (const int slot : backup.manifest.empty) {
        if (!listed) {
            outcome.failed.push_back({slot, "Connection error!"});
        } else if (static_cast<std::size_t>(slot) < names.size() && names[slot] != kEmptySlotText) {
            if (link.DeleteSlot(static_cast<unsigned>(slot)))
                outcome.deleted.push_back(slot);
            else
                outcome.failed.push_back({slot, "the keyboard did not delete it"});
        }
    }
    return outcome;
}

}  // namespace korvana
