#include <QSignalSpy>

#include "controls/CGdipButton.h"

#include "KeyboardWindowFixture.h"
#include "SongImage.h"
#include "controls/CXProgressCtrl.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

class Send : public KeyboardWindow {
protected:
    // A keyboard of three slots holding songs where filled says so, the repository holding the
    // accepted sample and the refused one.
    void Prepare(std::initializer_list<int> filled, int slotCount = 3) {
        std::vector<std::pair<int, std::vector<std::uint8_t>>> songs;
        for (int slot : filled) {
            songs.emplace_back(slot, SongImage(100, static_cast<std::uint8_t>(slot + 1)));
        }
        ConnectToKeyboard(KeyboardOf(slotCount), songs);
        AddSongs({QStringLiteral("pop-8beat.mid"), QStringLiteral("refused-ppqn-480.mid")});
        SelectSongs({QStringLiteral("pop-8beat.mid")});
        m_before = Names();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int slot = 0; slot < m_keyboard->Store().Count(); ++slot) {
            names.push_back(SlotName(slot));
        }
        return names;
    }
    // Whether only this slot changed, and to a song.
    bool OnlyChanged(int slot) {
        std::vector<std::string> expected = m_before;
        const std::vector<std::string> now = Names();
        expected[slot] = now[slot];
        return now == expected && now[slot] != m_before[slot] && now[slot] != "Empty";
    }
    // Nothing but songs in the repository and nothing left in the temporary folder.
    void ExpectNothingLeftBehind() {
        EXPECT_EQ(Entries(m_repository), QStringList({"pop-8beat.mid", "refused-ppqn-480.mid"}));
        EXPECT_TRUE(Entries(m_scratch).isEmpty()) << Entries(m_scratch).join(' ').toStdString();
        EXPECT_FALSE(Transfer().m_progress->isVisible());
        EXPECT_EQ(Link().Device().m_bProgressNotify, 0);
        EXPECT_TRUE(Link().IsIdle());
    }

    std::vector<std::string> m_before;
};

TEST_F(Send, TwoSelectedSongsAreRefusedBeforeAnythingIsSent) {
    Prepare({});
    SelectSongs({"pop-8beat.mid", "refused-ppqn-480.mid"});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Select one file to download!"}));
    EXPECT_EQ(Names(), m_before);
}

TEST_F(Send, WithoutASlotTheOnlyEmptySlotIsOfferedAndFilled) {
    Prepare({0, 2});
    const int readsBefore = DirectoryReads();
    m_prompt.Script({PromptAnswer::Yes});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Using empty slot?", "Download successfully!"}));
    EXPECT_TRUE(OnlyChanged(1));
    EXPECT_EQ(DirectoryReads() - readsBefore, 2) << "the directory is read twice after a send";
    EXPECT_EQ(Column(*Slots().m_wndDevList)[1].toStdString(), SlotName(1));
    ExpectNothingLeftBehind();
}

TEST_F(Send, WithoutASlotOnAFullKeyboardYesSendsNothingButRefreshes) {
    Prepare({0, 1, 2});
    const int readsBefore = DirectoryReads();
    m_prompt.Script({PromptAnswer::Yes});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Using empty slot?"}));
    EXPECT_EQ(Names(), m_before);
    EXPECT_EQ(DirectoryReads() - readsBefore, 2);
}

TEST_F(Send, WithoutASlotNoToTheEmptySlotAsksForASlot) {
    Prepare({0, 2});
    m_prompt.Script({PromptAnswer::No});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Using empty slot?", "Select slot first!"}));
    EXPECT_EQ(Names(), m_before);
}

TEST_F(Send, WithoutASlotAndSeveralEmptyOnesTheUserMustChoose) {
    Prepare({}, 3);
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Select slot first!"}));
    EXPECT_EQ(Names(), m_before);
}

TEST_F(Send, OfTwoSelectedSlotsOnlyTheFirstReceivesTheSong) {
    Prepare({}, 4);
    SelectSlots({3, 1});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Download successfully!"}));
    EXPECT_TRUE(OnlyChanged(1));
}

TEST_F(Send, AnOccupiedSlotIsOverwrittenOnlyAfterYes) {
    Prepare({1});
    SelectSlots({1});
    m_prompt.Script({PromptAnswer::No});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Overwrite?"}));
    EXPECT_EQ(Names(), m_before);

    m_prompt.m_texts.clear();
    SelectSlots({1});
    m_prompt.Script({PromptAnswer::Yes});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Overwrite?", "Download successfully!"}));
    EXPECT_TRUE(OnlyChanged(1));
    ExpectNothingLeftBehind();
}

TEST_F(Send, ARefusedSongIsReportedOnceAndNothingIsSent) {
    Prepare({}, 3);
    SelectSongs({"refused-ppqn-480.mid"});
    SelectSlots({0, 2});
    Transfer().OnSend();
    ASSERT_FALSE(m_prompt.m_texts.empty());
    EXPECT_EQ(m_prompt.m_texts.back(), "File is not supported!");
    EXPECT_EQ(
        std::count(m_prompt.m_texts.begin(), m_prompt.m_texts.end(), "File is not supported!"), 1)
        << "not once per selected slot";
    EXPECT_EQ(Names(), m_before);
    ExpectNothingLeftBehind();
}

TEST_F(Send, AnEmptySlotListHasNoRoom) {
    Prepare({});
    Slots().m_wndDevList->DeleteAllItems();
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"The capacity of current divice is not enough!"}));
}

TEST_F(Send, TheKeyboardsCapacityRefusalComesBeforeTheDownloadError) {
    ConnectToKeyboard(KeyboardOf(2, 64));
    AddSongs({"pop-8beat.mid"});
    SelectSongs({"pop-8beat.mid"});
    SelectSlots({0});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"Capacity is not allowed!", "pop-8beat.mid  Download error!"}));
    EXPECT_EQ(SlotName(0), "Empty");
    EXPECT_TRUE(Entries(m_scratch).isEmpty());
}

TEST_F(Send, ProgressRangeFollowsTheImageSizeAndHoldsBelow98Percent) {
    MakeKeyboard();
    OpenWindow();
    CXProgressCtrl& bar = *Transfer().m_progress;
    Transfer().StartProgress(4600);
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 202);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(Link().Device().m_bProgressNotify, 1);
    for (int step = 1; step <= 199; ++step) {
        Transfer().OnStep();
        ASSERT_EQ(Transfer().m_nPosition, step);
        ASSERT_EQ(bar.value() * 100 / 202, step * 100 / 202) << "the bar shows every percent";
    }
    Transfer().OnStep();
    EXPECT_EQ(Transfer().m_nPosition, 197) << "99 % falls back to 202 × 0.98, truncated";
    for (int step = 0; step < 50; ++step) {
        Transfer().OnStep();
        EXPECT_GE(Transfer().m_nPosition, 197);
        EXPECT_LE(bar.value() * 100 / bar.maximum(), 98);
    }
    Link().SetProgress(nullptr);
}

TEST_F(Send, TheBarStepsPerChunkAndReachesTheTopOnlyOnSuccess) {
    Prepare({}, 1);
    SelectSlots({0});
    CXProgressCtrl& bar = *Transfer().m_progress;
    QSignalSpy values(&bar, &QProgressBar::valueChanged);
    bool visibleDuringSteps = true;
    QObject::connect(&bar, &QProgressBar::valueChanged, [&](int value) {
        visibleDuringSteps = visibleDuringSteps && (value == 0 || bar.isVisible());
    });
    Transfer().OnSend();
    ASSERT_EQ(m_prompt.m_texts, Texts({"Download successfully!"}));
    ASSERT_GT(values.size(), 10);
    for (int i = 1; i + 1 < values.size(); ++i) {
        EXPECT_LE(values[i][0].toInt() * 100 / bar.maximum(), 98);
    }
    EXPECT_EQ(values.back()[0].toInt(), bar.maximum());
    EXPECT_TRUE(visibleDuringSteps);
    ExpectNothingLeftBehind();
}

TEST_F(Send, AKeyboardThatStopsAnsweringMidSendFailsCleanlyAndTheWindowStaysUsable) {
    Prepare({}, 1);
    SelectSlots({0});
    CXProgressCtrl& bar = *Transfer().m_progress;
    bool quietMeanwhile = false;
    bool stalled = false;
    QObject::connect(&bar, &QProgressBar::valueChanged, [&](int value) {
        if (value != 5 || stalled) {
            return;
        }
        stalled = true;
        SimulatorFaults silent;
        silent.dropAcks = true;
        m_keyboard->Simulator().SetFaults(silent);
        // Commands that would talk to the keyboard do nothing while the send waits.
        const int rows = Slots().m_wndDevList->GetItemCount();
        Transfer().OnSend();
        Transfer().OnFetch();
        Slots().Refresh();
        Bar().OnConnect();
        quietMeanwhile = m_prompt.m_texts.empty() && Slots().m_wndDevList->GetItemCount() == rows;
    });
    Transfer().OnSend();
    EXPECT_TRUE(quietMeanwhile);
    ASSERT_FALSE(m_prompt.m_texts.empty());
    EXPECT_EQ(m_prompt.m_texts.front(), "pop-8beat.mid  Download error!");
    EXPECT_EQ(SlotName(0), "Empty");
    ExpectNothingLeftBehind();

    m_keyboard->Simulator().SetFaults({});
    m_prompt.m_texts.clear();
    ConnectTo(QString::fromLatin1(kSimulatedPortName));
    SelectSongs({"pop-8beat.mid"});
    SelectSlots({0});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Korvana Keyboard Connected!", "Download successfully!"}));
    EXPECT_NE(SlotName(0), "Empty");
}

TEST_F(Send, NothingHappensWhileNotConnected) {
    Prepare({});
    Link().Disconnect();
    Transfer().OnSend();
    Transfer().OnFetch();
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_EQ(Names(), m_before);
}

TEST_F(Send, AKeyboardThatGoesAwayIsReportedOnceAndRefreshConnectsAgainWhenItIsBack) {
    Prepare({});
    SelectSlots({1});
    *m_plugged = false;
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"pop-8beat.mid  Download error!\nThe keyboard stopped answering, or its port "
                     "is gone. Press Refresh once it is back."}));
    EXPECT_EQ(Column(*Slots().m_wndDevList).size(), 3) << "the slots as last read";

    *m_pluggedBack = true;
    const int opens = *m_opens;
    Bar().OnRefreshAll();
    EXPECT_EQ(*m_opens, opens + 1);
    EXPECT_EQ(m_prompt.m_texts.size(), 1u);
    EXPECT_EQ(Column(*Slots().m_wndDevList).size(), 3);
    SelectSongs({QStringLiteral("pop-8beat.mid")});
    SelectSlots({1});
    Transfer().OnSend();
    EXPECT_TRUE(OnlyChanged(1)) << "sends again";
}

TEST_F(Send, TheKeyboardsCommandsAreGreyedWhileASendRuns) {
    Prepare({});
    SelectSlots({1});
    std::vector<bool> enabledDuringSend;
    // The bar first moves past zero only while the send runs, however fast the keyboard is.
    QObject::connect(Transfer().m_progress, &QProgressBar::valueChanged, [&](int value) {
        if (value == 0 || !enabledDuringSend.empty()) {
            return;
        }
        for (QWidget* command :
             std::initializer_list<QWidget*>{Bar().m_btnConnect, Bar().m_btnRefresh,
                                             Transfer().m_btnSend, Slots().m_wndDevList}) {
            enabledDuringSend.push_back(command->isEnabled());
        }
        enabledDuringSend.push_back(Transfer().m_fetch->isEnabled());
    });
    Transfer().OnSend();
    EXPECT_EQ(enabledDuringSend, std::vector<bool>(5, false));
    EXPECT_TRUE(OnlyChanged(1));
    EXPECT_TRUE(Bar().m_btnConnect->isEnabled() && Transfer().m_btnSend->isEnabled() &&
                Transfer().m_fetch->isEnabled() && Slots().m_wndDevList->isEnabled());
}

}  // namespace
}  // namespace korvana::test
