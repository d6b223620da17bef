// The simulated keyboard on its own: requests in, replies out, no program in between.

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "SongImage.h"
#include "device/Frame.h"
#include "device/SysExChunks.h"
#include "simulator/KeyboardSimulator.h"

namespace korvana::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class KeyboardSimulatorTest : public ::testing::Test {
protected:
    KeyboardSimulatorTest()
        : m_simulator(Options(), m_store, [this](std::span<const std::uint8_t> m) {
              if (IsChunkAck(m))
                  return;
              std::lock_guard lock(m_repliesMutex);
              m_replies.emplace_back(m.begin(), m.end());
              m_replied.notify_all();
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
    // Sends a frame as the program does, in messages of at most 48 bytes.
    static void SendFrame(KeyboardSimulator& simulator, const Bytes& frame) {
        for (std::span<const std::uint8_t> piece : SplitFrame(frame)) {
            std::array<std::uint8_t, kMaxMessageSize> message{};
            simulator.OnBuffer(std::span(message.data(), CompleteSysEx(piece, message)));
        }
    }
    static Bytes Header(std::uint8_t slot, std::uint32_t size) {
        Bytes payload = {slot, 0};
        AppendLe32(payload, size);
        AppendLe32(payload, 1);
        return MakeFrame(kCmdFile, payload);
    }
    static Bytes DataFrame(const Bytes& image) {
        Bytes frame = MakeFrame(kCmdFile, image);
        StoreSum(frame, DataSum(image));
        return frame;
    }
    std::size_t ReplyCount() {
        std::lock_guard lock(m_repliesMutex);
        return m_replies.size();
    }
    // Waits up to a few seconds for the replies to number count.
    bool WaitForReplies(std::size_t count) {
        std::unique_lock lock(m_repliesMutex);
        return m_replied.wait_for(lock, std::chrono::seconds(5),
                                  [&] { return m_replies.size() >= count; });
    }
    // The unpacked payload of the last reply.
    Bytes LastPayload() {
        std::lock_guard lock(m_repliesMutex);
        const Bytes& frame = m_replies.back();
        Bytes payload((frame.size() - kFrameOverhead) / 2);
        UnpackPayload(frame, payload);
        return payload;
    }

    SlotStore m_store{4, std::nullopt};
    std::mutex m_repliesMutex;  // the store thread replies too
    std::condition_variable m_replied;
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

TEST_F(KeyboardSimulatorTest, SlowStoreAnswersOnceStoredWhileTheInputThreadGoesOn) {
    SimulatorFaults faults;
    faults.storeDelay = std::chrono::milliseconds(1000);
    m_simulator.SetFaults(faults);
    const Bytes image = SongImage(700, 3);
    SendFrame(m_simulator, Header(3, static_cast<std::uint32_t>(image.size())));
    SendFrame(m_simulator, DataFrame(image));
    ASSERT_EQ(ReplyCount(), 1u);  // the header's; the data's waits for the store
    // Requests are answered while the song is stored; those that change slots are refused.
    Request(kCmdConnect, 0);
    EXPECT_EQ(LastPayload()[0], kStatusOk);
    Request(kCmdDelete, 0);
    EXPECT_EQ(LastPayload(), Bytes{kStatusRefused});
    ASSERT_TRUE(WaitForReplies(4));
    EXPECT_EQ(LastPayload(), Bytes{kStatusOk});
    ASSERT_NE(m_store.Get(3), nullptr);
    EXPECT_EQ(*m_store.Get(3), image);
}

TEST_F(KeyboardSimulatorTest, DataFrameLateAfterItsHeaderIsRefused) {
    SimulatorOptions options = Options();
    options.dataFollowsHeaderWithin = std::chrono::milliseconds(50);
    KeyboardSimulator simulator(options, m_store, [this](std::span<const std::uint8_t> m) {
        if (!IsChunkAck(m))
            m_replies.emplace_back(m.begin(), m.end());
    });
    const Bytes image = SongImage(300);
    SendFrame(simulator, Header(2, static_cast<std::uint32_t>(image.size())));
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    SendFrame(simulator, DataFrame(image));
    ASSERT_EQ(ReplyCount(), 2u);
    EXPECT_EQ(LastPayload(), Bytes{kStatusRefused});
    EXPECT_EQ(m_store.Get(2), nullptr);
}

TEST_F(KeyboardSimulatorTest, PiecesThatNeverEndAFrameAreDroppedPastTheLongestFrame) {
    Bytes piece(kMaxMessageSize, 0x11);
    piece.front() = kSysExStart;
    piece.back() = kSysExEnd;
    std::size_t largest = 0;
    for (std::size_t i = 0; i < kMaxFrameSize / (kMaxMessageSize - 2) + 10; ++i) {
        m_simulator.OnBuffer(piece);
        largest = std::max(largest, m_simulator.PendingFrameBytes());
    }
    EXPECT_GT(largest, kMaxFrameSize - kMaxMessageSize);
    EXPECT_LE(largest, kMaxFrameSize);
    Request(kCmdConnect, 0);
    ASSERT_EQ(ReplyCount(), 1u);
    EXPECT_EQ(LastPayload()[0], kStatusOk);
}

}  // namespace
}  // namespace korvana::test
