#pragma once

// The transfer state shared by the waiting thread and the input thread. The input thread writes
// the payload and names first and then, with release order, the state code that announces them;
// the waiting thread reads them only after it has seen that code.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace korvana {

enum TransState : int {
    kStateIdle = 0,
    kStateConnectWait = 1,
    kStateConnected = 2,
    kStateConnectRefused = 3,
    kStateConnectFailed = 4,
    kStateDirectoryWait = 5,
    kStateDirectoryDone = 6,
    kStateDirectoryOutOfOrder = 8,
    kStateHeaderWait = 10,
    kStateHeaderAccepted = 11,
    kStateHeaderCapacity = 12,
    kStateHeaderRefused = 13,
    kStateHeaderFailed = 14,
    kStateDataWait = 15,
    kStateDataAccepted = 16,
    kStateDataRefused = 17,
    kStateDataFailed = 18,
    kStateReadWait = 19,
    kStateReadAccepted = 20,
    kStateReadRefused = 21,
    kStateReadFailed = 22,
    kStateBlockWait = 23,
    kStateBlockReceived = 24,
    kStateDeleteWait = 27,
    kStateDeleted = 28,
    kStateDeleteRefused = 29,
    kStateDeleteFailed = 30,
};

// Whether an operation is still waiting in this state; every other code is final until the
// next operation sets a waiting code.
bool IsWaitingState(int state);

constexpr std::size_t kPayloadSize = 10240;
constexpr std::size_t kNameBufferSize = 100;

extern std::atomic<int> g_nTransState;
extern std::array<std::uint8_t, kPayloadSize> g_payload;  // payload of the last frame that moved
extern std::size_t g_nPayloadLength;                      // the state, and its length
extern std::array<char, kNameBufferSize> g_szDeviceName;
extern std::array<char, kNameBufferSize> g_szSlotName;
extern std::atomic<int> g_bConnected;

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
extern SlotNameList g_slotNames;

}  // namespace korvana
