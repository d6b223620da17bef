#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/DataPaths.h"
#include "common/SafeFile.h"

namespace fs = std::filesystem;
using korvana::LocateProgramData;
using korvana::TempFolder;

// The layouts below are those of the default install folders: <prefix>/bin and
// <prefix>/share/korvana.

TEST(DataPaths, BuildTreeFindsDataBesideTheProgram) {
    TempFolder tree;
    const fs::path bin = tree.Path() / "build" / "bin";
    fs::create_directories(bin);
    const korvana::ProgramData data = LocateProgramData(bin);
    EXPECT_EQ(data.folder, bin);
    EXPECT_FALSE(data.installed);
}

TEST(DataPaths, InstalledProgramFindsDataUnderItsPrefix) {
    TempFolder prefix;
    const fs::path bin = prefix.Path() / "bin";
    const fs::path share = prefix.Path() / "share" / "korvana";
    fs::create_directories(bin);
    fs::create_directories(share);
    const korvana::ProgramData data = LocateProgramData(bin);
    EXPECT_EQ(data.folder, share.lexically_normal());
    EXPECT_TRUE(data.installed);
    EXPECT_TRUE(fs::equivalent(data.folder, share));
}

TEST(DataPaths, FileWhereTheDataFolderWouldBeIsNotTakenForIt) {
    TempFolder prefix;
    const fs::path bin = prefix.Path() / "bin";
    fs::create_directories(bin);
    fs::create_directories(prefix.Path() / "share");
    std::ofstream(prefix.Path() / "share" / "korvana") << "not a folder";
    const korvana::ProgramData data = LocateProgramData(bin);
    EXPECT_EQ(data.folder, bin);
    EXPECT_FALSE(data.installed);
}

TEST(DataPaths, MissingProgramFolderFallsBackWithoutThrowing) {
    TempFolder prefix;
    const fs::path bin = prefix.Path() / "gone" / "bin";
    const korvana::ProgramData data = LocateProgramData(bin);
    EXPECT_EQ(data.folder, bin);
    EXPECT_FALSE(data.installed);
}
