// Whole operations against the in-process simulated keyboard.

#include <gtest/gtest.h>

#include <chrono>

#include "SimulatorFixture.h"
#include "SongImage.h"
#include "common/SafeFile.h"
#include "device/Frame.h"

namespace korvana::test {
namespace {

using Clock = std::chrono::steady_clock;
using Names = std::vector<std::string>;

class TransfersTest : public SimulatorFixture {
protected:
    Names Directory() {
        Names names;
        EXPECT_TRUE(m_link.ReadDirectory(names));
        return names;
    }
    TempFolder m_folder;
};

TEST_F(TransfersTest, FreshKeyboardListsEverySlotEmpty) {
    EXPECT_EQ(Directory(), Names(16, "Empty"));
}

TEST_F(TransfersTest, SendListFetchDelete) {
    const auto image = SongImage(4000);
    int steps = 0;
    m_pDevice->SetProgress([&] { ++steps; });
    m_pDevice->m_bProgressNotify = 1;
    ASSERT_TRUE(m_link.SendFile(image, 3, 500));
    m_pDevice->m_bProgressNotify = 0;
    // 1 header message, then the data frame of 2 × 4084 + 12 bytes.
    EXPECT_EQ(steps, 1 + 1 + (2 * 4084 + 12 - 47 + 45) / 46);

    Names expected(16, "Empty");
    expected[3] = SlotStore::NameOf(image);
    EXPECT_EQ(Directory(), expected);

    const auto target = m_folder.Path() / "slot3.bin";
    ASSERT_TRUE(m_link.ReceiveFile(target, 3, 200));
    EXPECT_EQ(ReadWholeFile(target), image);

    ASSERT_TRUE(m_link.DeleteSlot(3));
    EXPECT_EQ(Directory(), Names(16, "Empty"));
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(TransfersTest, SlotZeroCanBeFetchedAgainAndAgain) {
    // Its read request has the bytes of a "next block" request.
    const auto image = SongImage(700, 5);
    ASSERT_TRUE(m_link.SendFile(image, 0, 500));
    for (int round = 0; round < 2; ++round) {
        const auto target = m_folder.Path() / ("zero" + std::to_string(round));
        ASSERT_TRUE(m_link.ReceiveFile(target, 0, 200)) << round;
        EXPECT_EQ(ReadWholeFile(target), image) << round;
    }
}

TEST_F(TransfersTest, DeletingSlotTwoAfterAnotherDeleteIsARequest) {
    // (0x15, 2) is also the error reply to a corrupted delete reply; none was sent here.
    ASSERT_TRUE(m_link.SendFile(SongImage(200, 1), 1, 500));
    ASSERT_TRUE(m_link.SendFile(SongImage(200, 2), 2, 500));
    ASSERT_TRUE(m_link.DeleteSlot(1));
    ASSERT_TRUE(m_link.DeleteSlot(2));
    EXPECT_EQ(Directory(), Names(16, "Empty"));
}

TEST_F(TransfersTest, EmptySlotCannotBeFetched) {
    const auto target = m_folder.Path() / "none";
    EXPECT_FALSE(m_link.ReceiveFile(target, 5, 200));
    EXPECT_EQ(m_link.TransState(), kStateReadFailed);
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(TransfersTest, MalformedSongIsRefusedAndNothingStored) {
    auto image = SongImage(300);
    image[83] = 0x00;  // pattern data must start with FF FF
    EXPECT_FALSE(m_link.SendFile(image, 0, 500));
    EXPECT_EQ(m_link.TransState(), kStateDataFailed);
    image = SongImage(300);
    image[80] = 0x01;  // size field disagrees with the pattern data
    EXPECT_FALSE(m_link.SendFile(image, 0, 500));
    EXPECT_FALSE(m_link.SendFile(std::vector<std::uint8_t>(50, 0xFF), 0, 500));
    EXPECT_EQ(m_link.TransState(), kStateHeaderFailed);
    EXPECT_EQ(Directory(), Names(16, "Empty"));
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(TransfersTest, CapacityRefusalIsShownWithoutSittingOutTheTimeOut) {
    Attach({.name = "Small", .slotCount = 4, .capacity = 3000});
    ASSERT_TRUE(m_link.SendFile(SongImage(2000), 0, 500));
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_link.SendFile(SongImage(2000, 2), 1, 500));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(400));
    EXPECT_EQ(m_prompt.m_texts, Names{"Capacity is not allowed!"});
    // Replacing the song in slot 0 frees its own room.
    EXPECT_TRUE(m_link.SendFile(SongImage(2500, 3), 0, 500));
}

TEST_F(TransfersTest, SlotOutsideTheKeyboardIsRefused) {
    EXPECT_FALSE(m_link.SendFile(SongImage(200), 16, 500));
    EXPECT_FALSE(m_link.DeleteSlot(40));
    EXPECT_EQ(m_link.TransState(), kStateDeleteFailed);
}

TEST_F(TransfersTest, SlotsSurviveARestartWithAStore) {
    TempFolder store;
    Attach({}, store.Path());
    const auto image = SongImage(900, 9);
    ASSERT_TRUE(m_link.SendFile(image, 7, 500));
    Attach({}, store.Path());
    Names expected(16, "Empty");
    expected[7] = SlotStore::NameOf(image);
    EXPECT_EQ(Directory(), expected);
    ASSERT_TRUE(m_link.DeleteSlot(7));
    Attach({}, store.Path());
    EXPECT_EQ(Directory(), Names(16, "Empty"));
}

TEST_F(TransfersTest, BuffersSplitByTheDriverStillMakeWholeTransfers) {
    Attach({}, std::nullopt, 5);
    const auto image = SongImage(1500, 4);
    ASSERT_TRUE(m_link.SendFile(image, 2, 500));
    const auto target = m_folder.Path() / "split";
    ASSERT_TRUE(m_link.ReceiveFile(target, 2, 200));
    EXPECT_EQ(ReadWholeFile(target), image);
}

TEST_F(TransfersTest, LargestDirectoryIsReadInTime) {
    Attach({.name = "Big", .slotCount = 256});
    EXPECT_EQ(Directory().size(), 256u);
}

TEST_F(TransfersTest, SimulatedPairIsOfferedBesideTheRealPorts) {
    m_pDevice->SetBackend(WithSimulatedKeyboard(nullptr));
    m_pDevice->EnumDevices();
    ASSERT_EQ(m_pDevice->m_InDevs.size(), 1u);
    EXPECT_EQ(m_pDevice->m_InDevs[0].strName, kSimulatedPortName);
    EXPECT_EQ(m_pDevice->m_OutDevs[0].strName, kSimulatedPortName);
    std::string name;
    ASSERT_TRUE(m_link.ConnectDevice(0, name, 0));
    EXPECT_EQ(name, "Korvana Keyboard");
    EXPECT_EQ(Directory().size(), 16u);
}

TEST_F(TransfersTest, SimulatedPairFollowsTheRealPortsAndIsNeverMixedWithThem) {
    LoopbackCable real = MakeLoopbackCable("Real port", "far end");
    m_pDevice->SetBackend(WithSimulatedKeyboard(std::move(real.first)));
    m_pDevice->EnumDevices();
    ASSERT_EQ(m_pDevice->m_InDevs.size(), 2u);
    EXPECT_EQ(m_pDevice->m_InDevs[0].strName, "Real port");
    EXPECT_EQ(m_pDevice->m_OutDevs[1].strName, kSimulatedPortName);
    EXPECT_FALSE(m_pDevice->OpenPorts(0, 1));
    EXPECT_FALSE(m_pDevice->OpenPorts(1, 0));
    EXPECT_TRUE(m_pDevice->OpenPorts(0, 0));
    std::string name;
    ASSERT_TRUE(m_link.ConnectDevice(1, name, 1));
    EXPECT_EQ(name, "Korvana Keyboard");
}

}  // namespace
}  // namespace korvana::test
