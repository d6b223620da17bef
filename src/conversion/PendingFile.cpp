#include "conversion/PendingFile.h"

namespace korvana {

void PendingFile::Start(const std::string& path) {
    m_strPath = path;
    m_bytes.clear();
}

void PendingFile::Append(std::string_view bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void PendingFile::Append(const std::vector<std::uint8_t>& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

}  // namespace korvana
