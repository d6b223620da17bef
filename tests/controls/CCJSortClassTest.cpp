#include "controls/CCJSortClass.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "controls/CCJListCtrl.h"

namespace korvana {
namespace {

using Sort = CCJSortClass;

int Compare(const char* a, const char* b, int kind, const QString& folder = {}) {
    return Sort::CompareTexts(QString::fromUtf8(a), QString::fromUtf8(b), kind, folder);
}

TEST(CompareItems, IntegerKindReadsTheLeadingNumberAndEmptyAsZero) {
    EXPECT_LT(Compare("1KB", "150KB", Sort::SORT_INT), 0);
    EXPECT_LT(Compare("", "1KB", Sort::SORT_INT), 0);
    EXPECT_EQ(Compare("150KB", "150", Sort::SORT_INT), 0);
    EXPECT_LT(Compare("-3", " 2", Sort::SORT_INT), 0);
    EXPECT_GT(Compare("1KB", "150KB", -Sort::SORT_INT), 0);
    EXPECT_GT(Compare("", "1KB", -Sort::SORT_INT), 0);
}

TEST(CompareItems, IntegerKindDoesNotOverflowOnFarApartValues) {
    EXPECT_GT(Compare("9223372036854775807", "-9223372036854775808", Sort::SORT_INT), 0);
    EXPECT_GT(Compare("99999999999999999999999", "-5", Sort::SORT_INT), 0);
    EXPECT_LT(Compare("2147483648", "4294967296", Sort::SORT_INT), 0);
}

TEST(CompareItems, TextKindIgnoresLetterCase) {
    EXPECT_EQ(Compare("Song", "sONG", Sort::SORT_TEXT), 0);
    EXPECT_LT(Compare("abc", "ABD", Sort::SORT_TEXT), 0);
    EXPECT_GT(Compare("abc", "ABD", -Sort::SORT_TEXT), 0);
    EXPECT_LT(Compare("", "a", Sort::SORT_TEXT), 0);
}

TEST(CompareItems, DateKindReadsMonthBeforeDay) {
    EXPECT_LT(Compare("03/05/2014 14:07", "03/05/2014 14:08", Sort::SORT_DATETIME), 0);
    EXPECT_GT(Compare("02/01/2014 00:00", "01/31/2014 23:59", Sort::SORT_DATETIME), 0);
    EXPECT_LT(Compare("12/31/2013 23:59", "01/01/2014 00:00", Sort::SORT_DATETIME), 0);
    EXPECT_GT(Compare("03/05/2014 14:07", "03/05/2014 14:08", -Sort::SORT_DATETIME), 0);
}

TEST(CompareItems, EqualDatesAndDecimalsCompareGreaterBothWays) {
    EXPECT_GT(Compare("03/05/2014 14:07", "03/05/2014 14:07", Sort::SORT_DATETIME), 0);
    EXPECT_LT(Compare("03/05/2014 14:07", "03/05/2014 14:07", -Sort::SORT_DATETIME), 0);
    EXPECT_GT(Compare("2.5", "2.50", Sort::SORT_DECIMAL), 0);
    EXPECT_LT(Compare("2.5", "2.50", -Sort::SORT_DECIMAL), 0);
}

TEST(CompareItems, UnreadableDateIsEqualToEverything) {
    for (const char* other : {"03/05/2014 14:07", "", "13/45/2014 10:00", "garbage"}) {
        EXPECT_EQ(Compare("not a date", other, Sort::SORT_DATETIME), 0) << other;
        EXPECT_EQ(Compare(other, "02/30/2014 10:00", -Sort::SORT_DATETIME), 0) << other;
    }
}

TEST(CompareItems, DecimalKindComparesNumbers) {
    EXPECT_LT(Compare("1.5", "10", Sort::SORT_DECIMAL), 0);
    EXPECT_LT(Compare("-0.25", "0", Sort::SORT_DECIMAL), 0);
    EXPECT_LT(Compare("", "0.001", Sort::SORT_DECIMAL), 0);
    EXPECT_GT(Compare("1.5", "10", -Sort::SORT_DECIMAL), 0);
}

TEST(CompareItems, UnknownKindsCallEverythingEqual) {
    EXPECT_EQ(Compare("a", "b", 0), 0);
    EXPECT_EQ(Compare("a", "b", 6), 0);
    EXPECT_EQ(Compare("a", "b", -9), 0);
}

class FileSort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QDir dir(m_dir.path());
        ASSERT_TRUE(dir.mkdir(QStringLiteral("zeta")));
        ASSERT_TRUE(dir.mkdir(QStringLiteral("Beta")));
        for (const char* name : {"alpha.mid", "Gamma.MID", "delta.mid"}) {
            QFile file(dir.filePath(QString::fromUtf8(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    QString Folder() const { return m_dir.path(); }

    QTemporaryDir m_dir;
};

TEST_F(FileSort, FoldersComeBeforeFilesAscendingAndAfterDescending) {
    EXPECT_LT(Compare("zeta", "alpha.mid", Sort::SORT_FILE, Folder()), 0);
    EXPECT_GT(Compare("alpha.mid", "zeta", Sort::SORT_FILE, Folder()), 0);
    EXPECT_GT(Compare("zeta", "alpha.mid", -Sort::SORT_FILE, Folder()), 0);
    EXPECT_LT(Compare("alpha.mid", "zeta", -Sort::SORT_FILE, Folder()), 0);
}

TEST_F(FileSort, SameKindsAndMissingEntriesCompareByNameIgnoringCase) {
    EXPECT_LT(Compare("alpha.mid", "Gamma.MID", Sort::SORT_FILE, Folder()), 0);
    EXPECT_LT(Compare("Beta", "zeta", Sort::SORT_FILE, Folder()), 0);
    // "missing" is no entry, so the folder rule does not apply.
    EXPECT_LT(Compare("missing", "zeta", Sort::SORT_FILE, Folder()), 0);
    EXPECT_GT(Compare("zeta", "missing", Sort::SORT_FILE, Folder()), 0);
}

QStringList Column(const CCJListCtrl& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        texts.push_back(list.GetItemText(row, column));
    }
    return texts;
}

TEST_F(FileSort, SortingAListPutsFoldersFirstInNameOrder) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{150}, QStringList{QStringLiteral("Name")});
    for (const char* name : {"Gamma.MID", "zeta", "alpha.mid", "Beta", "delta.mid"}) {
        list.AddRow({QString::fromUtf8(name)});
    }
    CCJSortClass(&list, 0, Folder()).Sort(true, Sort::SORT_FILE);
    EXPECT_EQ(Column(list, 0),
              (QStringList{"Beta", "zeta", "alpha.mid", "delta.mid", "Gamma.MID"}));
    CCJSortClass(&list, 0, Folder()).Sort(false, Sort::SORT_FILE);
    EXPECT_EQ(Column(list, 0),
              (QStringList{"Gamma.MID", "delta.mid", "alpha.mid", "zeta", "Beta"}));
}

TEST(SortClass, RowsMoveWholeAndKeepTheirSelectionAndData) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{100, 60}, QStringList{"Name", "Size"});
    list.AddRow({"b", "150KB"});
    list.AddRow({"a", ""});
    list.AddRow({"c", "1KB"});
    list.SetItemData(0, 7);
    list.SetRowSelected(0, true);
    CCJSortClass(&list, 1).Sort(true, Sort::SORT_INT);
    EXPECT_EQ(Column(list, 0), (QStringList{"a", "c", "b"}));
    EXPECT_EQ(list.GetItemData(2).toInt(), 7);
    EXPECT_EQ(list.GetSelectedRows(), QList<int>{2});
}

TEST(SortClass, EqualDatesKeepTheirOrderInBothDirections) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{100, 110}, QStringList{"Name", "Modified"});
    list.AddRow({"first", "03/05/2014 14:07"});
    list.AddRow({"second", "03/05/2014 14:07"});
    list.AddRow({"third", "03/05/2014 14:07"});
    CCJSortClass(&list, 1).Sort(false, Sort::SORT_DATETIME);
    EXPECT_EQ(Column(list, 0), (QStringList{"first", "second", "third"}));
    CCJSortClass(&list, 1).Sort(true, Sort::SORT_DATETIME);
    EXPECT_EQ(Column(list, 0), (QStringList{"first", "second", "third"}));
}

TEST(SortClass, UnreadableDatesDoNotBreakTheSort) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{110}, QStringList{"Modified"});
    const QStringList texts{"03/05/2014 14:07", "x",   "01/01/2000 00:00", "",
                            "12/24/2020 18:30", "bad", "07/04/1999 12:00"};
    for (int i = 0; i < 40; ++i) {
        list.AddRow({texts[i % texts.size()]});
    }
    CCJSortClass(&list, 0).Sort(true, Sort::SORT_DATETIME);
    EXPECT_EQ(list.GetItemCount(), 40);
}

}  // namespace
}  // namespace korvana
