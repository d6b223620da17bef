// Every state transition of the frame handler, and what it answers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceFixture.h"
#include "device/Frame.h"

namespace korvana::test {
namespace {

struct Transition {
    const char* what;
    int from;
    std::uint8_t command;
    Bytes payload;
    int to;
};

class OnFrameTest : public DeviceFixture {
protected:
    void Handle(const Bytes& frame) {
        m_link.OnFrame(frame.data(), static_cast<int>(frame.size()));
    }
};

TEST_F(OnFrameTest, StateTable) {
    const std::vector<Transition> table = {
        {"connect accepted", kStateConnectWait, kCmdConnect, {0, 0, 2, 'K', 'V'}, kStateConnected},
        {"connect status 2", kStateConnectWait, kCmdConnect, {2}, kStateConnectRefused},
        {"connect other status", kStateConnectWait, kCmdConnect, {5}, kStateConnectFailed},
        {"connect wrong command", kStateConnectWait, kCmdDirectory, {0, 0, 0}, kStateIdle},
        {"directory end", kStateDirectoryWait, kCmdDirectory, {1}, kStateDirectoryDone},
        {"directory entry out of order",
         kStateDirectoryWait,
         kCmdDirectory,
         {0, 1, 0},
         kStateDirectoryOutOfOrder},
        {"directory unknown first byte",
         kStateDirectoryWait,
         kCmdDirectory,
         {7},
         kStateDirectoryWait},
        {"directory wrong command", kStateDirectoryWait, kCmdFile, {1}, kStateIdle},
        {"header accepted", kStateHeaderWait, kCmdFile, {0}, kStateHeaderAccepted},
        {"header capacity", kStateHeaderWait, kCmdFile, {6}, kStateHeaderCapacity},
        {"header status 2", kStateHeaderWait, kCmdFile, {2}, kStateHeaderRefused},
        {"header other status", kStateHeaderWait, kCmdFile, {9}, kStateHeaderFailed},
        {"header wrong command", kStateHeaderWait, kCmdRead, {0}, kStateIdle},
        {"data accepted", kStateDataWait, kCmdFile, {0}, kStateDataAccepted},
        {"data status 2", kStateDataWait, kCmdFile, {2}, kStateDataRefused},
        {"data other status", kStateDataWait, kCmdFile, {6}, kStateDataFailed},
        {"data wrong command", kStateDataWait, kCmdConnect, {0}, kStateIdle},
        {"read accepted",
         kStateReadWait,
         kCmdRead,
         {0, 1, 0, 0, 0, 1, 0, 0, 0},
         kStateReadAccepted},
        {"read status 2", kStateReadWait, kCmdRead, {2}, kStateReadRefused},
        {"read other status", kStateReadWait, kCmdRead, {3}, kStateReadFailed},
        {"read wrong command", kStateReadWait, kCmdDelete, {0}, kStateIdle},
        {"block of any status", kStateBlockWait, kCmdRead, {9, 0, 0, 0, 0, 0}, kStateBlockReceived},
        {"block wrong command", kStateBlockWait, kCmdFile, {0}, kStateIdle},
        {"delete accepted", kStateDeleteWait, kCmdDelete, {0}, kStateDeleted},
        {"delete status 2", kStateDeleteWait, kCmdDelete, {2}, kStateDeleteRefused},
        {"delete other status", kStateDeleteWait, kCmdDelete, {1}, kStateDeleteFailed},
        {"delete wrong command", kStateDeleteWait, kCmdRead, {0}, kStateIdle},
        {"idle ignores replies", kStateIdle, kCmdConnect, {0, 0, 0}, kStateIdle},
        {"result codes are final", kStateConnected, kCmdConnect, {2}, kStateConnected},
        {"block result is final", kStateBlockReceived, kCmdRead, {0}, kStateBlockReceived},
        {"reply without payload refuses", kStateHeaderWait, kCmdFile, {}, kStateHeaderFailed},
    };
    for (const Transition& t : table) {
        m_link.SetTransState(t.from);
        Handle(MakeFrame(t.command, t.payload));
        EXPECT_EQ(m_link.TransState(), t.to) << t.what;
    }
}

TEST_F(OnFrameTest, ConnectReplyFillsTheDeviceName) {
    m_link.SetTransState(kStateConnectWait);
    Handle(MakeFrame(kCmdConnect, Bytes{0, 0x55, 3, 'K', 'b', 'd'}));
    EXPECT_EQ(m_link.TransState(), kStateConnected);
    EXPECT_EQ(m_link.DeviceName(), "Kbd");
}

TEST_F(OnFrameTest, OverlongNamesAreCutAndStayTerminated) {
    Bytes payload = {0, 0, 200};
    payload.insert(payload.end(), 200, 'x');
    m_link.SetTransState(kStateConnectWait);
    Handle(MakeFrame(kCmdConnect, payload));
    EXPECT_EQ(m_link.DeviceName(), std::string(99, 'x'));

    payload[1] = 0;  // a directory entry with index 0 and the same long name
    m_link.SetTransState(kStateDirectoryWait);
    Handle(MakeFrame(kCmdDirectory, payload));
    EXPECT_EQ(m_link.SlotNames(), std::vector<std::string>{std::string(99, 'x')});
}

TEST_F(OnFrameTest, NameLongerThanItsFrameTakesOnlyWhatCame) {
    m_link.SetTransState(kStateConnectWait);
    Handle(MakeFrame(kCmdConnect, Bytes{0, 0, 50, 'A', 'B'}));
    EXPECT_EQ(m_link.DeviceName(), "AB");
}

TEST_F(OnFrameTest, DirectoryEntriesAreListedAndAcknowledgedInOrder) {
    m_link.SetTransState(kStateDirectoryWait);
    Handle(MakeFrame(kCmdDirectory, Bytes{0, 0, 0}));
    Handle(MakeFrame(kCmdDirectory, Bytes{0, 1, 4, 'S', 'o', 'n', 'g'}));
    EXPECT_EQ(m_link.TransState(), kStateDirectoryWait);
    EXPECT_EQ(m_link.SlotNames(), (std::vector<std::string>{"Empty", "Song"}));
    const Bytes ok = {kStatusOk};
    const std::vector<Bytes> sent = m_pBackend->Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], MakeFrame(kCmdDirectory, ok));
    EXPECT_EQ(sent[1], MakeFrame(kCmdDirectory, ok));
}

TEST_F(OnFrameTest, BadChecksumIsAnsweredWithErrorReplyAndChangesNothing) {
    m_link.SetTransState(kStateDeleteWait);
    Bytes frame = MakeFrame(kCmdDelete, Bytes{0});
    StoreSum(frame, static_cast<std::uint8_t>(CarriedSum(frame) + 1));
    Handle(frame);
    EXPECT_EQ(m_link.TransState(), kStateDeleteWait);
    const std::vector<Bytes> sent = m_pBackend->Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], MakeFrame(kCmdDelete, Bytes{kStatusError}));
}

TEST_F(OnFrameTest, WrongHeaderIsDroppedSilently) {
    m_link.SetTransState(kStateDeleteWait);
    Bytes frame = MakeFrame(kCmdDelete, Bytes{0});
    frame[2] = 0x3D;
    Handle(frame);
    EXPECT_EQ(m_link.TransState(), kStateDeleteWait);
    EXPECT_TRUE(m_pBackend->Sent().empty());
}

TEST_F(OnFrameTest, AcknowledgementSetsTheFlagInAnyState) {
    for (int state : {kStateIdle, kStateDataWait, kStateBlockReceived}) {
        m_link.SetTransState(state);
        m_pDevice->m_bChunkAck = 0;
        Handle(MakeChunkAck());
        EXPECT_EQ(m_pDevice->m_bChunkAck.load(), 1);
        EXPECT_EQ(m_link.TransState(), state);
    }
}

TEST_F(OnFrameTest, ReadReplyPayloadIsPublishedWithItsState) {
    m_link.SetTransState(kStateReadWait);
    Bytes payload = {0};
    AppendLe32(payload, 4600);
    AppendLe32(payload, 18);
    Handle(MakeFrame(kCmdRead, payload));
    ASSERT_EQ(m_link.TransState(), kStateReadAccepted);
    ASSERT_EQ(m_link.Payload().size(), 9u);
    EXPECT_EQ(ReadLe32(m_link.Payload(), 1), 4600u);
    EXPECT_EQ(ReadLe32(m_link.Payload(), 5), 18u);
}

}  // namespace
}  // namespace korvana::test
