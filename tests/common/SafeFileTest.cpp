#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/SafeFile.h"

namespace fs = std::filesystem;
using korvana::TempFolder;

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::size_t CountEntries(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(SafeFile, WritesWholeFileAndLeavesNoTemporary) {
    TempFolder folder;
    ASSERT_TRUE(folder.IsValid());
    const fs::path target = folder.Path() / "song.mid";
    ASSERT_TRUE(korvana::WriteFileAtomically(target, Bytes("old")));
    ASSERT_TRUE(korvana::WriteFileAtomically(target, Bytes("new contents")));
    EXPECT_EQ(*korvana::ReadWholeFile(target), Bytes("new contents"));
    EXPECT_EQ(CountEntries(folder.Path()), 1u);
}

TEST(SafeFile, FailedWriteKeepsTargetAndLeavesNothing) {
    TempFolder folder;
    const fs::path missing = folder.Path() / "no-such-folder" / "song.mid";
    EXPECT_FALSE(korvana::WriteFileAtomically(missing, Bytes("x")));
    EXPECT_EQ(CountEntries(folder.Path()), 0u);
}

TEST(SafeFile, CopyOverwritesTargetThroughTemporary) {
    TempFolder folder;
    const fs::path source = folder.Path() / "a.mid";
    const fs::path target = folder.Path() / "b.mid";
    ASSERT_TRUE(korvana::WriteFileAtomically(source, Bytes("source")));
    ASSERT_TRUE(korvana::WriteFileAtomically(target, Bytes("target")));
    ASSERT_TRUE(korvana::CopyFileAtomically(source, target));
    EXPECT_EQ(*korvana::ReadWholeFile(target), Bytes("source"));
    EXPECT_EQ(CountEntries(folder.Path()), 2u);
    EXPECT_FALSE(korvana::CopyFileAtomically(folder.Path() / "missing.mid", target));
    EXPECT_EQ(*korvana::ReadWholeFile(target), Bytes("source"));
    EXPECT_EQ(CountEntries(folder.Path()), 2u);
}

TEST(SafeFile, TempFolderIsRemovedWithContents) {
    fs::path kept;
    {
        TempFolder folder;
        kept = folder.Path();
        std::ofstream(kept / "x.dat") << "scratch";
        ASSERT_TRUE(fs::exists(kept / "x.dat"));
    }
    EXPECT_FALSE(fs::exists(kept));
}

TEST(SafeFile, ReadWholeFileOfMissingFileIsNothing) {
    EXPECT_FALSE(korvana::ReadWholeFile("/nonexistent/korvana/file").has_value());
}
