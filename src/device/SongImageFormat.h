#pragma once

// A song image is exactly what a send puts into a keyboard slot: the 82-byte control list entry
// followed by the pattern data. Fetch writes one, send takes one as it is, and a backup is a
// folder of them. Song image files carry the extension ".mix".

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "device/TransferLimits.h"

namespace korvana {

// Offset of the entry's 16-bit little-endian size of the pattern data behind it.
constexpr std::size_t kPatternSizeOffset = 80;
// The pattern data starts with FF FF and seven part offsets.
constexpr std::size_t kPatternHeaderSize = 16;
constexpr std::size_t kMinSongImageSize = kControlEntrySize + kPatternHeaderSize;

// Why the bytes are not a well-formed song image, in words for the user; nothing when they are.
std::optional<std::string> SongImageProblem(std::span<const std::uint8_t> image);

inline bool IsWellFormedSongImage(std::span<const std::uint8_t> image) {
    return !SongImageProblem(image).has_value();
}

// Whether the file name ends in ".mix" in any letter case.
bool HasSongImageExtension(const std::filesystem::path& path);

}  // namespace korvana
