// Transfers that end early: Cancel (stop after the current chunk), closing the window midway, and
// a keyboard that goes away; each says once what state the slot is in.

#include <QDialog>
#include <QPushButton>

#include "KeyboardWindowFixture.h"
#include "SongImage.h"
#include "controls/CGdipButton.h"
#include "controls/CXProgressCtrl.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

const std::string kGone =
    "\nThe keyboard stopped answering, or its port is gone. Press Refresh once it is back.";

class TransferInterruption : public KeyboardWindow {
protected:
    // A keyboard of four slots with songs in 1 and 3, the sample in the repository, selected.
    void SetUp() override {
        KeyboardWindow::SetUp();
        ConnectToKeyboard(KeyboardOf(4), {{1, SongImage(300, 1)}, {3, SongImage(1100, 3)}});
        m_before = {*m_keyboard->Store().Get(1), *m_keyboard->Store().Get(3)};
        AddSongs({QStringLiteral("pop-8beat.mid")});
        SelectSongs({QStringLiteral("pop-8beat.mid")});
    }
    // Runs act once, when the bar first shows at least value.
    void AtBar(int value, std::function<void()> act) {
        auto done = std::make_shared<bool>(false);
        QObject::connect(Transfer().m_progress, &QProgressBar::valueChanged,
                         [=, act = std::move(act)](int shown) {
                             if (!*done && shown >= value) {
                                 *done = true;
                                 act();
                             }
                         });
    }
    // Whether the keyboard's commands are all greyed and Cancel offered (true), or the reverse.
    bool InTransferState(bool transfer) {
        for (QWidget* command :
             std::initializer_list<QWidget*>{Bar().m_btnConnect, Bar().m_btnRefresh,
                                             Transfer().m_btnSend, Slots().m_wndDevList}) {
            if (command->isEnabled() == transfer) {
                return false;
            }
        }
        return Transfer().m_fetch->isEnabled() != transfer &&
               Transfer().m_btnCancel->isVisible() == transfer;
    }
    bool SlotsAsBefore() {
        return *m_keyboard->Store().Get(1) == m_before[0] &&
               *m_keyboard->Store().Get(3) == m_before[1];
    }
    // A send into slot 1 whose window is closed when the bar is at 5, the question answered so.
    void CloseDuringSend(PromptAnswer answer) {
        SelectSlots({1});
        m_prompt.Script({PromptAnswer::Yes, answer});
        AtBar(5, [this] { m_frame->close(); });
        Transfer().OnSend();
        QCoreApplication::processEvents();
    }

    std::vector<std::vector<std::uint8_t>> m_before;
    const std::string m_closeQuestion =
        "A transfer with the keyboard is running.\nYes: wait for its end, then close.\nNo: stop it "
        "after the current chunk, then close.\nCancel: keep the window open.";
};

TEST_F(TransferInterruption, CancelStopsASendAfterTheCurrentChunkAndNamesWhatTheSlotHolds) {
    SelectSlots({1});
    m_prompt.Script({PromptAnswer::Yes});
    bool greyed = false;
    int stoppedAt = 0;
    AtBar(5, [&] {
        greyed = InTransferState(true);
        Transfer().m_btnCancel->click();
        stoppedAt = Transfer().m_nPosition;
    });
    Transfer().OnSend();
    EXPECT_TRUE(greyed);
    EXPECT_EQ(Transfer().m_nPosition, stoppedAt) << "no chunk after the one under way";
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"Overwrite?",
                     "pop-8beat.mid  Download stopped. Slot 1 holds " + SlotName(1) + "."}));
    EXPECT_TRUE(SlotsAsBefore());
    EXPECT_TRUE(InTransferState(false));
    EXPECT_TRUE(Entries(m_scratch).isEmpty());

    m_prompt.m_texts.clear();
    SelectSongs({QStringLiteral("pop-8beat.mid")});
    SelectSlots({0});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Download successfully!"})) << "the stop is over";
}

TEST_F(TransferInterruption, CancelStopsABackupAfterTheCurrentBlock) {
    const QString parent = m_dir.path() + QStringLiteral("/backups");
    ASSERT_TRUE(QDir().mkpath(parent));
    bool greyed = false;
    AtBar(1, [&] {
        greyed = InTransferState(true);
        Transfer().OnCancel();
    });
    Transfer().BackUpInto(parent);
    ASSERT_EQ(Entries(parent).size(), 1);
    const QString backup = parent + QLatin1Char('/') + Entries(parent).front();
    EXPECT_TRUE(greyed);
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"The backup was stopped. Backed up 0 slots into " + backup.toStdString() +
                     ".\nNot backed up: slot 1 (stopped); slot 3 (not fetched)."}));
    EXPECT_EQ(Entries(backup), QStringList({"backup.json"}));
    EXPECT_TRUE(InTransferState(false));
}

TEST_F(TransferInterruption, CancelStopsAFetchWithTheCommandsGreyedMeanwhile) {
    SelectSlots({1, 3});
    bool greyed = false;
    AtBar(1, [&] {
        greyed = InTransferState(true);
        Transfer().OnCancel();
    });
    Transfer().OnFetch();
    EXPECT_TRUE(greyed);
    EXPECT_EQ(m_prompt.m_texts,
              Texts({SlotName(1) + "  Upload stopped: nothing was written, and the slot is "
                                   "unchanged."}));
    EXPECT_EQ(Entries(m_repository), QStringList({"pop-8beat.mid"}));
    EXPECT_TRUE(InTransferState(false));
}

TEST_F(TransferInterruption, ClosingMidSendAndWaitingClosesOnceTheSongIsIn) {
    CloseDuringSend(PromptAnswer::Yes);
    EXPECT_EQ(m_prompt.m_texts, Texts({"Overwrite?", m_closeQuestion, "Download successfully!"}));
    EXPECT_NE(*m_keyboard->Store().Get(1), m_before[0]);
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(TransferInterruption, ClosingMidSendAndStoppingSaysWhatTheSlotHoldsThenCloses) {
    CloseDuringSend(PromptAnswer::No);
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"Overwrite?", m_closeQuestion,
                     "pop-8beat.mid  Download stopped. Slot 1 holds " + SlotName(1) + "."}));
    EXPECT_TRUE(SlotsAsBefore());
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(TransferInterruption, ClosingMidSendCanBeCalledOff) {
    CloseDuringSend(PromptAnswer::Cancel);
    EXPECT_EQ(m_prompt.m_texts.back(), "Download successfully!");
    EXPECT_TRUE(m_frame->isVisible());
}

TEST_F(TransferInterruption, TheCloseAfterATransferWaitsForTheMessageBoxSayingHowItEnded) {
    m_frame->TransferStarted();
    m_prompt.Script({PromptAnswer::Yes});
    m_frame->close();
    auto box = std::make_unique<QDialog>(m_frame.get());
    box->setModal(true);
    box->show();
    m_frame->TransferEnded();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_frame->isVisible());
    box.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(TransferInterruption, AKeyboardGoneMidFetchIsSaidOnceAndRefreshConnectsAgain) {
    SelectSlots({1, 3});
    *m_plugged = false;
    Transfer().OnFetch();
    EXPECT_EQ(m_prompt.m_texts, Texts({SlotName(1) + "  Upload error!" + kGone}));

    *m_pluggedBack = true;
    const int opens = *m_opens;
    Bar().OnRefreshAll();
    EXPECT_EQ(*m_opens, opens + 1);
    SelectSlots({3});
    Transfer().OnFetch();
    EXPECT_EQ(m_prompt.m_texts.size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(m_repository + QString::fromStdString(SlotName(3)) + ".mix"));
}

TEST_F(TransferInterruption, AKeyboardGoneMidBackupIsSaidOnce) {
    const QString parent = m_dir.path() + QStringLiteral("/backups");
    ASSERT_TRUE(QDir().mkpath(parent));
    AtBar(1, [&] { *m_plugged = false; });
    Transfer().BackUpInto(parent);
    ASSERT_EQ(Entries(parent).size(), 1);
    const QString backup = parent + QLatin1Char('/') + Entries(parent).front();
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"Backed up 0 slots into " + backup.toStdString() +
                     ".\nNot backed up: slot 1 (Upload error!); slot 3 (not fetched)." + kGone}));
}

}  // namespace
}  // namespace korvana::test
