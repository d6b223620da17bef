#include "PendingFile.h"

#include <fstream>

#include "PathNames.h"
#include "SafeFile.h"

namespace korvana {

void PendingFile::Start(const std::string& path) {
    m_strPath = path;
    m_bytes.clear();
}

bool PendingFile::CanWrite() const {
    return std::ofstream(PathFromUtf8(m_strPath), std::ios::binary | std::ios::app).good();
}

void PendingFile::Append(std::string_view bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void PendingFile::Append(const std::vector<std::uint8_t>& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

bool PendingFile::Commit() {
    return WriteFileAtomically(PathFromUtf8(m_strPath), m_bytes);
}

}  // namespace korvana
