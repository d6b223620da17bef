#pragma once

// The converter's large work buffers, allocated with it. They are left uninitialised: only the
// bytes a conversion writes are ever touched, so a short song costs a few pages of them.

#include <cstddef>
#include <cstdint>

#include "ControlListEntry.h"
#include "PartEventRecord.h"

namespace korvana {

struct ConverterBuffers {
    static constexpr std::size_t kPartCapacity = 131072;      // 2 MiB of records per part
    static constexpr std::size_t kPatternCapacity = 1048576;  // pattern data being built
    static constexpr std::uint32_t kNoMatch = 0xFFFFFFFFu;

    PartEventRecord parts[kPartCount][kPartCapacity];
    std::uint8_t pattern[kPatternCapacity];
    // Per record of the part being converted: the index of the record that ends its note.
    std::uint32_t noteEnd[kPartCapacity];
};

}  // namespace korvana
