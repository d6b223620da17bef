#pragma once

// Which of the keyboard's seven parts each MIDI channel of a song goes to when the song is
// repaired, by the user's own choices (korvana-cli fix --map) and a fixed default order.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ControlListEntry.h"

namespace korvana {

constexpr int kChannelCount = 16;
// A channel's place in a map or a placement: a part 0 to 6 (DRUM ... CHORD4), or dropped.
constexpr int kDropChannel = -1;

// The user's choices by zero-based channel; channels without one are placed by the default order.
using ChannelChoices = std::array<std::optional<int>, kChannelCount>;

// Reads "CH=PART[,CH=PART...]": CH 1 to 16, PART one of DRUM, PERCUSSION, BASS, CHORD1 to CHORD4
// (any case), a channel 10 to 16, or "drop". Nothing, with the reason in error, for a text that
// does not say that, names a channel twice or puts two channels on one part.
std::optional<ChannelChoices> ParseChannelChoices(std::string_view text, std::string& error);

// "BASS (channel 12)" for part 2.
std::string PartText(int part);

// What a song plays on one channel, for placing it.
struct ChannelUse {
    int events = 0;          // channel events of any kind
    int notes = 0;           // note-ons with a velocity
    long long pitchSum = 0;  // of those notes' keys
    bool drumLike = false;   // selects a drum kit bank (bank select 120 or 127)
};

struct ChannelPlacement {
    // Per zero-based channel: the part it goes to, or kDropChannel (also for unused channels).
    std::array<int, kChannelCount> part{};
    std::vector<std::string> changes;  // one line per moved or dropped channel
};

// The user's choices first; then, when more than seven channels carry notes, those with the
// fewest notes are dropped. Channels 10 to 16 keep their own part unless a choice took it. The
// others go, in this order: drum-like ones to DRUM, then PERCUSSION; the lowest average pitch to
// BASS; the rest by note count, most first, to CHORD1 to CHORD4, then to any part still free.
// Channels without notes keep their own part when it is 10 to 16 and still free, else are dropped.
ChannelPlacement PlaceChannels(const std::array<ChannelUse, kChannelCount>& use,
                               const ChannelChoices& choices);

}  // namespace korvana
