// Checking and sending convert a private copy: nothing appears beside the user's file, and the
// log names the file as the caller gave it.

#include <gtest/gtest.h>

#include <filesystem>

#include "PrivateConversion.h"
#include "RecordingPrompt.h"
#include "SafeFile.h"
#include "SmfBytes.h"

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
    RecordingPrompt m_prompt;
    ScopedPrompt m_scope{m_prompt};
};

TEST_F(PrivateConversionTest, AcceptedSongGivesTheImageAndLeavesNothingBesideIt) {
    const fs::path song = Song(test::Format0(kDrumNote));
    const PrivateConversion outcome = ConvertPrivately(song);
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
    const PrivateConversion outcome = ConvertPrivately(song);
    EXPECT_FALSE(outcome.Accepted());
    EXPECT_TRUE(outcome.result);
    EXPECT_EQ(outcome.errors,
              std::vector<std::string>{song.string() + " Track 0 Error Back Find 0x9N 99 24"});
    EXPECT_EQ(m_prompt.m_texts, std::vector<std::string>{"Note Off Error!"});
    EXPECT_TRUE(outcome.image.empty());
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"My Song.MID"});
}

TEST_F(PrivateConversionTest, NamesWithoutADotAndExistingOutputsAreLeftAlone) {
    const fs::path song = Song(test::Format0(kDrumNote, 96), "song");
    test::WriteBytes(m_folder.Path() / "song.dat", {1, 2, 3});
    const PrivateConversion outcome = ConvertPrivately(song);
    EXPECT_EQ(outcome.errors, std::vector<std::string>{"Warning: PPQN is not 192"});
    EXPECT_EQ(test::ReadBytes(m_folder.Path() / "song.dat"), (Bytes{1, 2, 3}));
    EXPECT_EQ(FolderNames().size(), 2u);
}

TEST_F(PrivateConversionTest, DumpsAndTextOutputWriteNothingEither) {
    const fs::path song = Song(test::Format0(kDrumNote));
    EXPECT_TRUE(ConvertPrivately(song, {.binaryOutput = false, .dumpEvents = true}).Accepted());
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"My Song.MID"});
}

TEST_F(PrivateConversionTest, TextOutputGivesNoImage) {
    const PrivateConversion outcome =
        ConvertPrivately(Song(test::Format0(kDrumNote)), {.binaryOutput = false});
    EXPECT_TRUE(outcome.Accepted());
    EXPECT_TRUE(outcome.image.empty());
}

TEST_F(PrivateConversionTest, UnreadableFileIsRefusedWithItsReason) {
    const fs::path missing = m_folder.Path() / "missing.mid";
    const PrivateConversion outcome = ConvertPrivately(missing);
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0].rfind(missing.string() + ": cannot be read (", 0), 0u);
    EXPECT_FALSE(outcome.result);
}

}  // namespace
}  // namespace korvana
