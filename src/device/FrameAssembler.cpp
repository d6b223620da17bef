#include "device/FrameAssembler.h"

#include <algorithm>

#include "device/Frame.h"

namespace korvana {

void FrameAssembler::Feed(std::span<const std::uint8_t> buffer, const FrameHandler& onFrame) {
    if (buffer.empty())
        return;
    // A status byte 0xF0 can only begin a message: what is held is the rest of a lost one.
    if (buffer.front() == kSysExStart)
        m_nFill = 0;
    if (m_nFill + buffer.size() >= kCapacity) {
        m_nFill = 0;
        return;
    }
    std::copy(buffer.begin(), buffer.end(),
              m_buffer.begin() + static_cast<std::ptrdiff_t>(m_nFill));
    m_nFill += buffer.size();
    if (m_buffer[m_nFill - 1] == kSysExEnd) {
        const std::size_t length = m_nFill;
        m_nFill = 0;
        if (onFrame)
            onFrame(std::span<const std::uint8_t>(m_buffer.data(), length));
    }
}

}  // namespace korvana
