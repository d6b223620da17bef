#pragma once

// An output file whose bytes are collected in memory and written whole at the end, so a failed
// conversion never leaves it half-written.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

class PendingFile {
public:
    // Makes sure path can be written (creating it when missing, keeping what it holds) and starts
    // an empty content.
    bool Create(const std::string& path);
    void Append(std::string_view bytes);
    void Append(const std::vector<std::uint8_t>& bytes);
    // Replaces the file with the collected bytes.
    bool Commit();

    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace korvana
