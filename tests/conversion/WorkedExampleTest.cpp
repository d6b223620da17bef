// The documented worked example, end to end: pattern file, control entry, text list and dumps.

#include "ConversionFixture.h"

namespace korvana {
namespace {

using test::Bytes;

// One DRUM note at tick 0, its note off at 96, End of Track at 192.
const Bytes kDrumNote = {0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00};

Bytes ExpectedControlEntry(bool shortSetup) {
    Bytes entry(8, 0x20);
    const Bytes fields = {0x00, 0x24, 0x00, 0x01, 0x78, 0x00, 0x01, 0x00,
                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    entry.insert(entry.end(), fields.begin(), fields.end());
    for (int part = 0; part < 7; ++part) {
        const Bytes setup = {static_cast<std::uint8_t>(part < 2 ? 0x80 : 0x00),
                             0x64,
                             0x08,
                             0x40,
                             static_cast<std::uint8_t>(0x09 + part),
                             static_cast<std::uint8_t>(part < 2 ? 0 : 2),
                             0x00,
                             0x00};
        entry.insert(entry.end(), setup.begin(), setup.begin() + (shortSetup ? 6 : 8));
    }
    entry.push_back(0x1C);
    entry.push_back(0x00);
    return entry;
}

class WorkedExample : public test::ConversionTest {};

TEST_F(WorkedExample, BinaryOutput) {
    EXPECT_TRUE(Convert(test::Format0(kDrumNote)));
    EXPECT_TRUE(Errors().empty());
    EXPECT_TRUE(Messages().empty());
    Bytes pattern = {0xFF, 0xFF, 0x10, 0x00};
    pattern.resize(16, 0x00);
    const Bytes stream = {0x00, 0x99, 0x24, 0x64, 0x60, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x00};
    pattern.insert(pattern.end(), stream.begin(), stream.end());
    EXPECT_EQ(PatternFile(), pattern);
    EXPECT_EQ(ControlFile(), ExpectedControlEntry(false));
    EXPECT_EQ(ControlFile().size(), 82u);
}

TEST_F(WorkedExample, ShortPartSetup) {
    EXPECT_TRUE(Convert(test::Format0(kDrumNote), {.shortSetup = true}));
    const Bytes control = ControlFile();
    EXPECT_EQ(control.size(), 68u);
    EXPECT_EQ(control, ExpectedControlEntry(true));
    EXPECT_EQ(control[66], 0x1C);
}

TEST_F(WorkedExample, TextControlListAndEighteenByteHeader) {
    EXPECT_TRUE(Convert(test::Format0(kDrumNote), {.binary = false}));
    const std::string expected =
        "/* PATTERN_DATA CONTROL_LIST__001 */\r\n"
        "/* PATTERN_table[1] = */\r\n{\r\n\t"
        "\"        \",0x00,\r\n"
        "\t0x24,0x00,0x0078,0x0001,0x01,\r\n\t"
        "0x00,0x00,0x00,0x00,0x00,0x00,0x00,"
        "\r\n\t0x80,0x64,0x08,0x40,0x09,0x00,0x00,0x00,"
        "\r\n\t0x80,0x64,0x08,0x40,0x0a,0x00,0x00,0x00,"
        "\r\n\t0x00,0x64,0x08,0x40,0x0b,0x02,0x00,0x00,"
        "\r\n\t0x00,0x64,0x08,0x40,0x0c,0x02,0x00,0x00,"
        "\r\n\t0x00,0x64,0x08,0x40,0x0d,0x02,0x00,0x00,"
        "\r\n\t0x00,0x64,0x08,0x40,0x0e,0x02,0x00,0x00,"
        "\r\n\t0x00,0x64,0x08,0x40,0x0f,0x02,0x00,0x00,"
        "\r\n\t0x0000001e\r\n},\r\n\r\n";
    EXPECT_EQ(test::ReadText(OutputPath("dat")), expected);
    Bytes pattern = {0xFF, 0xFF, 0x12, 0x00};
    pattern.resize(16, 0x00);
    pattern.push_back(0x00);
    pattern.push_back(0xFF);
    const Bytes stream = {0x00, 0x99, 0x24, 0x64, 0x60, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x00};
    pattern.insert(pattern.end(), stream.begin(), stream.end());
    EXPECT_EQ(PatternFile(), pattern);
}

TEST_F(WorkedExample, TextControlListWithShortSetupHasSixValuesPerPart) {
    EXPECT_TRUE(Convert(test::Format0(kDrumNote), {.binary = false, .shortSetup = true}));
    const std::string text = test::ReadText(OutputPath("dat"));
    EXPECT_NE(text.find("\r\n\t0x80,0x64,0x08,0x40,0x09,0x00,\r\n\t0x80,"), std::string::npos);
}

TEST_F(WorkedExample, EventDumps) {
    EXPECT_TRUE(Convert(test::Format0(kDrumNote), {.dump = true}));
    EXPECT_EQ(test::ReadText(SongPath() + "_Events.txt"),
              "PPQN: 192\r\n"
              "Track 00\r\n"
              "00000000\t00000000\tFF 58 04 04 02 18 08\r\n"
              "00000000\t00000000\tFF 51 03 07 A1 20\r\n"
              "00000000\t00000000\t99 24 64\r\n"
              "00000096\t00000060\t89 24 40\r\n"
              "00000192\t00000060\tFF 2F 00\r\n");
    EXPECT_EQ(test::ReadText(SongPath() + "_AllEvents.txt"),
              "00000000\tFF 58 04 04 02 18 08\r\n"
              "00000000\tFF 51 03 07 A1 20\r\n"
              "00000000\t99 24 64\r\n"
              "00000096\t89 24 40\r\n"
              "00000192\tFF 2F 00\r\n");
}

}  // namespace
}  // namespace korvana
