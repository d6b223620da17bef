#pragma once

// Joins received buffers into frames: everything up to and including a buffer whose last byte
// is 0xF7. Some drivers deliver one System Exclusive message in several buffers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace korvana {

class FrameAssembler {
public:
    static constexpr std::size_t kCapacity = 2000;
    using FrameHandler = std::function<void(std::span<const std::uint8_t>)>;

    // Appends one buffer; calls onFrame for each frame it completes. A buffer that would make the
    // frame reach the capacity drops the partial frame with it, and a buffer that starts a new
    // message (0xF0) discards an unfinished one, so assembly recovers at the next message.
    void Feed(std::span<const std::uint8_t> buffer, const FrameHandler& onFrame);

    std::size_t Fill() const { return m_nFill; }

private:
    std::array<std::uint8_t, kCapacity> m_buffer{};
    std::size_t m_nFill = 0;
};

}  // namespace korvana
