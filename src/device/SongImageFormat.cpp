#include "device/SongImageFormat.h"

#include <algorithm>

#include "device/Frame.h"

namespace korvana {

std::optional<std::string> SongImageProblem(std::span<const std::uint8_t> image) {
    if (image.size() < kMinSongImageSize)
        return "it holds " + std::to_string(image.size()) + " bytes, a song image at least " +
               std::to_string(kMinSongImageSize);
    const std::size_t patternSize = image.size() - kControlEntrySize;
    const std::size_t announced = ReadLe16(image, kPatternSizeOffset);
    if (announced != patternSize)
        return "its control entry announces " + std::to_string(announced) +
               " bytes of pattern data, but " + std::to_string(patternSize) + " follow";
    if (image[kControlEntrySize] != 0xFF || image[kControlEntrySize + 1] != 0xFF)
        return "its pattern data does not start with FF FF";
    return std::nullopt;
}

bool HasSongImageExtension(const std::filesystem::path& path) {
    // UTF-8 on every system, so that no name fails to convert; only ASCII letters matter here.
    std::u8string extension = path.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char8_t c) {
        return c >= u8'A' && c <= u8'Z' ? static_cast<char8_t>(c - u8'A' + u8'a') : c;
    });
    return extension == u8".mix";
}

}  // namespace korvana
