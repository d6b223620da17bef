// Songs the keyboard's stream and files cannot describe are refused through the log and nothing
// of them is written, instead of writing cut values.

#include <filesystem>

#include "ConversionFixture.h"

namespace korvana {
namespace {

using test::Bytes;
using test::Header;
using test::Join;
using test::Track;

Bytes TempoTrack(const Bytes& tempo = test::kTempo120) {
    return Track(Join({test::kTimeSig44, tempo, test::kEndOfTrack}));
}

// n controller 1 events on BASS one tick apart (3 bytes each in the stream), End of Track after.
Bytes ManyControllers(std::size_t n) {
    Bytes body = {0x00, 0xBB, 0x01, 0x00};
    for (std::size_t i = 1; i < n; ++i)
        body.insert(body.end(), {0x01, 0x01, static_cast<std::uint8_t>(i & 0x7F)});
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    return body;
}

struct LimitCase {
    const char* what;
    Bytes song;
    std::vector<std::string> errors;  // "%p" stands for the song's path
    std::vector<std::string> messages;
};

class Limits : public test::ConversionTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(Limits, RefusedAndNothingWritten) {
    const LimitCase& c = GetParam();
    EXPECT_FALSE(Convert(c.song));
    EXPECT_EQ(Errors(), WithSongPath(c.errors));
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_TRUE(ControlFile().empty());
    EXPECT_FALSE(std::filesystem::exists(OutputPath("sty")));
}

const LimitCase kLimitCases[] = {
    {"delta beyond three stream bytes",
     Join({Header(1, 2), TempoTrack(),
           Track({0x81, 0x80, 0x80, 0x00, 0xBB, 0x01, 0x10, 0x00, 0xFF, 0x2F, 0x00})}),
     {"%p Track 1 Error Delta Too Large 0xbb 01 10"},
     {}},
    {"End of Track delta beyond three stream bytes",
     Join({Header(1, 2), TempoTrack(),
           Track({0x00, 0xBB, 0x01, 0x10, 0x81, 0x80, 0x80, 0x00, 0xFF, 0x2F, 0x00})}),
     {"%p Track 1 Error Delta Too Large 0xff 2f 00"},
     {}},
    {"delta beyond a quantity",
     Join({Header(1, 2), TempoTrack(),
           Track({0x81, 0x80, 0x80, 0x80, 0x00, 0xBB, 0x01, 0x10, 0x00, 0xFF, 0x2F, 0x00})}),
     {"%p Too Many Measures", "%p Track 1 Error 0xbb 01 10"},
     {}},
    {"End of Track delta beyond a quantity",
     Join({Header(1, 2), TempoTrack(),
           Track({0x00, 0xBB, 0x01, 0x10, 0x81, 0x80, 0x80, 0x80, 0x00, 0xFF, 0x2F, 0x00})}),
     {"%p Too Many Measures", "%p Track 1 Error 0xFF 2F 00"},
     {}},
    {"note longer than two stream bytes",
     Join({Header(1, 2), TempoTrack(),
           Track({0x00, 0x9B, 0x30, 0x40, 0x81, 0x80, 0x00, 0x8B, 0x30, 0x00, 0x00, 0xFF, 0x2F,
                  0x00})}),
     {"%p Track 1 Error Note Too Long 0x9b 30 40"},
     {}},
    {"note longer than a quantity",
     Join({Header(1, 2), TempoTrack(),
           Track({0x00, 0x9B, 0x30, 0x40, 0x81, 0x80, 0x80, 0x80, 0x00, 0x8B, 0x30, 0x00, 0x00,
                  0xFF, 0x2F, 0x00})}),
     {"%p Too Many Measures", "%p Track 1 Error 0x8b 30 00",
      "%p Track 1 Error Back Convert 0x9b 30 40"},
     {}},
    {"pattern data beyond 16 bits",
     Join({Header(1, 2), TempoTrack(), Track(ManyControllers(21839))}),
     {"%p Pattern Data Too Large"},
     {}},
    {"tempo of 0 microseconds",
     Join({Header(1, 2), TempoTrack({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}),
           Track(ManyControllers(2))}),
     {"%p Tempo Out Of Range"},
     {}},
};

INSTANTIATE_TEST_SUITE_P(Oversize, Limits, ::testing::ValuesIn(kLimitCases));

class PartCapacity : public test::ConversionTest {};

TEST_F(PartCapacity, MoreRecordsThanAPartHoldsAreRefusedOnce) {
    const std::size_t records = ConverterBuffers::kPartCapacity + 1;
    // One extra note after the full part must not be looked at, so no note-off error either.
    Bytes body = ManyControllers(records);
    body.erase(body.end() - 4, body.end());
    body.insert(body.end(), {0x00, 0x9B, 0x30, 0x40, 0x00, 0xFF, 0x2F, 0x00});
    EXPECT_FALSE(Convert(Join({Header(1, 2), TempoTrack(), Track(body)})));
    EXPECT_EQ(Errors(), std::vector<std::string>{SongPath() + " Track 1 Error Too Many Events"});
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(OutputPath("sty")));
}

TEST_F(PartCapacity, LargestDescribableDataIsWritten) {
    // The stream is 4 + 3 * (n - 1) + 2 bytes: n = 21838 gives 65517, with the header and the
    // padding byte 65534; one controller more would make 65536.
    EXPECT_TRUE(Convert(Join({Header(1, 2), TempoTrack(), Track(ManyControllers(21838))})));
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(PatternFile().size(), 65534u);
    const Bytes control = ControlFile();
    ASSERT_EQ(control.size(), 82u);
    EXPECT_EQ(control[80] | control[81] << 8, 65534);
}

TEST_F(PartCapacity, FileLargerThanAnySongIsRefusedUnread) {
    // Sparse files: neither takes room on disk. The largest is read (and found malformed), one
    // byte more is not read at all.
    for (const std::uint64_t size : {CMidiReader::kMaxFileSize, CMidiReader::kMaxFileSize + 1}) {
        Renew();
        test::WriteBytes(SongPath(), {});
        std::filesystem::resize_file(SongPath(), size);
        Converter().AddInputFile(SongPath());
        EXPECT_FALSE(ConvertInputs());
        EXPECT_EQ(Errors(), std::vector<std::string>{SongPath() + (size > CMidiReader::kMaxFileSize
                                                                       ? " File Too Large"
                                                                       : " Init Error:2")});
    }
}

}  // namespace
}  // namespace korvana
