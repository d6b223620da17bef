#include "device/SlotNameList.h"

namespace korvana {

void SlotNameList::Clear() {
    std::lock_guard lock(m_mutex);
    m_names.clear();
}

void SlotNameList::Append(std::string name) {
    std::lock_guard lock(m_mutex);
    m_names.push_back(std::move(name));
}

std::size_t SlotNameList::Count() {
    std::lock_guard lock(m_mutex);
    return m_names.size();
}

std::vector<std::string> SlotNameList::Copy() {
    std::lock_guard lock(m_mutex);
    return m_names;
}

}  // namespace korvana
