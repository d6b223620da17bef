#pragma once

// An output file whose bytes are collected in memory, to be written whole at the end, so a failed
// conversion never leaves it half-written.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

class PendingFile {
public:
    // Starts an empty content for path.
    void Start(const std::string& path);
    void Append(std::string_view bytes);
    void Append(const std::vector<std::uint8_t>& bytes);

    const std::string& Path() const { return m_strPath; }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::string m_strPath;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace korvana
