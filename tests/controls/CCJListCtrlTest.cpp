#include "CCJListCtrl.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMap>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "CCJFlatHeaderCtrl.h"
#include "PixelProbe.h"
#include "ProfileStore.h"
#include "ResourceIds.h"

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

class MemoryProfileStore : public IProfileStore {
public:
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue) const override {
        return m_values.value(section + u'/' + entry, defaultValue);
    }
    void WriteProfileString(const QString& section, const QString& entry,
                            const QString& value) override {
        m_values[section + u'/' + entry] = value;
    }

    QMap<QString, QString> m_values;
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
        EXPECT_EQ(list->columnWidth(c), widths[c]);
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

TEST(AutoSize, KeepsColumnsBetweenFiftyAndFiveHundredPixels) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{300, 300, 300}, QStringList{"a", "b", QString(200, 'W')});
    list.AddRow({"x", QString(300, 'M'), "y"});
    list.AutoSizeColumn(0);
    EXPECT_EQ(list.columnWidth(0), 50);
    EXPECT_EQ(list.columnWidth(1), 300);
    list.AutoSizeColumn(-1);
    EXPECT_EQ(list.columnWidth(1), 500);
    EXPECT_EQ(list.columnWidth(2), 500);
}

TEST(AutoSize, TakesTheWiderOfContentAndTitle) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{60, 60}, QStringList{"Title of some length", "x"});
    list.AddRow({"a", "Content that is clearly longer than the title"});
    list.AutoSizeColumn(-1);
    EXPECT_GT(list.columnWidth(0), 60);
    EXPECT_GT(list.columnWidth(1), list.columnWidth(0));
    EXPECT_LT(list.columnWidth(1), 500);
}

class ColumnRecord : public ::testing::Test {
protected:
    void SetUp() override {
        m_list.SetProfileStore(&m_store);
        m_list.BuildColumns(std::vector<int>{300, 300, 300, 300},
                            QStringList{"One", "Two", "Three", "Four"});
        m_list.AddRow({"some text", "some text", "some text", "some text"});
        m_list.AutoSizeColumn(0);
        m_autoWidth = m_list.columnWidth(0);
        m_list.setColumnWidth(0, 300);
        ASSERT_GT(m_autoWidth, 50);
        ASSERT_LT(m_autoWidth, 300);
    }

    MemoryProfileStore m_store;
    CCJListCtrl m_list;
    int m_autoWidth = 0;
};

TEST_F(ColumnRecord, ZeroAndFiftyAutoSizeFiftyOneIsApplied) {
    m_store.m_values["Settings/Column Info"] = "0,50,51,";
    m_list.EnableColumnSave();
    EXPECT_EQ(m_list.columnWidth(0), m_autoWidth);
    EXPECT_EQ(m_list.columnWidth(1), m_autoWidth);
    EXPECT_EQ(m_list.columnWidth(2), 51);
    // The record is short: the fourth column has no width and auto-sizes.
    EXPECT_EQ(m_list.columnWidth(3), m_autoWidth);
}

TEST_F(ColumnRecord, ReadsFieldsByPositionAndTheDefaultWhenAbsent) {
    m_list.EnableColumnSave("Lists", "Widths", "120,130,");
    EXPECT_EQ(m_list.GetRegColumnWidth(0), 120);
    EXPECT_EQ(m_list.GetRegColumnWidth(1), 130);
    EXPECT_EQ(m_list.GetRegColumnWidth(2), 0);
    EXPECT_EQ(m_list.GetRegColumnWidth(7), 0);
    EXPECT_EQ(m_list.columnWidth(1), 130);
}

TEST_F(ColumnRecord, IsWrittenWithATrailingCommaWhenTheListGoes) {
    auto list = std::make_unique<CCJListCtrl>();
    list->SetProfileStore(&m_store);
    list->BuildColumns(std::vector<int>{150, 100, 55, 75, 110},
                       QStringList{"a", "b", "c", "d", "e"});
    list->EnableColumnSave("S", "E");
    list->setColumnWidth(0, 150);
    list->setColumnWidth(1, 100);
    list->setColumnWidth(2, 55);
    list->setColumnWidth(3, 75);
    list->setColumnWidth(4, 110);
    list.reset();
    EXPECT_EQ(m_store.m_values.value("S/E"), "150,100,55,75,110,");
}

TEST_F(ColumnRecord, NothingIsWrittenUnlessEnabled) {
    {
        CCJListCtrl list;
        list.SetProfileStore(&m_store);
        list.AddColumn("a", 90);
    }
    EXPECT_TRUE(m_store.m_values.isEmpty());
    CCJListCtrl withoutStore;
    withoutStore.AddColumn("a", 90);
    withoutStore.EnableColumnSave();
    EXPECT_EQ(withoutStore.GetRegColumnWidth(0), 0);
}

TEST(ListRows, CopyAndMoveRefuseBadIndexesAndShiftTheSource) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{80, 80}, QStringList{"a", "b"});
    for (const char* name : {"r0", "r1", "r2"}) {
        list.AddRow({QString::fromUtf8(name), QString::fromUtf8(name) + "x"});
    }
    EXPECT_FALSE(list.CopyRow(1, 1));
    EXPECT_FALSE(list.CopyRow(-1, 0));
    EXPECT_FALSE(list.MoveRow(0, -2));
    EXPECT_FALSE(list.MoveRow(3, 0));
    EXPECT_TRUE(list.MoveRow(2, 0));
    EXPECT_EQ(FirstColumn(list), (QStringList{"r2", "r0", "r1"}));
    EXPECT_EQ(list.GetItemText(0, 1), "r2x");
    EXPECT_TRUE(list.MoveRow(0, 2));
    EXPECT_EQ(FirstColumn(list), (QStringList{"r0", "r2", "r1"}));
    EXPECT_TRUE(list.CopyRow(0, 9));
    EXPECT_EQ(FirstColumn(list), (QStringList{"r0", "r2", "r1", "r0"}));
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
    EXPECT_EQ(list.InsertRow(0, {"new"}), 0);
    EXPECT_EQ(list.GetSelectedRows(), (QList<int>{2, 4, 5}));
    list.DeleteAllItems();
    EXPECT_TRUE(list.GetSelectedRows().isEmpty());
    EXPECT_FALSE(list.SetItemText(0, 0, "none"));
    EXPECT_EQ(list.GetItemText(5, 0), QString());
}

TEST(ListRows, HitTestFindsRowAndColumnUnderAPoint) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{100, 100}, QStringList{"a", "b"});
    list.AddRow({"r0", "x"});
    list.AddRow({"r1", "y"});
    list.resize(400, 300);
    list.show();
    const QRect cell = list.visualItemRect(list.topLevelItem(1));
    int column = 7;
    EXPECT_EQ(list.HitTestEx(QPoint(150, cell.center().y()), &column), 1);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(list.RowAt(QPoint(10, cell.center().y())), 1);
    EXPECT_EQ(list.HitTestEx(QPoint(350, cell.center().y()), &column), -1);
    EXPECT_EQ(column, -1);
    EXPECT_EQ(list.RowAt(QPoint(10, 250)), -1);
}

TEST(ListColumns, DraggedNarrowerThanTheMinimumIsHeld) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{100, 100}, QStringList{"a", "b"});
    list.SetMinTrackWidth(40);
    list.header()->resizeSection(0, 10);
    EXPECT_EQ(list.columnWidth(0), 40);
    list.header()->resizeSection(0, 70);
    EXPECT_EQ(list.columnWidth(0), 70);
}

TEST(ListColumns, LockedColumnsCannotBeResizedByTheUser) {
    CCJListCtrl list;
    list.BuildColumns(std::vector<int>{100}, QStringList{"a"});
    list.SubclassHeader(true);
    list.LockColumnWidths(true);
    EXPECT_EQ(list.header()->sectionResizeMode(0), QHeaderView::Fixed);
    list.LockColumnWidths(false);
    EXPECT_EQ(list.header()->sectionResizeMode(0), QHeaderView::Interactive);
}

TEST(ListRows, OddRowsTakeTheRowColoursOnceSet) {
    CCJListCtrl list;
    list.AddColumn("a", 200);
    for (int i = 0; i < 4; ++i) {
        list.AddRow({QString()});
    }
    list.resize(220, 200);
    list.show();
    const QRect odd = list.visualItemRect(list.topLevelItem(1));
    const QRect even = list.visualItemRect(list.topLevelItem(2));
    const QColor base = list.palette().color(QPalette::Base);
    QImage before = list.viewport()->grab().toImage();
    EXPECT_EQ(PixelAt(before, odd.center().x(), odd.center().y()), base);

    list.SetRowColors(Qt::black, QColor(10, 200, 30));
    QImage after = list.viewport()->grab().toImage();
    EXPECT_EQ(PixelAt(after, odd.center().x(), odd.center().y()), QColor(10, 200, 30));
    EXPECT_EQ(PixelAt(after, even.center().x(), even.center().y()), base);
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
