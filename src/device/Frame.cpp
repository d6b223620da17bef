#include "device/Frame.h"

#include <algorithm>
#include <array>

namespace korvana {
namespace {

constexpr std::array<std::uint8_t, 8> kHeader = {0xF0, 0x00, 0x3C, 0x61, 0x55, 0x52, 0x53, 0x57};

}  // namespace

void PackPayload(std::span<const std::uint8_t> bytes, std::span<std::uint8_t> out) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[2 * i] = bytes[i] & 0x7F;
        out[2 * i + 1] = bytes[i] >> 7;
    }
}

std::size_t UnpackPayload(std::span<const std::uint8_t> frame, std::span<std::uint8_t> out) {
    if (frame.size() < kFrameOverhead)
        return 0;
    const std::size_t count = std::min((frame.size() - kFrameOverhead) / 2, out.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t low = frame[kPayloadOffset + 2 * i];
        const std::uint8_t high = frame[kPayloadOffset + 2 * i + 1];
        out[i] = static_cast<std::uint8_t>((high << 7) | low);
    }
    return count;
}

std::uint8_t FrameSum(std::span<const std::uint8_t> frame) {
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i + 3 < frame.size(); ++i)
        sum = static_cast<std::uint8_t>(sum + frame[i]);
    return sum;
}

std::uint8_t DataSum(std::span<const std::uint8_t> bytes) {
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes)
        sum = static_cast<std::uint8_t>(sum + b);
    return sum;
}

std::uint8_t CarriedSum(std::span<const std::uint8_t> frame) {
    const std::size_t n = frame.size();
    return static_cast<std::uint8_t>(frame[n - 3] | (frame[n - 2] << 7));
}

void StoreSum(std::span<std::uint8_t> frame, std::uint8_t sum) {
    const std::size_t n = frame.size();
    frame[n - 3] = sum & 0x7F;
    frame[n - 2] = sum >> 7;
}

void BuildFrame(std::span<std::uint8_t> frame) {
    std::copy(kHeader.begin(), kHeader.end(), frame.begin());
    frame[frame.size() - 1] = kSysExEnd;
    StoreSum(frame, FrameSum(frame));
}

bool HasFrameStart(std::span<const std::uint8_t> message) {
    return message.size() >= kHeader.size() &&
           std::equal(kHeader.begin(), kHeader.end(), message.begin());
}

bool HasFrameHeader(std::span<const std::uint8_t> frame) {
    return frame.size() >= kFrameOverhead && HasFrameStart(frame) && frame.back() == kSysExEnd;
}

bool IsChunkAck(std::span<const std::uint8_t> message) {
    return message.size() == kAckLength && message[kCommandOffset] == kCmdAck;
}

std::vector<std::uint8_t> MakeFrame(std::uint8_t command, std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> frame(kFrameOverhead + 2 * payload.size(), 0);
    frame[kCommandOffset] = command;
    PackPayload(payload, std::span(frame).subspan(kPayloadOffset, 2 * payload.size()));
    BuildFrame(frame);
    return frame;
}

std::vector<std::uint8_t> MakeChunkAck() {
    std::vector<std::uint8_t> ack(kHeader.begin(), kHeader.end());
    ack.push_back(kCmdAck);
    ack.push_back(kSysExEnd);
    return ack;
}

std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

void AppendLe32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendLe16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace korvana
