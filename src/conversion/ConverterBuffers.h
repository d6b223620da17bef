#pragma once

// The converter's work buffers. They grow with the song up to the limits below, so a short
// pattern costs a few kilobytes and converting it allocates nothing per event.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "conversion/ControlListEntry.h"
#include "conversion/PartEventRecord.h"

namespace korvana {

struct ConverterBuffers {
    static constexpr std::size_t kPartCapacity = 131072;  // 2 MiB of records per part
    // The pattern data is refused beyond 0xFFFF bytes; building it stops after the record that
    // crosses that (8 bytes at most) and adds one padding byte.
    static constexpr std::size_t kPatternCapacity = 0x10000 + 16;
    static constexpr std::uint32_t kNoMatch = 0xFFFFFFFFu;

    std::vector<PartEventRecord> parts[kPartCount];
    std::vector<std::uint8_t> pattern = std::vector<std::uint8_t>(kPatternCapacity);
    // Per record of the part being converted: the index of the record that ends its note.
    std::vector<std::uint32_t> noteEnd;
};

}  // namespace korvana
