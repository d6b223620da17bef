#pragma once

// The keyboard's System Exclusive frame: header, command, payload packed into 7-bit pairs,
// checksum and end byte. Shared by the program's side and the simulated keyboard.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvana {

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;
constexpr std::size_t kFrameOverhead = 12;  // header 8, command 1, checksum 2, end 1
constexpr std::size_t kCommandOffset = 8;
constexpr std::size_t kPayloadOffset = 9;
constexpr std::size_t kAckLength = 10;

enum : std::uint8_t {
    kCmdConnect = 0x00,
    kCmdAck = 0x08,
    kCmdDirectory = 0x12,
    kCmdFile = 0x13,
    kCmdRead = 0x14,
    kCmdDelete = 0x15,
};

enum : std::uint8_t {
    kStatusOk = 0,
    kStatusEndOfDirectory = 1,
    kStatusError = 2,
    kStatusCapacity = 6,
};

// Writes each byte as (b AND 0x7F, b >> 7) from out[0] on; out holds 2 × bytes.size().
void PackPayload(std::span<const std::uint8_t> bytes, std::span<std::uint8_t> out);

// Reads (n − 12) / 2 payload bytes of a frame; out must hold that many.
std::size_t UnpackPayload(std::span<const std::uint8_t> frame, std::span<std::uint8_t> out);

// Sum of bytes 1 to n − 4 modulo 256: everything after 0xF0 up to the last packed payload byte.
std::uint8_t FrameSum(std::span<const std::uint8_t> frame);

// Sum of unpacked bytes modulo 256: what the file data frame carries as its checksum.
std::uint8_t DataSum(std::span<const std::uint8_t> bytes);

// The checksum a frame carries: (byte n − 3) OR (byte n − 2 << 7), kept to 8 bits.
std::uint8_t CarriedSum(std::span<const std::uint8_t> frame);

// Stores a checksum into bytes n − 3 and n − 2.
void StoreSum(std::span<std::uint8_t> frame, std::uint8_t sum);

// Completes a frame whose command and packed payload are in place: header, checksum, end byte.
void BuildFrame(std::span<std::uint8_t> frame);

// Whether a message is long enough for a frame, bytes 0 to 7 are the frame header and the last
// byte ends System Exclusive.
bool HasFrameHeader(std::span<const std::uint8_t> frame);

// Whether a message begins with the 8 header bytes of a frame.
bool HasFrameStart(std::span<const std::uint8_t> message);

// Whether a received message is the device's chunk acknowledgement (length and command only).
bool IsChunkAck(std::span<const std::uint8_t> message);

// A whole frame with the given command and payload.
std::vector<std::uint8_t> MakeFrame(std::uint8_t command, std::span<const std::uint8_t> payload);

// The 10-byte acknowledgement a device sends for every message it receives.
std::vector<std::uint8_t> MakeChunkAck();

// Little-endian helpers for payload fields.
std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t offset);
void AppendLe32(std::vector<std::uint8_t>& bytes, std::uint32_t value);
void AppendLe16(std::vector<std::uint8_t>& bytes, std::uint16_t value);

}  // namespace korvana
