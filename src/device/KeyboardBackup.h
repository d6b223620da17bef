#pragma once

// A backup of the keyboard's slots into a folder: one song image file per occupied slot,
// "slot-NNN.mix", each written whole, and the manifest backup.json written last. A program that
// is killed midway leaves at most complete slot files and no manifest.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/BackupManifest.h"

namespace korvana {

class CMidiTrans;

// The slot list's text for a free slot.
inline constexpr const char* kEmptySlotText = "Empty";

// Where a backup or a restore stands, for a progress display: slot `index` of `count` (from 1),
// and the bytes of that slot moved so far.
struct SlotProgress {
    int slot = 0;
    std::size_t index = 0;
    std::size_t count = 0;
    std::size_t bytesDone = 0;
    std::size_t bytesTotal = 0;  // 0 while not yet known
};
using SlotProgressFunction = std::function<void(const SlotProgress&)>;

struct SlotFailure {
    int slot = 0;
    std::string error;

    bool operator==(const SlotFailure&) const = default;
};

// Why a series of transfers ended before its last slot.
enum class Interruption { None, Stopped, KeyboardGone };
// The failure of the slot whose transfer a stop ended.
inline constexpr const char* kStoppedReason = "stopped";

// After a failed transfer of a series: whether the series ends there, because a stop was asked
// for (CMidiTrans::RequestStop) or because the keyboard no longer lists its slots. A slot the
// keyboard merely refused lets the series go on.
Interruption AfterFailedTransfer(CMidiTrans& link);

// After a stopped transfer, what the slot holds by the keyboard's list (names; null when it could
// not be read): "Slot N is empty.", "Slot N holds NAME." with the name's own 8-bit text, or "Slot
// N could not be read: " and then howToLook.
std::string SlotStateText(const std::vector<std::string>* names, int slot,
                          const std::string& howToLook);

// A fetch that a stop ended, after the file's name.
inline constexpr const char* kFetchStoppedText =
    "  Upload stopped: nothing was written, and the slot is unchanged.";

struct BackupOutcome {
    BackupManifest manifest;            // as written; its `failed` lists the slots not fetched
    std::vector<SlotFailure> failures;  // why each of those failed
    // What stopped the backup as a whole (the slot list could not be read, the folder or the
    // manifest could not be written); empty when the manifest was written.
    std::string error;
    // Set when the fetches ended early; the slots left unfetched are among the failures.
    Interruption interruption = Interruption::None;

    bool Complete() const { return error.empty() && failures.empty(); }
};

// Why the folder cannot take a backup; nothing when it does not exist or is an empty folder.
std::optional<std::string> BackupFolderProblem(const std::filesystem::path& folder);

// Lists the slots, fetches every occupied one into the folder (created when missing) and writes
// the manifest with the device's name. A slot that cannot be fetched leaves no file; the others
// are still fetched, unless the failure interrupts the backup (then they fail as "not fetched").
// Nothing is written when the slot list cannot be read.
BackupOutcome BackupKeyboard(CMidiTrans& link, const std::filesystem::path& folder,
                             const std::string& device, const SlotProgressFunction& progress);

}  // namespace korvana
