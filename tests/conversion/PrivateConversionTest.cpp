// Checking and sending convert a private copy: nothing appears beside the user's file, and the
// log names the file as the caller gave it.

#include <gtest/gtest.h>

#include <filesystem>

#include "SmfBytes.h"
#include "common/RecordingPrompt.h"
#include "common/SafeFile.h"
#include "conversion/PrivateConversion.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

const Bytes kDrumNote = {0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00};

class PrivateConversionTest : public ::testing::Test {
protected:
    fs::path Song(const Bytes& bytes, const char* name = "My Song.MID") {
        const fs::path path = m_folder.Path() / name;
        test::WriteBytes(path, bytes);
        return path;
    }
    std::vector<std::string> FolderNames() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempFolder m_folder;
};

TEST_F(PrivateConversionTest, AcceptedSongGivesTheImageAndLeavesNothingBesideIt) {
    const fs::path song = Song(test::Format0(kDrumNote));
    const ConversionOutcome outcome = ConvertPrivately(song);
    EXPECT_TRUE(outcome.Accepted());
    EXPECT_TRUE(outcome.result);
    ASSERT_EQ(outcome.image.size(), 82u + 28u);
    EXPECT_EQ(outcome.image[11], 0x01);  // part mask in the control entry
    EXPECT_EQ(Bytes(outcome.image.begin() + 82, outcome.image.begin() + 84), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"My Song.MID"});
    EXPECT_EQ(test::ReadBytes(song), test::Format0(kDrumNote));
}

TEST_F(PrivateConversionTest, RefusedSongNamesTheFileAsGivenAndRaisesItsMessages) {
    const fs::path song = Song(test::Format0({0x00, 0x99, 0x24, 0x64, 0x60, 0xFF, 0x2F, 0x00}));
    const ConversionOutcome outcome = ConvertPrivately(song);
    EXPECT_FALSE(outcome.Accepted());
    EXPECT_TRUE(outcome.result);
    EXPECT_EQ(outcome.Errors(),
              std::vector<std::string>{song.string() + " Track 0 Error Back Find 0x9N 99 24"});
    EXPECT_EQ(outcome.Messages(), std::vector<std::string>{"Note Off Error!"});
    EXPECT_TRUE(outcome.image.empty());
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"My Song.MID"});
}

TEST_F(PrivateConversionTest, NamesWithoutADotAndExistingOutputsAreLeftAlone) {
    const fs::path song = Song(test::Format0(kDrumNote, 96), "song");
    test::WriteBytes(m_folder.Path() / "song.dat", {1, 2, 3});
    const ConversionOutcome outcome = ConvertPrivately(song);
    EXPECT_EQ(outcome.Errors(), std::vector<std::string>{"Warning: PPQN is not 192"});
    EXPECT_EQ(test::ReadBytes(m_folder.Path() / "song.dat"), (Bytes{1, 2, 3}));
    EXPECT_EQ(FolderNames().size(), 2u);
}

TEST_F(PrivateConversionTest, DumpsAndTextOutputWriteNothingEither) {
    const fs::path song = Song(test::Format0(kDrumNote));
    EXPECT_TRUE(ConvertPrivately(song, {.m_bDumpEvents = true}).Accepted());
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"My Song.MID"});
}

TEST_F(PrivateConversionTest, TextOutputGivesNoImage) {
    const ConversionOutcome outcome = ConvertPrivately(Song(test::Format0(kDrumNote)), {});
    EXPECT_TRUE(outcome.Accepted());
    EXPECT_TRUE(outcome.image.empty());
}

TEST_F(PrivateConversionTest, UnreadableFileIsRefusedWithItsReason) {
    const fs::path missing = m_folder.Path() / "missing.mid";
    const ConversionOutcome outcome = ConvertPrivately(missing);
    ASSERT_EQ(outcome.Errors().size(), 1u);
    EXPECT_EQ(outcome.Errors()[0].rfind(missing.string() + ": cannot be read (", 0), 0u);
    EXPECT_FALSE(outcome.result);
}

TEST_F(PrivateConversionTest, OutcomeHoldsLogEntriesAndMessagesInTheOrderTheyArose) {
    const Bytes song = {
        'M',  'T',  'h',  'd',  0,    0,    0,    6,
        0,    0,    0,    1,    0,    192,  // MThd, length 6, format 0, 1 track, 192 ticks
        'M',  'T',  'r',  'k',  0,    0,    0,    26,    // MTrk, length 26
        0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,  // 0: time signature 4/4
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // 0: tempo 500,000 (120 bpm)
        0x00, 0x99, 0x24, 0x64,                          // 0: note on 36, never ended
        0x00, 0x26, 0x64,                                // 0: note on 38, never ended
        0x60, 0xFF, 0x2F, 0x00,                          // 96: End of Track
    };
    const ConversionOutcome outcome = ConvertPrivately("in memory.mid", song);
    using Kind = ConversionOutcome::Kind;
    const std::vector<ConversionOutcome::Item> expected = {
        {Kind::LogEntry, "in memory.mid Track 0 Error Back Find 0x9N 99 24"},
        {Kind::Message, "Note Off Error!"},
        {Kind::LogEntry, "in memory.mid Track 0 Error Back Find 0x9N 99 26"},
        {Kind::Message, "Note Off Error!"},
    };
    EXPECT_EQ(outcome.items, expected);
    EXPECT_TRUE(outcome.result);
    EXPECT_TRUE(outcome.image.empty());
    RecordingPrompt shown;
    outcome.ShowMessages(shown);
    EXPECT_EQ(shown.m_texts, (std::vector<std::string>{"Note Off Error!", "Note Off Error!"}));
}

}  // namespace
}  // namespace korvana
