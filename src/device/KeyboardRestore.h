#pragma once

// Puts a backup made by BackupKeyboard back into the keyboard. The whole backup is read and
// checked first (every file's size, SHA-256 and form), so that nothing is sent from a damaged
// one; then each image goes into its slot in ascending order.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/BackupManifest.h"
#include "device/KeyboardBackup.h"

namespace korvana {

class CMidiTrans;

struct BackupImage {
    int slot = 0;
    std::string name;
    std::vector<std::uint8_t> bytes;
};

struct LoadedBackup {
    BackupManifest manifest;
    std::vector<BackupImage> images;  // ascending slots
};

// Reads the folder's manifest and every file it lists. Nothing, with error naming the file at
// fault and why, when the manifest is missing or not a backup's, or a file is missing, of
// another size or SHA-256, or not a well-formed song image.
std::optional<LoadedBackup> LoadBackup(const std::filesystem::path& folder, std::string& error);

struct RestoreOptions {
    bool exact = false;   // afterwards, delete the slots the backup lists as empty
    bool verify = false;  // read every slot back after sending it
};

struct RestoreOutcome {
    std::vector<int> restored;
    std::vector<SlotFailure> failed;
    std::vector<int> deleted;
    // Set when the sends ended early; the slots left unsent are among the failures.
    Interruption interruption = Interruption::None;

    // The slot whose send a stop ended, if any.
    std::optional<int> StoppedSlot() const;
};

// Sends every image into its slot; a failing slot is reported and the others still go, unless
// the failure interrupts the restore (then they fail as "not sent" and nothing is deleted).
RestoreOutcome RestoreBackup(CMidiTrans& link, const LoadedBackup& backup,
                             const RestoreOptions& options, const SlotProgressFunction& progress);

}  // namespace korvana
