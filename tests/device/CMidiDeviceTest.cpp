// The port layer: enumeration, opening, chunked sending with acknowledgements, progress, waits.

#include <gtest/gtest.h>

#include <chrono>

#include "DeviceFixture.h"
#include "device/Frame.h"
#include "device/SysExChunks.h"

namespace korvana::test {
namespace {

using Clock = std::chrono::steady_clock;

Bytes LongFrame(std::size_t n) {
    Bytes frame(n, 0x11);
    frame.front() = kSysExStart;
    frame.back() = kSysExEnd;
    return frame;
}

class CMidiDeviceTest : public DeviceFixture {};

TEST_F(CMidiDeviceTest, EnumerationListsEachPortWithItsNumber) {
    m_pDevice->EnumDevices();
    ASSERT_EQ(m_pDevice->m_nInDevs, 1u);
    ASSERT_EQ(m_pDevice->m_nOutDevs, 1u);
    EXPECT_EQ(m_pDevice->m_InDevs[0].nId, 0u);
    EXPECT_EQ(m_pDevice->m_InDevs[0].strName, "Test in");
    EXPECT_EQ(m_pDevice->m_OutDevs[0].strName, "Test out");
    // Enumerating closes the pair.
    EXPECT_FALSE(m_pDevice->IsOpen());
}

TEST_F(CMidiDeviceTest, OpeningAnUnknownPairFailsAndLeavesIdle) {
    EXPECT_FALSE(m_pDevice->OpenPorts(0, 3));
    EXPECT_FALSE(m_pDevice->IsOpen());
    EXPECT_TRUE(m_link.IsIdle());
}

TEST_F(CMidiDeviceTest, LongFrameIsSentInAcknowledgedPiecesWithOneStepEach) {
    int steps = 0;
    m_pDevice->SetProgress([&] { ++steps; });
    m_pDevice->m_bProgressNotify = 1;
    EXPECT_TRUE(m_pDevice->SendFrame(LongFrame(2012)));
    m_pDevice->m_bProgressNotify = 0;
    EXPECT_EQ(m_pBackend->Sent().size(), 44u);
    EXPECT_EQ(steps, 44);
}

TEST_F(CMidiDeviceTest, NoProgressWithoutNotification) {
    int steps = 0;
    m_pDevice->SetProgress([&] { ++steps; });
    EXPECT_TRUE(m_pDevice->SendFrame(LongFrame(100)));
    EXPECT_EQ(steps, 0);
}

TEST_F(CMidiDeviceTest, MissingAcknowledgementStopsTheFrameAfterItsTimeOut) {
    m_pBackend->SetResponder(nullptr);
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_pDevice->SendFrame(LongFrame(100)));
    EXPECT_GE(Clock::now() - start, kChunkAckTimeout);
    EXPECT_EQ(m_pBackend->Sent().size(), 1u);
}

TEST_F(CMidiDeviceTest, ClosedPortSendsNothingAndSaysSo) {
    m_pDevice->ClosePorts();
    EXPECT_FALSE(m_pDevice->SendSysEx(MakeFrame(kCmdConnect, Bytes{0})));
    EXPECT_TRUE(m_pBackend->Sent().empty());
}

TEST_F(CMidiDeviceTest, SplitInputBuffersReachTheHandlerAsOneFrame) {
    const Bytes reply = MakeFrame(kCmdDelete, Bytes{kStatusOk});
    m_link.SetTransState(kStateDeleteWait);
    m_pBackend->Receive(Bytes(reply.begin(), reply.begin() + 5));
    m_pBackend->Receive(Bytes(reply.begin() + 5, reply.end()));
    m_link.WaitState(1000, kStateDeleted);
    EXPECT_EQ(m_link.TransState(), kStateDeleted);
}

TEST_F(CMidiDeviceTest, WaitRunsThePumpWhileWaiting) {
    int pumped = 0;
    m_pDevice->SetPump([&] { ++pumped; }, std::chrono::milliseconds(5));
    m_link.SetTransState(kStateDeleteWait);
    m_link.WaitState(60, kStateDeleted);
    // A loaded machine may pump only a few times; what matters is that it pumps at all, and at
    // its interval rather than in a spin.
    EXPECT_GE(pumped, 1);
    EXPECT_LE(pumped, 40);
}

TEST_F(CMidiDeviceTest, WaitEndsAsSoonAsTheStateIsFinal) {
    m_link.SetTransState(kStateHeaderWait);
    m_pBackend->Receive(MakeFrame(kCmdFile, Bytes{kStatusCapacity}));
    const Clock::time_point start = Clock::now();
    m_link.WaitState(5000, kStateHeaderAccepted);
    EXPECT_EQ(m_link.TransState(), kStateHeaderCapacity);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
}

TEST_F(CMidiDeviceTest, WaitWithoutReplyLastsTheWholeTimeOut) {
    m_link.SetTransState(kStateDeleteWait);
    const Clock::time_point start = Clock::now();
    m_link.WaitState(50, kStateDeleted);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_EQ(m_link.TransState(), kStateDeleteWait);
}

}  // namespace
}  // namespace korvana::test
