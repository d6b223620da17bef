// The program's failure paths against faults the simulated keyboard injects.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SimulatorFixture.h"
#include "SongImage.h"
#include "common/SafeFile.h"

namespace korvana::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class FaultsTest : public SimulatorFixture {
protected:
    void Inject(SimulatorFaults faults) { Simulator().SetFaults(faults); }
    bool Listed() {
        std::vector<std::string> names;
        return m_link.ReadDirectory(names);
    }
};

TEST_F(FaultsTest, MissingAcknowledgementFailsTheSendAndStoresNothing) {
    Inject({.dropAcks = true});
    EXPECT_FALSE(m_link.SendFile(SongImage(500), 0, 500));
    Inject({});
    EXPECT_EQ(Store().Get(0), nullptr);
}

TEST_F(FaultsTest, SendAbandonedMidFrameLeavesTheKeyboardReadyForTheNext) {
    // The header is message 1; the data's fifth piece goes unacknowledged.
    Inject({.dropAckOfMessage = 6});
    EXPECT_FALSE(m_link.SendFile(SongImage(2000), 0, 500));
    EXPECT_EQ(m_link.TransState(), kStateDataWait);
    const auto image = SongImage(1000, 7);
    ASSERT_TRUE(m_link.SendFile(image, 0, 500));
    ASSERT_NE(Store().Get(0), nullptr);
    EXPECT_EQ(*Store().Get(0), image);
}

TEST_F(FaultsTest, CorruptedReplyIsAnsweredAndTheOperationTimesOut) {
    ASSERT_TRUE(m_link.SendFile(SongImage(300), 2, 500));
    Inject({.corruptReplies = 1});
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_link.DeleteSlot(2));
    EXPECT_GE(Clock::now() - start, 1000ms);
    EXPECT_EQ(m_link.TransState(), kStateDeleteWait);
    // The keyboard took (0x15, 2) as the error reply, not as a request to delete slot 2 again;
    // the next request is served normally.
    EXPECT_TRUE(Listed());
}

TEST_F(FaultsTest, CorruptedReadReplyIsNotMistakenForARequest) {
    const auto image = SongImage(600, 3);
    ASSERT_TRUE(m_link.SendFile(image, 2, 500));
    TempFolder folder;
    Inject({.corruptReplies = 1});
    EXPECT_FALSE(m_link.ReceiveFile(folder.Path() / "a", 2, 100));
    ASSERT_TRUE(m_link.ReceiveFile(folder.Path() / "b", 2, 200));
    EXPECT_EQ(ReadWholeFile(folder.Path() / "b"), image);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "a"));
}

TEST_F(FaultsTest, CorruptedConnectReplyFailsTheHandshake) {
    Inject({.corruptReplies = 1});
    std::string name;
    EXPECT_FALSE(m_link.ConnectDevice(0, name, 0));
    EXPECT_EQ(m_prompt.m_texts, std::vector<std::string>{"Connect request error!"});
}

TEST_F(FaultsTest, WrongCommandEndsTheWaitAtOnce) {
    Inject({.wrongCommandReplies = 1});
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_link.DeleteSlot(1));
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_EQ(m_link.TransState(), kStateIdle);
}

TEST_F(FaultsTest, OutOfOrderDirectoryFailsWithoutSittingOutTheTimeOut) {
    Inject({.directoryOutOfOrder = true});
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(Listed());
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_EQ(m_link.TransState(), kStateDirectoryOutOfOrder);
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(FaultsTest, SlowRepliesWithinTheTimeOutSucceedBeyondItFail) {
    Inject({.replyDelay = 300ms});
    EXPECT_TRUE(m_link.DeleteSlot(1));  // waits up to 1000 ms
    std::string name;
    EXPECT_FALSE(m_link.Connect(name));  // waits up to 200 ms
    EXPECT_EQ(m_link.TransState(), kStateConnectWait);
}

// What the command line does when a handshake reply is late: it gives up and ends, and the
// reply arrives while the device and its ports are being torn down.
TEST_F(FaultsTest, ReplyArrivingAfterTheTimeOutWhileTheDeviceGoesIsDropped) {
    SimulatedKeyboard keyboard;
    keyboard.Simulator().SetFaults({.replyDelay = 220ms});
    auto link = std::make_unique<CMidiTrans>();
    link->Device().SetBackend(keyboard.TakeProgramSide());
    link->EnumDevices();
    ASSERT_TRUE(link->Device().OpenPorts(0, 0));
    std::string name;
    EXPECT_FALSE(link->Connect(name));
    EXPECT_EQ(link->TransState(), kStateConnectWait);
    link.reset();
    std::this_thread::sleep_for(100ms);  // the reply comes and finds nobody
}

}  // namespace
}  // namespace korvana::test
