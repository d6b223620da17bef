#pragma once

// How a frame travels as System Exclusive messages of at most 48 bytes: pieces of 47 and then 46
// bytes, each completed so that it begins with 0xF0 and ends with 0xF7 on its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvana {

constexpr std::size_t kFirstPieceSize = 47;
constexpr std::size_t kLaterPieceSize = 46;
constexpr std::size_t kMaxMessageSize = 48;

// The pieces of a frame in sending order: the first 47 bytes (or all), then 46 at a time.
std::vector<std::span<const std::uint8_t>> SplitFrame(std::span<const std::uint8_t> frame);

// How many pieces SplitFrame makes of a frame of that size.
std::size_t PieceCount(std::size_t frameSize);

// Completes one piece (at most 47 bytes) into a message in out; returns its length, or 0 for a
// piece too long to be sent as one message.
std::size_t CompleteSysEx(std::span<const std::uint8_t> piece,
                          std::array<std::uint8_t, kMaxMessageSize>& out);

}  // namespace korvana
