// How track events become part records, part setups and the pattern data stream.

#include "ConversionFixture.h"

namespace korvana {
namespace {

using test::Bytes;
using test::Header;
using test::Join;
using test::Track;

Bytes TempoTrack() {
    return Track(Join({test::kTimeSig44, test::kTempo120, test::kEndOfTrack}));
}

class PartConversion : public test::ConversionTest {
protected:
    // Converts a format 1 song: tempo track plus one track with body (End of Track appended).
    void ConvertTrackBody(const Bytes& body, test::ConversionOptionsForTest options = {}) {
        EXPECT_TRUE(Convert(
            Join({Header(1, 2), TempoTrack(), Track(Join({body, {0x00, 0xFF, 0x2F, 0x00}}))}),
            options));
        EXPECT_TRUE(Errors().empty()) << testing::PrintToString(Errors());
    }
    const PartSetup& Setup(int part) const { return Converter().m_control.parts[part]; }
};

TEST_F(PartConversion, ProgramChanges) {
    const struct {
        std::uint8_t status;
        std::uint8_t program;
        bool raw;
        int part;
        std::uint8_t expected;
    } cases[] = {
        {0xCC, 24, false, 3, 24},   // CHORD1 keeps the number
        {0xC9, 0, false, 0, 0x80},  // DRUM adds 0x80
        {0xC9, 0, true, 0, 0},      // unless raw
        {0xCA, 5, true, 1, 0x85},   // raw is for DRUM only
        {0xCB, 0x7F, false, 2, 0x7F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Renew();
        ConvertTrackBody({0x00, c.status, c.program, 0x00, c.status, 0x33}, {.rawDrum = c.raw});
        EXPECT_EQ(Setup(c.part).byProgram, c.expected);
    }
}

TEST_F(PartConversion, PanSteps) {
    const std::pair<std::uint8_t, std::uint8_t> cases[] = {
        {0, 0}, {7, 0}, {8, 1}, {64, 8}, {71, 8}, {120, 15}, {126, 15}, {127, 16}};
    for (const auto& [value, step] : cases) {
        SCOPED_TRACE(value);
        Renew();
        ConvertTrackBody({0x00, 0xBB, 0x0A, value});
        EXPECT_EQ(Setup(2).byPan, step);
    }
}

TEST_F(PartConversion, NoPanControllerLeavesTheDefault) {
    ConvertTrackBody({0x00, 0x9B, 0x30, 0x40, 0x10, 0x8B, 0x30, 0x00});
    EXPECT_EQ(Setup(2).byPan, 8);
    EXPECT_EQ(Setup(2).byVolume, 100);
    EXPECT_EQ(Setup(2).byReverb, 64);
    EXPECT_EQ(Converter().m_control.byPartMask, 0x04);
}

TEST_F(PartConversion, FirstSetupControllersWinAndAreNotInTheStream) {
    ConvertTrackBody({0x00, 0xBD, 0x07, 100,  0x00, 0x07, 80,  // volume twice
                      0x00, 0x5B, 30,   0x00, 0x00, 5,    0x00, 0x20, 6,
                      0x00, 0x5B, 99,   0x00, 0xFF, 0x21, 0x01, 0x02,  // MIDI port 2
                      0x00, 0xFF, 0x21, 0x01, 0x03});                  // later port ignored
    EXPECT_EQ(Setup(4).byVolume, 100);
    EXPECT_EQ(Setup(4).byReverb, 30);
    EXPECT_EQ(Setup(4).byBankMsb, 5);
    EXPECT_EQ(Setup(4).byBankLsb, 6);
    EXPECT_EQ(Converter().m_control.byPort[4], 2);
    EXPECT_EQ(Streams(), (Bytes{0x00, 0xFF}));  // only End of Track
}

TEST_F(PartConversion, WhichEventsAreStored) {
    const struct {
        const char* what;
        Bytes events;
        Bytes stream;  // without the final End of Track "00 FF"
    } cases[] = {
        {"sustain on BASS", {0x00, 0xBB, 0x40, 0x7F}, {0x00, 0xBB, 0x40, 0x7F}},
        {"controller 74 dropped", {0x00, 0xBB, 0x4A, 0x7F}, {}},
        {"controller 4 on channel 10", {0x00, 0xB9, 0x04, 0x10}, {0x00, 0xB9, 0x04, 0x10}},
        {"controller 4 on channel 11", {0x00, 0xBA, 0x04, 0x10}, {}},
        {"pressure 127 on channel 10", {0x00, 0xA9, 0x24, 0x7F}, {0x00, 0xA9, 0x24, 0x7F}},
        {"pressure 126 on channel 10", {0x00, 0xA9, 0x24, 0x7E}, {}},
        {"pressure 127 on channel 11", {0x00, 0xAA, 0x24, 0x7F}, {}},
        {"channel pressure", {0x00, 0xDB, 0x40}, {}},
        {"pitch bend", {0x00, 0xEB, 0x00, 0x40}, {0x00, 0xEB, 0x00, 0x40}},
        {"system exclusive and text",
         {0x00, 0xDB, 0x40, 0x00, 0xF0, 0x01, 0xF7, 0x00, 0xFF, 0x01, 0x01, 'x'},
         {}},
        {"velocity 0 note on has no length", {0x00, 0x9B, 0x30, 0x00}, {0x00, 0x9B, 0x30, 0x00}},
        {"running status in the stream",
         {0x00, 0xBB, 0x01, 0x10, 0x10, 0xBB, 0x01, 0x20},
         {0x00, 0xBB, 0x01, 0x10, 0x10, 0x01, 0x20}},
        {"note on and off at the same tick",
         {0x00, 0x9B, 0x30, 0x40, 0x00, 0x8B, 0x30, 0x00},
         {0x00, 0x9B, 0x30, 0x40, 0x00, 0x00, 0x8B, 0x30, 0x00}},
        {"note of 200 ticks",
         {0x00, 0x9B, 0x30, 0x40, 0x81, 0x48, 0x8B, 0x30, 0x00},
         {0x00, 0x9B, 0x30, 0x40, 0x81, 0x48, 0x81, 0x48, 0x8B, 0x30, 0x00}},
        {"velocity 0 note on ends a note",
         {0x00, 0x9B, 0x30, 0x40, 0x10, 0x30, 0x00},
         {0x00, 0x9B, 0x30, 0x40, 0x10, 0x10, 0x30, 0x00}},
        {"overlapping notes end at the first note off",
         {0x00, 0x9B, 0x30, 0x40, 0x08, 0x30, 0x41, 0x08, 0x8B, 0x30, 0x00, 0x08, 0x30, 0x00},
         {0x00, 0x9B, 0x30, 0x40, 0x10, 0x08, 0x30, 0x41, 0x08, 0x08, 0x8B, 0x30, 0x00, 0x08, 0x30,
          0x00}},
        {"three-byte delta",
         {0x81, 0x80, 0x00, 0xBB, 0x01, 0x10},
         {0x81, 0x80, 0x00, 0xBB, 0x01, 0x10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Renew();
        ConvertTrackBody(c.events);
        Bytes expected = c.stream;
        expected.insert(expected.end(), {0x00, 0xFF});
        Bytes streams = Streams();
        if (streams.size() % 2 == 0 && expected.size() % 2)
            streams.pop_back();  // the padding byte
        EXPECT_EQ(streams, expected);
    }
}

TEST_F(PartConversion, OnlyMetaTrackContributesNothing) {
    EXPECT_TRUE(Convert(Join(
        {Header(1, 3), TempoTrack(), Track({0x00, 0xFF, 0x21, 0x01, 0x05, 0x00, 0xFF, 0x2F, 0x00}),
         Track({0x00, 0x9F, 0x30, 0x40, 0x60, 0x8F, 0x30, 0x00, 0x00, 0xFF, 0x2F, 0x00})})));
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(Converter().m_control.byPartMask, 0x40);
    for (std::uint8_t port : Converter().m_control.byPort)
        EXPECT_EQ(port, 0);
}

TEST_F(PartConversion, PartOffsetsAndPadding) {
    // DRUM (5 bytes: 00 99 24 40 00, then 60 89 24 00, then 00 FF) and CHORD4.
    EXPECT_TRUE(Convert(
        Join({Header(1, 3), TempoTrack(),
              Track({0x00, 0x99, 0x24, 0x40, 0x60, 0x89, 0x24, 0x00, 0x00, 0xFF, 0x2F, 0x00}),
              Track({0x00, 0x9F, 0x30, 0x40, 0x60, 0x8F, 0x30, 0x00, 0x00, 0xFF, 0x2F, 0x00})})));
    const Bytes data = PatternFile();
    ASSERT_GE(data.size(), 16u);
    EXPECT_EQ(data[2], 16);
    EXPECT_EQ(data[3], 0);
    for (int part = 1; part < 6; ++part)
        EXPECT_EQ(data[2 + 2 * part] | data[3 + 2 * part], 0) << part;
    // Each stream: 00 9n 30 40 60 60 8n 30 00 00 FF = 11 bytes.
    EXPECT_EQ(data[14], 16 + 11);
    EXPECT_EQ(data.size(), 16u + 22u);  // even: no padding
    EXPECT_EQ(Converter().m_control.dwDataSize, 38u);
}

TEST_F(PartConversion, SongLengthInMeasures) {
    const struct {
        Bytes timeSig;
        std::uint32_t endTick;
        std::uint16_t measures;
        std::uint8_t byTimeSig;
    } cases[] = {
        {{0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}, 1536, 2, 0x24},
        {{0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}, 1537, 3, 0x24},
        {{0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08}, 1728, 3, 0x23},
        {{0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x18, 0x08}, 1152, 2, 0x36},
        {{0x00, 0xFF, 0x58, 0x04, 0x00, 0x02, 0x18, 0x08}, 1536, 0, 0x20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.endTick);
        Renew();
        EXPECT_TRUE(Convert(Join(
            {Header(0, 1),
             Track(Join(
                 {c.timeSig, test::kTempo120, test::Quantity(c.endTick), {0xFF, 0x2F, 0x00}}))})));
        EXPECT_EQ(Converter().m_control.wMeasures, c.measures);
        EXPECT_EQ(Converter().m_control.byTimeSig, c.byTimeSig);
    }
}

TEST_F(PartConversion, TempoAndKindMarker) {
    const struct {
        Bytes events;
        std::uint16_t tempo;
        std::uint8_t kind;
    } cases[] = {
        {{0x00, 0xFF, 0x51, 0x03, 0x07, 0x27, 0x0E}, 128, 0},  // 468,750 us
        {{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x06, 0x05, 'q', 'x', '7', 'm',
          'h'},
         120,
         3},
        {{0x00, 0xFF, 0x06, 0x05, 'q', 'x',  '7',  'm',  'z',  // unknown letter: scan goes on
          0x00, 0xFF, 0x06, 0x05, 'q', 'x',  '7',  'm',  'p',  0x00, 0xFF, 0x06, 0x05,
          'q',  'x',  '7',  'm',  't', 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20},
         120,
         1},
        {{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // 1,000,000 us, later tempo ignored
          0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20},
         60,
         0},
    };
    for (const auto& c : cases) {
        Renew();
        EXPECT_TRUE(Convert(
            Join({Header(0, 1), Track(Join({test::kTimeSig44, c.events, test::kEndOfTrack}))})));
        EXPECT_EQ(Converter().m_control.wTempo, c.tempo);
        EXPECT_EQ(Converter().m_control.byKind, c.kind);
    }
}

}  // namespace
}  // namespace korvana
