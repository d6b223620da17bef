#include "controls/StringTable.h"

#include <gtest/gtest.h>

#include "controls/ResourceIds.h"

namespace korvana {
namespace {

TEST(StringTable, HoldsTheTitleAndTheColumnTitles) {
    EXPECT_EQ(LoadResString(AFX_IDS_APP_TITLE), "Korvana");
    EXPECT_EQ(LoadResString(5001), "Name");
    EXPECT_EQ(LoadResString(5003), "Size");
    EXPECT_EQ(LoadResString(5005), "Type");
    EXPECT_EQ(LoadResString(5006), "Modified");
    EXPECT_EQ(LoadResString(5035), "Song Name");
    EXPECT_EQ(LoadResString(5036), "Repository");
    EXPECT_EQ(LoadResString(5037), "Device");
    EXPECT_EQ(LoadResString(5002), QString());
}

}  // namespace
}  // namespace korvana
