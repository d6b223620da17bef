// The two event dumps: per-track lines with time differences, merged lines, system event counts.

#include "ConversionFixture.h"

namespace korvana {
namespace {

using test::Bytes;
using test::Header;
using test::Join;
using test::Track;

class EventDump : public test::ConversionTest {
protected:
    std::string TrackDump() const { return test::ReadText(SongPath() + "_Events.txt"); }
    std::string MergedDump() const { return test::ReadText(SongPath() + "_AllEvents.txt"); }
};

TEST_F(EventDump, EmptyTrackZeroLongMetaAndSystemExclusive) {
    Convert(Join({Header(1, 2), Track({}),
                  Track({0x00, 0xFF, 0x01, 0x08, 'a',  'b',  'c',  'd',  'e', 'f', 'g', 'h',  //
                         0x10, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,                      //
                         0x83, 0x60, 0xFF, 0x2F, 0x00})}),
            {.dump = true});
    EXPECT_EQ(TrackDump(),
              "PPQN: 192\r\n"
              "Track 00\r\n"
              "Track 01\r\n"
              "00000000\t00000000\tFF 01 08 61 62 63 64 65 66 67 68\r\n"
              "00000016\t00000010\tF0 05 05 7E 7F 09 01 F7\r\n"
              "00000496\t000001E0\tFF 2F 00\r\n");
    EXPECT_EQ(MergedDump(),
              "00000000\tFF 01 08 61 62 63 64 65 66 67 68\r\n"
              "00000016\tF0 05 05 7E 7F 09 01 F7\r\n"
              "00000496\tFF 2F 00\r\n");
}

TEST_F(EventDump, ChannelEventsAndASystemEventWithoutData) {
    Convert(Join({Header(0, 1, 96), Track({0x00, 0xC9, 0x05, 0x00, 0xF4, 0x00, 0x00, 0xE9, 0x00,
                                           0x40, 0x00, 0xFF, 0x2F, 0x00})}),
            {.dump = true});
    EXPECT_EQ(TrackDump(),
              "PPQN: 96\r\n"
              "Track 00\r\n"
              "00000000\t00000000\tC9 05\r\n"
              "00000000\t00000000\tF4\r\n"
              "00000000\t00000000\tE9 00 40\r\n"
              "00000000\t00000000\tFF 2F 00\r\n");
}

TEST_F(EventDump, NoDumpsWithoutTheOption) {
    Convert(test::Format0(test::kEndOfTrack));
    EXPECT_FALSE(std::filesystem::exists(SongPath() + "_Events.txt"));
    EXPECT_FALSE(std::filesystem::exists(SongPath() + "_AllEvents.txt"));
}

}  // namespace
}  // namespace korvana
