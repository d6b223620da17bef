#include "TransferState.h"

namespace korvana {

std::atomic<int> g_nTransState{kStateIdle};
std::array<std::uint8_t, kPayloadSize> g_payload{};
std::size_t g_nPayloadLength = 0;
std::array<char, kNameBufferSize> g_szDeviceName{};
std::array<char, kNameBufferSize> g_szSlotName{};
std::atomic<int> g_bConnected{0};
SlotNameList g_slotNames;

bool IsWaitingState(int state) {
    switch (state) {
        case kStateConnectWait:
        case kStateDirectoryWait:
        case kStateHeaderWait:
        case kStateDataWait:
        case kStateReadWait:
        case kStateBlockWait:
        case kStateDeleteWait:
            return true;
        default:
            return false;
    }
}

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
