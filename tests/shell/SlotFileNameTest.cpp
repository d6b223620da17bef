#include <gtest/gtest.h>

#include "shell/SlotFileName.h"

namespace korvana {
namespace {

struct NameCase {
    const char* slotName;
    const char* fileName;
};

class SlotFileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SlotFileNames, BecomeSafeNamesInTheRepositoryFolder) {
    EXPECT_EQ(SlotFileName(QString::fromLatin1(GetParam().slotName)),
              QString::fromLatin1(GetParam().fileName));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SlotFileNames,
    ::testing::Values(NameCase{"Song-0A1B2C3D", "Song-0A1B2C3D"},
                      NameCase{"BOSSA.MID", "BOSSA.MID"}, NameCase{"Rock & Roll", "Rock & Roll"},
                      NameCase{"", "_"}, NameCase{".", "_"}, NameCase{"..", "__"},
                      NameCase{"a/b", "a_b"}, NameCase{"../../etc/passwd", ".._.._etc_passwd"},
                      NameCase{"C:\\Windows\\x", "C__Windows_x"},
                      NameCase{"tab\there\x7f", "tab_here_"}, NameCase{"new\nline", "new_line"},
                      NameCase{"what?<>|*\"", "what______"}, NameCase{"trailing. .", "trailing___"},
                      NameCase{"caf\xe9", "caf\xe9"}));

TEST(SlotFileName, IsCutToTheLongestAllowedName) {
    EXPECT_EQ(SlotFileName(QString(300, QLatin1Char('x'))).size(), kMaxSlotFileName);
    EXPECT_EQ(SlotFileName(QString(kMaxSlotFileName - 1, QLatin1Char('.')) + "/x"),
              QString(kMaxSlotFileName - 1, QLatin1Char('.')) + "_")
        << "cut first, then made safe";
}

}  // namespace
}  // namespace korvana
