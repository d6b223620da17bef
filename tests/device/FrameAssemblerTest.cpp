// Joining received buffers into frames.

#include <gtest/gtest.h>

#include <vector>

#include "device/Frame.h"
#include "device/FrameAssembler.h"

namespace korvana {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Collector {
    std::vector<Bytes> frames;
    FrameAssembler::FrameHandler Handler() {
        return [this](std::span<const std::uint8_t> frame) {
            frames.emplace_back(frame.begin(), frame.end());
        };
    }
};

Bytes Reply() {
    const Bytes payload = {0, 0, 3, 'A', 'B', 'C'};
    return MakeFrame(kCmdConnect, payload);
}

TEST(FrameAssembler, WholeBufferIsOneFrame) {
    FrameAssembler assembler;
    Collector collector;
    assembler.Feed(Reply(), collector.Handler());
    ASSERT_EQ(collector.frames.size(), 1u);
    EXPECT_EQ(collector.frames[0], Reply());
    EXPECT_EQ(assembler.Fill(), 0u);
}

TEST(FrameAssembler, SplitBuffersAreJoinedAtEveryCut) {
    const Bytes frame = Reply();
    for (std::size_t cut = 1; cut < frame.size(); ++cut) {
        FrameAssembler assembler;
        Collector collector;
        assembler.Feed(std::span(frame).first(cut), collector.Handler());
        EXPECT_TRUE(collector.frames.empty()) << cut;
        assembler.Feed(std::span(frame).subspan(cut), collector.Handler());
        ASSERT_EQ(collector.frames.size(), 1u) << cut;
        EXPECT_EQ(collector.frames[0], frame) << cut;
    }
}

TEST(FrameAssembler, ByteByByteDeliveryGivesOneFrame) {
    const Bytes frame = Reply();
    FrameAssembler assembler;
    Collector collector;
    for (std::uint8_t b : frame)
        assembler.Feed(std::span(&b, 1), collector.Handler());
    ASSERT_EQ(collector.frames.size(), 1u);
    EXPECT_EQ(collector.frames[0], frame);
}

TEST(FrameAssembler, EveryMessageEndingInF7IsAFrameOfItsOwn) {
    FrameAssembler assembler;
    Collector collector;
    assembler.Feed(MakeChunkAck(), collector.Handler());
    assembler.Feed(Reply(), collector.Handler());
    ASSERT_EQ(collector.frames.size(), 2u);
    EXPECT_EQ(collector.frames[0], MakeChunkAck());
}

TEST(FrameAssembler, OverlongInputIsDroppedAndAssemblyRecovers) {
    FrameAssembler assembler;
    Collector collector;
    Bytes start(1500, 0x01);
    start[0] = kSysExStart;
    assembler.Feed(start, collector.Handler());
    assembler.Feed(Bytes(600, 0x01), collector.Handler());  // would reach 2000 bytes
    EXPECT_EQ(assembler.Fill(), 0u);
    assembler.Feed(Reply(), collector.Handler());
    ASSERT_EQ(collector.frames.size(), 1u);
    EXPECT_EQ(collector.frames[0], Reply());
}

TEST(FrameAssembler, LargestFrameBelowTheBoundPasses) {
    FrameAssembler assembler;
    Collector collector;
    Bytes frame(FrameAssembler::kCapacity - 1, 0x01);
    frame.front() = kSysExStart;
    frame.back() = kSysExEnd;
    assembler.Feed(std::span(frame).first(1000), collector.Handler());
    assembler.Feed(std::span(frame).subspan(1000), collector.Handler());
    ASSERT_EQ(collector.frames.size(), 1u);
    EXPECT_EQ(collector.frames[0].size(), FrameAssembler::kCapacity - 1);
}

TEST(FrameAssembler, NewMessageDiscardsAnUnfinishedOne) {
    FrameAssembler assembler;
    Collector collector;
    const Bytes frame = Reply();
    assembler.Feed(std::span(frame).first(6), collector.Handler());
    assembler.Feed(frame, collector.Handler());
    ASSERT_EQ(collector.frames.size(), 1u);
    EXPECT_EQ(collector.frames[0], frame);
}

}  // namespace
}  // namespace korvana
