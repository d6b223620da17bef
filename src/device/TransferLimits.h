#pragma once

// The protocol's limits and time-outs, shared by the program's side and the simulated keyboard.

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "device/Frame.h"

namespace korvana {

// Time-outs of the operations, in milliseconds, counted from the end of the request's sending.
constexpr std::uint32_t kConnectTimeout = 200;
constexpr std::uint32_t kDirectoryTimeout = 1000;
constexpr std::uint32_t kDeleteTimeout = 1000;
// Base time-outs of a send (per started 1000 bytes of the image) and of each step of a fetch.
constexpr std::uint32_t kSendTimeout = 500;
constexpr std::uint32_t kFetchTimeout = 200;
// Time each chunk of a long frame waits for the device's acknowledgement.
constexpr std::chrono::milliseconds kChunkAckTimeout{100};
// What a whole send may spend per chunk on average: a keyboard on a 31,250-baud cable needs
// about 20 ms, one that keeps every chunk close to its time-out is not worth waiting for.
constexpr std::chrono::milliseconds kChunkAllowance{50};
// How long an operation waits while another Korvana program talks to the same keyboard.
constexpr std::chrono::milliseconds kKeyboardLockTimeout{30000};

constexpr int kMaxSlot = 255;
// A fetched file comes in blocks of this many bytes.
constexpr std::size_t kBlockSize = 256;

// A song image: an 82-byte control entry, then at most 65,535 bytes of pattern data (the entry
// gives their size in 16 bits).
constexpr std::size_t kControlEntrySize = 82;
constexpr std::size_t kMaxImageSize = kControlEntrySize + 0xFFFF;
// The longest frame of the protocol: the data frame of the largest image.
constexpr std::size_t kMaxFrameSize = kFrameOverhead + 2 * kMaxImageSize;

}  // namespace korvana
