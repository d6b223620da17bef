#include <QHeaderView>
#include <QMenu>

#include "KeyboardWindowFixture.h"
#include "SongImage.h"
#include "controls/ListPopupMenu.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

// No icon shows: none at all, or a transparent one keeping the text in line.
bool Blank(const QIcon& icon) {
    const QImage image = icon.pixmap(16, 16).toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                return false;
            }
        }
    }
    return true;
}

class SlotList : public KeyboardWindow {
protected:
    void SetUp() override {
        KeyboardWindow::SetUp();
        ConnectToKeyboard(KeyboardOf(4),
                          {{0, SongImage(100, 1)}, {1, SongImage(120, 2)}, {3, SongImage(140, 3)}});
    }
    DevListCtrl& List() { return *Slots().m_wndDevList; }
};

TEST_F(SlotList, ShowsEverySlotInOrderWithAnIconOnlyForSongs) {
    const QStringList expected = {QString::fromStdString(SlotName(0)),
                                  QString::fromStdString(SlotName(1)), "Empty",
                                  QString::fromStdString(SlotName(3))};
    EXPECT_EQ(Column(List()), expected);
    for (int row = 0; row < List().GetItemCount(); ++row) {
        EXPECT_EQ(Blank(List().topLevelItem(row)->icon(0)), row == 2) << row;
    }
    EXPECT_EQ(Slots().m_slotNames.size(), 4u);
    EXPECT_EQ(List().editTriggers(), QAbstractItemView::NoEditTriggers) << "no rename in place";
    EXPECT_FALSE(List().header()->sectionsClickable()) << "row i stays slot i: no sort";
}

TEST_F(SlotList, SendAndFetchSeeTheSelectionAsTheViewDescribesIt) {
    SelectSlots({1, 2});
    QStringList texts;
    EXPECT_TRUE(Slots().GetSlotsForSend(texts));
    EXPECT_EQ(texts, QStringList({Column(List())[0], "", "", Column(List())[3]}));
    EXPECT_EQ(Slots().GetSelectedSlotNames(), QStringList({"", Column(List())[1], "", ""}));

    SelectSlots({2});
    EXPECT_FALSE(Slots().GetSlotsForSend(texts)) << "only an empty slot selected";
    SelectSlots({});
    EXPECT_FALSE(Slots().GetSlotsForSend(texts));
}

TEST_F(SlotList, DeleteAsksForEachSongDeletesTheConfirmedOnesAndRefreshesOnce) {
    const std::string first = SlotName(0);
    const std::string second = SlotName(1);
    SelectSlots({0, 1, 2});
    m_prompt.Script({PromptAnswer::Yes, PromptAnswer::No});
    const int reads = DirectoryReads();
    List().OnDeleteSlot();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Delete " + first + "?", "Delete " + second + "?"}));
    EXPECT_EQ(SlotName(0), "Empty");
    EXPECT_EQ(SlotName(1), second);
    EXPECT_EQ(DirectoryReads() - reads, 1);
    EXPECT_EQ(Column(List())[0], "Empty");
}

TEST_F(SlotList, DeleteOfEmptyRowsOnlyRefreshesAndWithoutSelectionDoesNothing) {
    SelectSlots({2});
    int reads = DirectoryReads();
    List().OnDeleteSlot();
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_EQ(DirectoryReads() - reads, 1);

    SelectSlots({});
    reads = DirectoryReads();
    List().OnDeleteSlot();
    EXPECT_EQ(DirectoryReads() - reads, 0);
}

TEST_F(SlotList, TheMenuOffersDeleteOnlyOverARow) {
    for (bool onRow : {true, false}) {
        QMenu menu;
        BuildListPopupMenu(menu, onRow);
        QStringList entries;
        for (const QAction* action : menu.actions()) {
            entries.push_back(action->text());
        }
        EXPECT_EQ(entries, onRow ? QStringList({"Delete", "Refresh"}) : QStringList({"Refresh"}));
    }
}

TEST_F(SlotList, RefreshRereadsAndAFailedReadEmptiesTheList) {
    ASSERT_TRUE(m_keyboard->Store().Erase(3));
    List().OnRefresh();
    EXPECT_EQ(Column(List())[3], "Empty");

    SimulatorFaults faults;
    faults.directoryOutOfOrder = true;
    m_keyboard->Simulator().SetFaults(faults);
    List().OnRefresh();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Connection error!"}));
    EXPECT_EQ(List().GetItemCount(), 0);
}

TEST_F(SlotList, RefreshAllRereadsTheSlotsOnlyWhileConnected) {
    int reads = DirectoryReads();
    Bar().OnRefreshAll();
    EXPECT_EQ(DirectoryReads() - reads, 1);
    Link().Disconnect();
    reads = DirectoryReads();
    Bar().OnRefreshAll();
    EXPECT_EQ(DirectoryReads() - reads, 0);
    EXPECT_EQ(List().GetItemCount(), 4) << "the list keeps what it showed";
}

}  // namespace
}  // namespace korvana::test
