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

namespace korvana {

constexpr std::size_t kControlEntrySize = 82;
// Offset of the entry's 16-bit little-endian size of the pattern data behind it.
constexpr std::size_t kPatternSizeOffset = 80;
// The pattern data starts with FF FF and seven part offsets.
constexpr std::size_t kPatternHeaderSize = 16;
constexpr std::size_t kMinSongImageSize = kControlEntrySize + kPatternHeaderSize;
// The entry describes at most 65535 bytes of pattern data.
constexpr std::size_t kMaxSongImageSize = kControlEntrySize + 0xFFFF;

// Why the bytes are not a well-formed song image, in words for the user; nothing when they are.
std::optional<std::string> SongImageProblem(std::span<const std::uint8_t> image);

inline bool IsWellFormedSongImage(std::span<const std::uint8_t> image) {
    return !SongImageProblem(image).has_value();
}

// Whether the file name ends in ".mix" in any letter case.
bool HasSongImageExtension(const std::filesystem::path& path);

}  // namespace korvana
