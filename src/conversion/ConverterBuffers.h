#pragma once

// The converter's large work buffers. Converters are short-lived, one per file, so the buffers are
// handed from one converter to the next instead of being allocated and cleared for each file;
// only the bytes a conversion writes are ever touched.

#include <cstddef>
#include <cstdint>
#include <memory>

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

struct ConverterBuffersRecycler {
    void operator()(ConverterBuffers* buffers) const noexcept;
};

using ConverterBuffersPtr = std::unique_ptr<ConverterBuffers, ConverterBuffersRecycler>;

// A set of buffers: the one the previous converter gave back, else a fresh (untouched) one.
ConverterBuffersPtr AcquireConverterBuffers();

}  // namespace korvana
