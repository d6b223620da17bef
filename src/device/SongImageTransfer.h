#pragma once

// Song images to and from the keyboard's slots: a send that can read the slot back to prove
// the image arrived intact, and a fetch into memory. Both run on the calling thread, like every
// device operation.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvana {

class CMidiTrans;

struct ImageSendResult {
    bool sent = false;  // the keyboard accepted the image (a verify may still have failed)
    // Why it failed, for the user: the keyboard's refusal ("Capacity is not allowed!" when it
    // gave that reason), or the verify's "verify failed at byte X" or "verify failed: length A,
    // sent B". Empty on success.
    std::string error;

    bool Ok() const { return error.empty(); }
};

// Sends a well-formed image into the slot; with verify, fetches the slot back afterwards and
// compares it byte for byte with what was sent. Messages of the device layer are collected into
// the result, not shown.
ImageSendResult SendSongImage(CMidiTrans& link, std::span<const std::uint8_t> image, int slot,
                              bool verify);

// The slot's image, or nothing when the keyboard does not hand it over whole.
std::optional<std::vector<std::uint8_t>> FetchSongImage(CMidiTrans& link, int slot);

// Reads the slot back after a send: nothing when it holds exactly the image, else "verify failed
// ..." as ReadBackDifference words it, or that the slot could not be read back.
std::optional<std::string> VerifySlot(CMidiTrans& link, std::span<const std::uint8_t> image,
                                      int slot);

// How a read-back differs from what was sent: "verify failed at byte X" for the first differing
// offset, "verify failed: length A, sent B" when the lengths differ; nothing when they match.
std::optional<std::string> ReadBackDifference(std::span<const std::uint8_t> sent,
                                              std::span<const std::uint8_t> readBack);

}  // namespace korvana
