#include "controls/CCJListCtrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "controls/CCJFlatHeaderCtrl.h"
#include "controls/ResourceIds.h"

namespace korvana {
namespace {

// Records every sort the header asks for.
class RecordingList : public CCJListCtrl {
public:
    bool SortList(int column, bool ascending) override {
        m_sorts.push_back({column, ascending});
        return true;
    }

    std::vector<std::pair<int, bool>> m_sorts;
};

std::unique_ptr<RecordingList> FiveColumnList() {
    auto list = std::make_unique<RecordingList>();
    const int widths[] = {150, 100, 55, 75, 110};
    const int ids[] = {IDS_COLUMN_NAME, IDS_COLUMN_SONG_NAME, IDS_COLUMN_SIZE, IDS_COLUMN_TYPE,
                       IDS_COLUMN_MODIFIED};
    EXPECT_TRUE(list->BuildColumns(widths, ids));
    list->SubclassHeader(false);
    return list;
}

QStringList FirstColumn(const CCJListCtrl& list) {
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        texts.push_back(list.GetItemText(row, 0));
    }
    return texts;
}

TEST(ListColumns, AreBuiltFromStringIdsWithTheirWidths) {
    const auto list = FiveColumnList();
    ASSERT_EQ(list->GetColumnCount(), 5);
    const QStringList expected{"Name", "Song Name", "Size", "Type", "Modified"};
    const int widths[] = {150, 100, 55, 75, 110};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(list->headerItem()->text(c), expected[c]);
        EXPECT_EQ(list->columnWidth(c) == widths[c], c < 4);
        EXPECT_GE(list->columnWidth(c), widths[c]) << "the last column takes the rest";
    }
    EXPECT_NE(list->GetFlatHeader(), nullptr);
    EXPECT_EQ(list->header(), list->GetFlatHeader());
}

TEST(ListColumns, MismatchedListsAddNothingAndMinusOneCopiesTheLastWidth) {
    CCJListCtrl list;
    const int widths[] = {80, 90};
    const int ids[] = {IDS_COLUMN_DEVICE};
    EXPECT_FALSE(list.BuildColumns(widths, ids));
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_EQ(list.AddColumn("One", 80), 0);
    EXPECT_EQ(list.AddColumn("Two", -1), 1);
    EXPECT_EQ(list.AddColumn("Three", 70), 2);
    EXPECT_EQ(list.columnWidth(1), 80);
}

TEST(HeaderClick, NewColumnSortsAscendingSameColumnReverses) {
    const auto list = FiveColumnList();
    list->OnHeaderItemClick(2);
    list->OnHeaderItemClick(2);
    list->OnHeaderItemClick(1);
    list->OnHeaderItemClick(0);
    list->OnHeaderItemClick(0);
    const std::vector<std::pair<int, bool>> expected{
        {2, true}, {2, false}, {1, true}, {0, true}, {0, false}};
    EXPECT_EQ(list->m_sorts, expected);
    EXPECT_EQ(list->m_nSortColumn, 0);
    EXPECT_FALSE(list->m_bAscending);
}

TEST(HeaderClick, TheStartingColumnZeroIsAlreadyAscendingSoItsFirstClickReverses) {
    const auto list = FiveColumnList();
    list->OnHeaderItemClick(0);
    ASSERT_EQ(list->m_sorts.size(), 1u);
    EXPECT_FALSE(list->m_sorts[0].second);
}

TEST(HeaderClick, MouseClickOnTheHeaderSortsAndMovesTheArrow) {
    const auto list = FiveColumnList();
    list->resize(600, 300);
    list->show();
    QHeaderView* header = list->header();
    const QPoint onSize(header->sectionViewportPosition(2) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onSize);
    ASSERT_EQ(list->m_sorts.size(), 1u);
    EXPECT_EQ(list->m_sorts[0], std::make_pair(2, true));
    EXPECT_EQ(list->GetFlatHeader()->GetSortColumn(), 2);
    EXPECT_TRUE(list->GetFlatHeader()->IsSortAscending());

    QTest::mouseClick(header->viewport(), Qt::RightButton, {}, onSize);
    EXPECT_EQ(list->m_sorts.size(), 1u);
}

TEST(HeaderClick, BaseListMovesTheArrowButNotTheRows) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{100}, QStringList{"Repository"});
    list.SubclassHeader(false);
    for (const char* name : {"B.MID", "C.MID", "A.MID"}) {
        list.AddRow({QString::fromUtf8(name)});
    }
    EXPECT_EQ(list.GetFlatHeader()->GetSortColumn(), -1);
    list.OnHeaderItemClick(0);
    EXPECT_EQ(list.GetFlatHeader()->GetSortColumn(), 0);
    EXPECT_FALSE(list.GetFlatHeader()->IsSortAscending());
    EXPECT_EQ(FirstColumn(list), (QStringList{"B.MID", "C.MID", "A.MID"}));
}

TEST(HeaderClick, WithoutTheFlatHeaderStillSorts) {
    RecordingList list;
    list.BuildColumns(std::vector<int>{100, 100}, QStringList{"A", "B"});
    list.OnHeaderItemClick(1);
    EXPECT_EQ(list.m_sorts.size(), 1u);
    EXPECT_EQ(list.GetFlatHeader(), nullptr);
}

TEST(ListRows, SelectedRowsComeInAscendingOrder) {
    CCJListCtrl list;
    list.AddColumn("a", 80);
    for (int i = 0; i < 6; ++i) {
        list.AddRow({QString::number(i)});
    }
    list.SetRowSelected(4, true);
    list.SetRowSelected(1, true);
    list.SetRowSelected(3, true);
    EXPECT_EQ(list.GetSelectedRows(), (QList<int>{1, 3, 4}));
    list.DeleteAllItems();
    EXPECT_TRUE(list.GetSelectedRows().isEmpty());
    EXPECT_EQ(list.GetItemText(5, 0), QString());
}

TEST(ListRows, APlainClickOnASelectedRowSelectsItAloneAndRenamesOnlyALoneOne) {
    for (const bool editing : {false, true}) {
        CCJListCtrl list;
        list.BuildColumns(std::vector<int>{100, 100}, QStringList{"a", "b"});
        for (const char* name : {"a.mid", "b.mid", "c.mid"}) {
            list.AddRow({name, "x"});
        }
        list.EnableLabelEditing(editing);
        list.resize(300, 200);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        list.SetRowSelected(0, true);
        list.SetRowSelected(1, true);
        const QPoint second = list.visualItemRect(list.topLevelItem(1)).center();
        const int wait = QApplication::doubleClickInterval() + 100;

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
        QTest::qWait(wait);
        EXPECT_EQ(list.GetSelectedRows(), QList<int>({1})) << editing;
        EXPECT_EQ(list.viewport()->findChild<QLineEdit*>(), nullptr) << editing;

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
        QTest::qWait(wait);
        EXPECT_EQ(list.viewport()->findChild<QLineEdit*>() != nullptr, editing) << editing;
    }
}

TEST(ListRows, InPlaceEditReportsTheTextButKeepsTheRow) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{100, 100}, QStringList{"a", "b"});
    list.AddRow({"old.mid", "x"});
    list.EnableLabelEditing(true);
    list.resize(300, 200);
    list.show();
    QSignalSpy edited(&list, &CCJListCtrl::labelEdited);
    list.editItem(list.topLevelItem(0), 1);
    auto* editor = list.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "old.mid");
    editor->setText("new.mid");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the edit is committed from the event loop
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0).at(0).toInt(), 0);
    EXPECT_EQ(edited.at(0).at(1).toString(), "new.mid");
    EXPECT_EQ(list.GetItemText(0, 0), "old.mid");
}

}  // namespace
}  // namespace korvana
