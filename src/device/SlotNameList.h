#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace korvana {

// The directory entries received so far, in index order. The input thread appends while the
// waiting thread may start the next read, so the list has a lock of its own.
class SlotNameList {
public:
    void Clear();
    void Append(std::string name);
    std::size_t Count();
    std::vector<std::string> Copy();

private:
    std::mutex m_mutex;
    std::vector<std::string> m_names;
};

}  // namespace korvana
