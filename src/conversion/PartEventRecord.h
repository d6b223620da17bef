#pragma once

// One converted event in a part buffer (memory only).

#include <cstdint>

namespace korvana {

struct PartEventRecord {
    // Delta ticks since the part's previous record, least significant 7-bit group first; the
    // first byte has bit 7 clear, the following ones bit 7 set; unused bytes are 0.
    std::uint8_t byDelta[4];
    std::uint8_t byStatus;
    std::uint8_t byData1;  // 0x2F for End of Track
    std::uint8_t byData2;  // velocity for notes; 0 for End of Track
    std::uint8_t byReserved;
    std::uint8_t byLength[4];  // a sounding note's length, in the same order as byDelta
    std::uint32_t dwTime;      // absolute ticks on the 192-per-quarter grid
};
static_assert(sizeof(PartEventRecord) == 16);

// Writes value least significant group first into four bytes that start cleared.
// Callers keep value at or below 0x0FFFFFFF.
inline void WriteReversedQuantity(std::uint32_t value, std::uint8_t (&bytes)[4]) {
    for (int i = 0; i < 4 && value; ++i) {
        bytes[i] = static_cast<std::uint8_t>((value & 0x7F) | (i ? 0x80 : 0));
        value >>= 7;
    }
}

}  // namespace korvana
