#pragma once

// Files a user may keep are written whole or not at all: to a temporary name in the target
// folder first, then renamed over the target. Private scratch work happens in a temporary folder
// of its own that is removed with everything in it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvana {

// Reads a whole file; nothing when it cannot be opened or read completely.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// Writes bytes to path through a temporary file in the same folder. On failure the target is
// untouched and no temporary file is left behind.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

enum class NewFileResult { Written, Exists, Failed };

// Writes bytes to a new file at path, whole or not at all, through a temporary file in the same
// folder. Whatever stands at path already (a file, a folder, a link) is left as it is: Exists.
NewFileResult WriteNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Copies source over target (overwriting) through a temporary file in the target's folder.
bool CopyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);

// A private folder under the system's temporary folder, removed with its contents on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool IsValid() const { return !m_path.empty(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace korvana
