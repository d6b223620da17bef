#pragma once

// The manifest of a keyboard backup, backup.json: which slot each song image file belongs to,
// with its size and SHA-256, which slots were empty and which could not be fetched. It is
// written last, so a folder without it is no backup.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

inline constexpr const char* kManifestFileName = "backup.json";
inline constexpr const char* kBackupFormat = "korvana-backup";
constexpr int kBackupVersion = 1;

struct BackedUpSlot {
    int slot = 0;
    std::string name;  // the slot's name on the keyboard
    std::string file;  // the song image's file name in the backup folder
    std::uint64_t size = 0;
    std::string sha256;  // 64 lowercase hexadecimal digits

    bool operator==(const BackedUpSlot&) const = default;
};

struct BackupManifest {
    std::string device;                  // the keyboard's name from the connect reply
    std::string created;                 // UTC, "YYYY-MM-DDTHH:MM:SSZ"
    std::vector<BackedUpSlot> backedUp;  // "slots": ascending slot numbers
    std::vector<int> empty;              // ascending
    std::vector<int> failed;             // slots that could not be fetched; absent when none

    bool operator==(const BackupManifest&) const = default;
};

// "slot-NNN.mix": the slot number in three digits. Never the keyboard's name for the slot,
// which may be anything.
std::string BackupFileName(int slot);

// The time in the manifest's form, "YYYY-MM-DDTHH:MM:SSZ" (UTC).
std::string ManifestTime(std::chrono::system_clock::time_point time);

// The manifest as JSON text, keys in the order above, names as valid UTF-8 (bytes that are not
// become U+FFFD), ending with a line break.
std::string ManifestJson(const BackupManifest& manifest);

// Reads a manifest; nothing, with the reason in error, when the text is not JSON, not this
// format or version, or describes slots that cannot be (numbers outside 0 to 255, a slot listed
// twice, a file name that leaves the folder, a digest that is not 64 hexadecimal digits).
std::optional<BackupManifest> ParseManifest(std::string_view text, std::string& error);

}  // namespace korvana
