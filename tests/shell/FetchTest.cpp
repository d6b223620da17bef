#include "KeyboardWindowFixture.h"
#include "SongImage.h"
#include "controls/CXProgressCtrl.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

class Fetch : public KeyboardWindow {
protected:
    void SetUp() override {
        KeyboardWindow::SetUp();
        ConnectToKeyboard(KeyboardOf(3), {{0, SongImage(300, 1)}, {2, SongImage(700, 2)}});
    }
    QByteArray Stored(int slot) {
        const std::vector<std::uint8_t>& bytes = *m_keyboard->Store().Get(slot);
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    }
    QString FileOf(int slot) {
        return m_repository + QString::fromStdString(SlotName(slot)) + QStringLiteral(".mix");
    }
};

TEST_F(Fetch, EverySelectedSongLandsInTheRepositoryAsASongImageNamedAfterItsSlot) {
    SelectSlots({0, 1, 2});
    Transfer().OnFetch();
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_EQ(ReadBytes(FileOf(0)), Stored(0));
    EXPECT_EQ(ReadBytes(FileOf(2)), Stored(2));
    EXPECT_EQ(Entries(m_repository).size(), 2);
}

TEST_F(Fetch, TheBarStepsOncePerReceivedBlock) {
    std::vector<int> positions;
    QObject::connect(Transfer().m_progress, &QProgressBar::valueChanged,
                     [&](int) { positions.push_back(Transfer().m_nPosition); });
    SelectSlots({2});
    Transfer().OnFetch();
    // 782 bytes come in 4 blocks: the bar's range is the block count, it starts empty, ends
    // full, and goes when the fetch is over.
    EXPECT_EQ(Transfer().m_progress->maximum(), 4);
    EXPECT_EQ(positions, std::vector<int>({0, 1, 2, 3, 4}));
    EXPECT_FALSE(Transfer().m_progress->isVisible());
}

TEST_F(Fetch, AnExistingFileIsReplacedOnlyAfterYes) {
    ASSERT_TRUE(WriteBytes(FileOf(0), "mine"));
    SelectSlots({0});
    m_prompt.Script({PromptAnswer::No});
    Transfer().OnFetch();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Replace existed file?"}));
    EXPECT_EQ(ReadBytes(FileOf(0)), "mine");

    m_prompt.Script({PromptAnswer::Yes});
    Transfer().OnFetch();
    EXPECT_EQ(ReadBytes(FileOf(0)), Stored(0));
}

TEST_F(Fetch, AFolderOfTheSlotsNameIsPassedOverSilently) {
    ASSERT_TRUE(QDir().mkpath(FileOf(0)));
    SelectSlots({0});
    Transfer().OnFetch();
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_TRUE(QFileInfo(FileOf(0)).isDir());
}

TEST_F(Fetch, AHostileSlotNameNeverWritesOutsideTheRepository) {
    Slots().m_wndDevList->topLevelItem(0)->setText(0, "../../escaped");
    Slots().m_wndDevList->topLevelItem(2)->setText(0, "..");
    SelectSlots({0, 2});
    Transfer().OnFetch();
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_EQ(Entries(m_repository), QStringList({".._.._escaped.mix", "__.mix"}));
    EXPECT_EQ(Entries(m_dir.path()), QStringList({"Repository", "tmp"}));
    EXPECT_EQ(ReadBytes(m_repository + ".._.._escaped.mix"), Stored(0));
}

TEST_F(Fetch, AFailedFetchNamesTheSlotAndWritesNothing) {
    SimulatorFaults faults;
    faults.corruptReplies = 1;
    m_keyboard->Simulator().SetFaults(faults);
    SelectSlots({2});
    Transfer().OnFetch();
    EXPECT_EQ(m_prompt.m_texts, Texts({SlotName(2) + "  Upload error!"}));
    EXPECT_TRUE(Entries(m_repository).isEmpty());
}

TEST_F(Fetch, TheUploadCommandIsOnTheTransferPanesMenuAndCtrlU) {
    const QList<QAction*> actions = Transfer().actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions.front()->text(), "Upload");
    EXPECT_EQ(actions.front()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
    SelectSlots({2});
    actions.front()->trigger();
    EXPECT_EQ(ReadBytes(FileOf(2)), Stored(2));
}

}  // namespace
}  // namespace korvana::test
