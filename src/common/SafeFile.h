#pragma once

// Files a user may keep are written whole or not at all: to a temporary name in the target
// folder first, then renamed over the target. A symbolic link at the target is replaced, never
// written through. Private scratch work happens in a temporary folder of its own that is removed
// with everything in it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace korvana {

// Reads a whole regular file; nothing when it cannot be opened, is no regular file or cannot be
// read completely, and then error says why.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::error_code& error);
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

enum class NewFileResult { Written, Exists, Failed };

// A file written whole or not at all: the bytes go to a new temporary file beside the target,
// which Commit renames over it. Destroyed without a Commit, the temporary file is removed and the
// target stays as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Why the temporary file could not be created or written, or no error.
    const std::error_code& Error() const { return m_error; }
    bool Write(std::span<const std::uint8_t> bytes);
    bool Commit();
    // Puts the file at the target only where nothing stands: whatever appeared there meanwhile
    // (a file, a folder, a link) is kept, and the result is Exists.
    NewFileResult CommitNew();

private:
    bool CloseTemporary();

    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    std::error_code m_error;
    int m_nFd = -1;
};

// Why target cannot be replaced by a file written whole, or no error: it exists as something
// other than a regular file or a symbolic link, or its folder takes no new file. Leaves nothing.
std::error_code CheckReplaceable(const std::filesystem::path& target);

// Writes bytes to path through a temporary file in the same folder. On failure the target is
// untouched and no temporary file is left behind.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

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
