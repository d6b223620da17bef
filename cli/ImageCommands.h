#pragma once

// The keyboard commands of korvana-cli that move song images: send of a .mix file (with the
// verify that reads the slot back), backup and restore. Their checks that need no keyboard run
// before the ports are opened, so that a bad FILE or DIR never touches it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/CMidiTrans.h"
#include "device/KeyboardRestore.h"

namespace korvana::cli {

// The song image in FILE, checked; nothing after a message on stderr when it cannot be read or
// is not well formed.
std::optional<std::vector<std::uint8_t>> ReadSongImageFile(const std::filesystem::path& file);

// Sends an image into the slot, optionally verified; file names it in messages.
int SendImage(CMidiTrans& link, const std::vector<std::uint8_t>& image, int slot, bool verify,
              const std::filesystem::path& file);

// A process exit status when the folder cannot take a backup (after saying why on stderr).
std::optional<int> CheckBackupFolder(const std::filesystem::path& folder);
int RunBackup(CMidiTrans& link, const std::filesystem::path& folder, const std::string& device,
              bool json);

int RunRestore(CMidiTrans& link, const LoadedBackup& backup, const RestoreOptions& options,
               bool json);

}  // namespace korvana::cli
