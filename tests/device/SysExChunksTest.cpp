// How frames of 14, 46 and 100 bytes go out as System Exclusive messages.

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "device/Frame.h"
#include "device/SysExChunks.h"

namespace korvana {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A frame of n bytes whose inner bytes count up, so each piece can be recognised.
Bytes NumberedFrame(std::size_t n) {
    Bytes frame(n);
    std::iota(frame.begin(), frame.end(), std::uint8_t{0});
    for (auto& b : frame)
        b &= 0x7F;
    frame.front() = kSysExStart;
    frame.back() = kSysExEnd;
    return frame;
}

std::vector<Bytes> Messages(const Bytes& frame) {
    std::vector<Bytes> messages;
    for (auto piece : SplitFrame(frame)) {
        std::array<std::uint8_t, kMaxMessageSize> out{};
        const std::size_t length = CompleteSysEx(piece, out);
        messages.emplace_back(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(length));
    }
    return messages;
}

TEST(SysExChunks, ShortFramesGoOutUnchanged) {
    for (std::size_t n : {14u, 32u, 46u}) {
        const Bytes frame = NumberedFrame(n);
        const std::vector<Bytes> messages = Messages(frame);
        ASSERT_EQ(messages.size(), 1u) << n;
        EXPECT_EQ(messages[0], frame) << n;
    }
}

TEST(SysExChunks, HundredByteFrameIsThreeCompletedMessages) {
    const Bytes frame = NumberedFrame(100);
    const std::vector<Bytes> messages = Messages(frame);
    ASSERT_EQ(messages.size(), 3u);

    Bytes first(frame.begin(), frame.begin() + 47);
    first.push_back(kSysExEnd);
    Bytes middle = {kSysExStart};
    middle.insert(middle.end(), frame.begin() + 47, frame.begin() + 93);
    middle.push_back(kSysExEnd);
    Bytes last = {kSysExStart};
    last.insert(last.end(), frame.begin() + 93, frame.end());

    EXPECT_EQ(messages[0], first);
    EXPECT_EQ(messages[1], middle);
    EXPECT_EQ(messages[2], last);
    EXPECT_EQ(messages[2].size(), 8u);
}

TEST(SysExChunks, MessageCountFollowsFrameLength) {
    // 1 + ceil((n - 47) / 46) messages for n > 47; a 1000-byte file's data frame is 2012 bytes.
    for (auto [n, count] :
         std::vector<std::pair<std::size_t, std::size_t>>{{48, 2}, {93, 2}, {94, 3}, {2012, 44}}) {
        EXPECT_EQ(SplitFrame(NumberedFrame(n)).size(), count) << n;
        for (const Bytes& message : Messages(NumberedFrame(n))) {
            EXPECT_LE(message.size(), kMaxMessageSize);
            EXPECT_EQ(message.front(), kSysExStart);
            EXPECT_EQ(message.back(), kSysExEnd);
        }
    }
}

TEST(SysExChunks, LastPieceOfFortySixBytesGetsOnlyAStartByte) {
    const Bytes frame = NumberedFrame(47 + 46);
    const std::vector<Bytes> messages = Messages(frame);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].size(), 47u);
}

TEST(SysExChunks, PieceTooLongForOneMessageIsRefused) {
    std::array<std::uint8_t, kMaxMessageSize> out{};
    EXPECT_EQ(CompleteSysEx(NumberedFrame(48), out), 0u);
    EXPECT_EQ(CompleteSysEx(Bytes{}, out), 0u);
}

}  // namespace
}  // namespace korvana
