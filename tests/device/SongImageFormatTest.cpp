// Song image well-formedness at each limit and one past it, and the ".mix" extension.

#include <gtest/gtest.h>

#include <vector>

#include "device/SongImageFormat.h"

namespace korvana {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An entry of spaces announcing patternSize bytes, then FF FF and filler.
Bytes Image(std::size_t patternSize, std::size_t announced) {
    Bytes image(kControlEntrySize, 0x20);
    image[80] = static_cast<std::uint8_t>(announced);
    image[81] = static_cast<std::uint8_t>(announced >> 8);
    image.resize(kControlEntrySize + patternSize, 0x11);
    if (patternSize >= 2)
        image[82] = image[83] = 0xFF;
    return image;
}

TEST(SongImageFormat, LimitsAndDamage) {
    struct Case {
        const char* what;
        Bytes image;
        std::optional<std::string> problem;
    };
    Bytes wrongStart = Image(300, 300);
    wrongStart[83] = 0xFE;
    const std::vector<Case> cases = {
        {"smallest", Image(16, 16), std::nullopt},
        {"one byte short", Image(15, 15), "it holds 97 bytes, a song image at least 98"},
        {"empty file", {}, "it holds 0 bytes, a song image at least 98"},
        {"largest", Image(0xFFFF, 0xFFFF), std::nullopt},
        {"one byte past the largest", Image(0x10000, 0xFFFF),
         "its control entry announces 65535 bytes of pattern data, but 65536 follow"},
        // 301 bytes announced as 45 (301 & 0xFF) in the low byte only would pass a check of one
        // byte: both bytes of the field count.
        {"size field one off", Image(301, 300),
         "its control entry announces 300 bytes of pattern data, but 301 follow"},
        {"pattern not starting with FF FF", wrongStart,
         "its pattern data does not start with FF FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SongImageProblem(c.image), c.problem) << c.what;
        EXPECT_EQ(IsWellFormedSongImage(c.image), !c.problem.has_value()) << c.what;
    }
}

TEST(SongImageFormat, ExtensionInAnyCase) {
    for (const char8_t* name : {u8"a.mix", u8"B.MIX", u8"Über.Mix", u8"dir.d/x.mIx"})
        EXPECT_TRUE(HasSongImageExtension(name)) << reinterpret_cast<const char*>(name);
    for (const char8_t* name : {u8"a.mid", u8"mix", u8"a.mix.bak", u8"a.mixx", u8".mix", u8"a_mix"})
        EXPECT_FALSE(HasSongImageExtension(name)) << reinterpret_cast<const char*>(name);
}

}  // namespace
}  // namespace korvana
