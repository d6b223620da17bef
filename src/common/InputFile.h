#pragma once

// Files the programs read (songs, stored images) are opened only when they are regular files.
// The open itself does not block, so a FIFO or a device planted under a song's name is refused
// at once instead of hanging the open or the read; what it is is checked on the opened file, so
// nothing can be swapped in between the check and the read.

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace korvana {

// The error of an input that exists but is not a regular file: "not a regular file".
std::error_code NotRegularFileError();

class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Why the file cannot be read, or no error when it is open.
    const std::error_code& Error() const { return m_error; }
    bool IsOpen() const { return !m_error; }
    std::uint64_t Size() const { return m_nSize; }
    // Fills buffer from the start of the file; false when the file holds fewer bytes or cannot
    // be read.
    bool Read(std::span<std::uint8_t> buffer);

private:
    std::error_code m_error;
    std::uint64_t m_nSize = 0;
    int m_nFd = -1;
};

}  // namespace korvana
