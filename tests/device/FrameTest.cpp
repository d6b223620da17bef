// Frames byte for byte, packing, checksums.

#include <gtest/gtest.h>

#include <vector>

#include "device/Frame.h"

namespace korvana {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Request(std::uint8_t command, std::uint8_t value) {
    return MakeFrame(command, std::span(&value, 1));
}

TEST(Frame, ShortRequestsAreTheKnownFourteenBytes) {
    EXPECT_EQ(Request(kCmdConnect, 0), (Bytes{0xF0, 0x00, 0x3C, 0x61, 0x55, 0x52, 0x53, 0x57, 0x00,
                                              0x00, 0x00, 0x6E, 0x01, 0xF7}));
    EXPECT_EQ(Request(kCmdDirectory, 1), (Bytes{0xF0, 0x00, 0x3C, 0x61, 0x55, 0x52, 0x53, 0x57,
                                                0x12, 0x01, 0x00, 0x01, 0x00, 0xF7}));
    EXPECT_EQ(Request(kCmdDelete, 200), (Bytes{0xF0, 0x00, 0x3C, 0x61, 0x55, 0x52, 0x53, 0x57, 0x15,
                                               0x48, 0x01, 0x4C, 0x00, 0xF7}));
}

TEST(Frame, ConnectChecksumIs0xEE) {
    EXPECT_EQ(CarriedSum(Request(kCmdConnect, 0)), 0xEE);
    EXPECT_EQ(FrameSum(Request(kCmdConnect, 0)), 0xEE);
}

TEST(Frame, FileHeaderForSlot3Of4000Bytes) {
    Bytes payload = {3, 0};
    AppendLe32(payload, 4000);
    AppendLe32(payload, 1);
    EXPECT_EQ(payload, (Bytes{0x03, 0x00, 0xA0, 0x0F, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}));
    const Bytes frame = MakeFrame(kCmdFile, payload);
    ASSERT_EQ(frame.size(), 32u);
    // 0xA0 packs as 0x20 0x01.
    EXPECT_EQ(frame[13], 0x20);
    EXPECT_EQ(frame[14], 0x01);
    EXPECT_EQ(frame.back(), 0xF7);
}

TEST(Frame, PackingSplitsEachByteIntoLowSevenBitsAndTopBit) {
    const Bytes bytes = {0x00, 0x7F, 0x80, 0xFF, 0x85};
    Bytes packed(2 * bytes.size());
    PackPayload(bytes, packed);
    EXPECT_EQ(packed, (Bytes{0x00, 0x00, 0x7F, 0x00, 0x00, 0x01, 0x7F, 0x01, 0x05, 0x01}));
}

TEST(Frame, UnpackingRestoresEveryByteValue) {
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    const Bytes frame = MakeFrame(kCmdFile, all);
    Bytes out(256);
    EXPECT_EQ(UnpackPayload(frame, out), 256u);
    EXPECT_EQ(out, all);
}

TEST(Frame, ThirteenByteFrameHasNoPayload) {
    Bytes frame(13, 0);
    frame[kCommandOffset] = kCmdConnect;
    BuildFrame(frame);
    Bytes out(8);
    EXPECT_EQ(UnpackPayload(frame, out), 0u);
}

TEST(Frame, CarriedChecksumJoinsHighBit) {
    Bytes frame = Request(kCmdConnect, 0);
    frame[11] = 0x05;
    frame[12] = 0x01;
    EXPECT_EQ(CarriedSum(frame), 0x85);
    StoreSum(frame, 0xEE);
    EXPECT_EQ(frame[11], 0x6E);
    EXPECT_EQ(frame[12], 0x01);
}

TEST(Frame, DataSumIsModulo256) {
    EXPECT_EQ(DataSum(Bytes{0xFF, 0x02}), 0x01);
    EXPECT_EQ(DataSum(Bytes{}), 0x00);
}

TEST(Frame, HeaderCheckNeedsSignatureEndByteAndRoom) {
    Bytes frame = Request(kCmdConnect, 0);
    EXPECT_TRUE(HasFrameHeader(frame));
    Bytes badSignature = frame;
    badSignature[5] = 0x00;
    EXPECT_FALSE(HasFrameHeader(badSignature));
    Bytes noEnd = frame;
    noEnd.back() = 0x00;
    EXPECT_FALSE(HasFrameHeader(noEnd));
    EXPECT_FALSE(HasFrameHeader(Bytes(frame.begin(), frame.begin() + 8)));
}

TEST(Frame, AcknowledgementIsKnownByLengthAndCommandAlone) {
    EXPECT_TRUE(IsChunkAck(MakeChunkAck()));
    Bytes garbledHeader(10, 0x11);
    garbledHeader[8] = 0x08;
    EXPECT_TRUE(IsChunkAck(garbledHeader));
    Bytes longer = MakeChunkAck();
    longer.insert(longer.begin() + 9, 0x00);
    EXPECT_FALSE(IsChunkAck(longer));
}

TEST(Frame, LittleEndianFields) {
    Bytes bytes;
    AppendLe32(bytes, 0x12345678);
    AppendLe16(bytes, 0xBEEF);
    EXPECT_EQ(bytes, (Bytes{0x78, 0x56, 0x34, 0x12, 0xEF, 0xBE}));
    EXPECT_EQ(ReadLe32(bytes, 0), 0x12345678u);
    EXPECT_EQ(ReadLe16(bytes, 4), 0xBEEF);
}

}  // namespace
}  // namespace korvana
