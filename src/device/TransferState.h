#pragma once

// The codes of the transfer state that the input thread moves and an operation waits on.

#include <cstddef>

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

constexpr std::size_t kPayloadSize = 10240;  // the largest reply payload kept
constexpr std::size_t kNameBufferSize = 100;

}  // namespace korvana
