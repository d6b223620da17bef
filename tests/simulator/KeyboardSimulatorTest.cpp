// The simulated keyboard on its own: requests in, replies out, no program in between.

#include <gtest/gtest.h>

#include <thread>

#include "Frame.h"
#include "KeyboardSimulator.h"
#include "SongImage.h"

namespace korvana::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class KeyboardSimulatorTest : public ::testing::Test {
protected:
    KeyboardSimulatorTest()
        : m_simulator(Options(), m_store, [this](std::span<const std::uint8_t> m) {
              if (!IsChunkAck(m))
                  m_replies.emplace_back(m.begin(), m.end());
          }) {
        m_store.Put(0, SongImage(600 - 82));
    }
    static SimulatorOptions Options() {
        SimulatorOptions options;
        options.slotCount = 4;
        options.readAbandonedAfter = std::chrono::milliseconds(50);
        return options;
    }
    void Request(std::uint8_t command, std::uint8_t value) {
        m_simulator.OnBuffer(MakeFrame(command, Bytes{value}));
    }
    // The unpacked payload of the last reply.
    Bytes LastPayload() {
        const Bytes& frame = m_replies.back();
        Bytes payload((frame.size() - kFrameOverhead) / 2);
        UnpackPayload(frame, payload);
        return payload;
    }

    SlotStore m_store{4, std::nullopt};
    std::vector<Bytes> m_replies;
    KeyboardSimulator m_simulator;
};

TEST_F(KeyboardSimulatorTest, ReadOfSlotZeroServesBlocksThenEnds) {
    Request(kCmdRead, 0);
    EXPECT_EQ(LastPayload()[0], kStatusOk);
    EXPECT_EQ(ReadLe32(LastPayload(), 1), 600u);
    EXPECT_EQ(ReadLe32(LastPayload(), 5), 3u);
    for (std::uint32_t block = 0; block < 3; ++block) {
        Request(kCmdRead, 0);
        EXPECT_EQ(ReadLe32(LastPayload(), 0), block);
    }
    EXPECT_EQ(ReadLe16(LastPayload(), 4), 600 - 512);
    const std::size_t replies = m_replies.size();
    Request(kCmdRead, 0);  // the end frame
    EXPECT_EQ(m_replies.size(), replies);
    Request(kCmdRead, 0);  // a new read of slot 0
    EXPECT_EQ(LastPayload().size(), 9u);
}

TEST_F(KeyboardSimulatorTest, AbandonedReadIsOverAfterAPause) {
    Request(kCmdRead, 0);
    Request(kCmdRead, 0);
    EXPECT_EQ(LastPayload().size(), 6u + 256u);  // block 0
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    Request(kCmdRead, 0);
    EXPECT_EQ(LastPayload().size(), 9u);  // a read reply, not block 1
}

TEST_F(KeyboardSimulatorTest, EveryMessageIsAcknowledgedFirst) {
    std::vector<Bytes> all;
    KeyboardSimulator simulator(Options(), m_store, [&](std::span<const std::uint8_t> m) {
        all.emplace_back(m.begin(), m.end());
    });
    simulator.OnBuffer(MakeFrame(kCmdDelete, Bytes{9}));
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], MakeChunkAck());
    EXPECT_EQ(all[1], MakeFrame(kCmdDelete, Bytes{kStatusRefused}));
}

TEST_F(KeyboardSimulatorTest, BadChecksumIsAnsweredWithTheErrorReply) {
    Bytes frame = MakeFrame(kCmdConnect, Bytes{0});
    StoreSum(frame, 0x00);
    m_simulator.OnBuffer(frame);
    ASSERT_EQ(m_replies.size(), 1u);
    EXPECT_EQ(m_replies[0], MakeFrame(kCmdConnect, Bytes{kStatusError}));
}

}  // namespace
}  // namespace korvana::test
