// The simulated keyboard's slots on disk: what a damaged or interrupted store leaves behind.

#include <gtest/gtest.h>

#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "SongImage.h"
#include "common/SafeFile.h"
#include "device/TransferLimits.h"
#include "simulator/SlotStore.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

TEST(SlotStoreTest, DamagedSlotFilesAreSkippedAndStaleTemporariesRemoved) {
    TempFolder folder;
    SlotStore store(8, folder.Path());
    fs::create_directory(store.SlotFile(0));
    ASSERT_TRUE(
        WriteFileAtomically(store.SlotFile(1), std::vector<std::uint8_t>(kMaxImageSize + 1)));
    const std::vector<std::uint8_t> song = SongImage(kMaxImageSize - kControlEntrySize);
    ASSERT_TRUE(WriteFileAtomically(store.SlotFile(7), song));
#ifndef _WIN32
    ASSERT_EQ(mkfifo(store.SlotFile(2).c_str(), 0600), 0);
#endif
    std::ofstream(folder.Path() / ".slot-003.bin.part-12-34-5") << "half a song";
    std::ofstream(folder.Path() / ".notes.part-1") << "not ours";

    std::string error;
    std::vector<std::string> skipped;
    ASSERT_TRUE(store.Load(error, skipped));
    EXPECT_EQ(store.Get(0), nullptr);
    EXPECT_EQ(store.Get(1), nullptr);
    EXPECT_EQ(store.Get(2), nullptr);
    ASSERT_NE(store.Get(7), nullptr);
    EXPECT_EQ(*store.Get(7), song);
#ifndef _WIN32
    EXPECT_EQ(skipped.size(), 3u);
#else
    EXPECT_EQ(skipped.size(), 2u);
#endif
    EXPECT_FALSE(fs::exists(folder.Path() / ".slot-003.bin.part-12-34-5"));
    EXPECT_TRUE(fs::exists(folder.Path() / ".notes.part-1"));
}

}  // namespace
}  // namespace korvana::test
