#pragma once

// Song images as the keyboard stores them: an 82-byte control entry whose last two bytes give the
// size of the pattern data behind it, which starts with FF FF.

#include <cstdint>
#include <vector>

#include "device/Frame.h"

namespace korvana::test {

inline std::vector<std::uint8_t> SongImage(std::size_t patternSize, std::uint8_t seed = 1) {
    std::vector<std::uint8_t> image(82, 0x20);
    for (std::size_t i = 8; i < 80; ++i)
        image[i] = static_cast<std::uint8_t>(seed + i);
    image[80] = static_cast<std::uint8_t>(patternSize);
    image[81] = static_cast<std::uint8_t>(patternSize >> 8);
    image.push_back(0xFF);
    image.push_back(0xFF);
    for (std::size_t i = 2; i < patternSize; ++i)
        image.push_back(static_cast<std::uint8_t>(seed * 31 + i * 13));
    return image;
}

}  // namespace korvana::test
