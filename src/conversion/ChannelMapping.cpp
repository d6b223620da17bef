#include "conversion/ChannelMapping.h"

#include <algorithm>
#include <cctype>

#include "conversion/TextFormat.h"

namespace korvana {
namespace {

constexpr const char* kPartNames[kPartCount] = {"DRUM",   "PERCUSSION", "BASS",  "CHORD1",
                                                "CHORD2", "CHORD3",     "CHORD4"};
constexpr int kDrum = 0;
constexpr int kPercussion = 1;
constexpr int kBass = 2;
// Where the rest go: the chord parts first, then whatever rhythm or bass part is still free.
constexpr int kFillOrder[kPartCount] = {3, 4, 5, 6, kDrum, kPercussion, kBass};

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return upper;
}

// A whole number from low to high written in plain digits, or nothing.
std::optional<int> Number(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 2 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char ch) { return std::isdigit(ch); }))
        return std::nullopt;
    const int value = std::stoi(std::string(text));
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> ParsePart(std::string_view text) {
    const std::string upper = Upper(text);
    if (upper == "DROP")
        return kDropChannel;
    for (int part = 0; part < kPartCount; ++part) {
        if (upper == kPartNames[part])
            return part;
    }
    if (const auto channel = Number(text, kFirstPartChannel + 1, kFirstPartChannel + kPartCount))
        return *channel - 1 - kFirstPartChannel;
    return std::nullopt;
}

}  // namespace

std::string PartText(int part) {
    return FormatText("%s (channel %d)", kPartNames[part], part + kFirstPartChannel + 1);
}

std::optional<ChannelChoices> ParseChannelChoices(std::string_view text, std::string& error) {
    ChannelChoices choices;
    std::array<int, kPartCount> chosenBy;
    chosenBy.fill(-1);
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t equals = item.find('=');
        const auto channel =
            equals == std::string_view::npos ? std::nullopt : Number(item.substr(0, equals), 1, 16);
        const auto part = channel ? ParsePart(item.substr(equals + 1)) : std::nullopt;
        if (!part) {
            error = "'" + std::string(item) +
                    "' is not CH=PART (CH 1 to 16; PART DRUM, PERCUSSION, BASS, CHORD1 to CHORD4, "
                    "10 to 16 or drop)";
            return std::nullopt;
        }
        const int index = *channel - 1;
        if (choices[index]) {
            error = FormatText("channel %d is named twice", *channel);
            return std::nullopt;
        }
        if (*part != kDropChannel) {
            if (chosenBy[*part] >= 0) {
                error = FormatText("channels %d and %d both go to %s; a part takes one channel",
                                   chosenBy[*part] + 1, *channel, kPartNames[*part]);
                return std::nullopt;
            }
            chosenBy[*part] = index;
        }
        choices[index] = *part;
        if (comma == std::string_view::npos)
            return choices;
        text.remove_prefix(comma + 1);
    }
}

ChannelPlacement PlaceChannels(const std::array<ChannelUse, kChannelCount>& use,
                               const ChannelChoices& choices) {
    ChannelPlacement placement;
    placement.part.fill(kDropChannel);
    std::array<bool, kPartCount> taken{};
    std::array<bool, kChannelCount> placed{};
    auto place = [&](int channel, int part, const char* reason) {
        placement.part[channel] = part;
        taken[part] = true;
        placed[channel] = true;
        if (part + kFirstPartChannel != channel)
            placement.changes.push_back(FormatText("Moved channel %d (%s) to %s%s.", channel + 1,
                                                   CountText(use[channel].notes, "note").c_str(),
                                                   PartText(part).c_str(), reason));
    };
    auto drop = [&](int channel, const std::string& line) {
        placed[channel] = true;
        placement.changes.push_back(line);
    };

    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (use[channel].events == 0 || !choices[channel])
            continue;
        if (*choices[channel] == kDropChannel)
            drop(channel, FormatText("Dropped channel %d (%s), as asked.", channel + 1,
                                     CountText(use[channel].notes, "note").c_str()));
        else
            place(channel, *choices[channel], ", as asked");
    }

    // Channels that play notes, most notes first; past the free parts, the fewest are dropped.
    std::vector<int> playing;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (!placed[channel] && use[channel].notes > 0)
            playing.push_back(channel);
    }
    std::stable_sort(playing.begin(), playing.end(),
                     [&](int a, int b) { return use[a].notes > use[b].notes; });
    const auto freeParts = static_cast<std::size_t>(std::count(taken.begin(), taken.end(), false));
    while (playing.size() > freeParts) {
        const int channel = playing.back();
        playing.pop_back();
        drop(channel, FormatText("Dropped channel %d (%s): more channels play notes than the "
                                 "keyboard has parts, and it has the fewest.",
                                 channel + 1, CountText(use[channel].notes, "note").c_str()));
    }

    auto ownPart = [](int channel) { return channel - kFirstPartChannel; };
    auto ownPartFree = [&](int channel) {
        return ownPart(channel) >= 0 && !taken[static_cast<std::size_t>(ownPart(channel))];
    };
    for (int channel : playing) {
        if (ownPartFree(channel))
            place(channel, ownPart(channel), "");
    }
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (placed[channel] || use[channel].notes == 0 || !use[channel].drumLike)
            continue;
        for (int part : {kDrum, kPercussion}) {
            if (!taken[part]) {
                place(channel, part, ": it selects a drum kit");
                break;
            }
        }
    }
    if (!taken[kBass]) {
        int lowest = -1;
        for (int channel : playing) {
            if (placed[channel] || use[channel].drumLike)
                continue;
            // Average pitches compared without division: sum(a) / n(a) < sum(b) / n(b).
            if (lowest < 0 ||
                use[channel].pitchSum * use[lowest].notes <
                    use[lowest].pitchSum * use[channel].notes ||
                (use[channel].pitchSum * use[lowest].notes ==
                     use[lowest].pitchSum * use[channel].notes &&
                 channel < lowest))
                lowest = channel;
        }
        if (lowest >= 0)
            place(lowest, kBass, ": it plays the lowest notes on average");
    }
    for (int channel : playing) {
        if (placed[channel])
            continue;
        for (int part : kFillOrder) {
            if (!taken[part]) {
                place(channel, part, "");
                break;
            }
        }
    }

    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (placed[channel] || use[channel].events == 0)
            continue;
        if (ownPartFree(channel))
            place(channel, ownPart(channel), "");
        else
            drop(channel, FormatText("Dropped channel %d: it plays no notes, only %s.", channel + 1,
                                     CountText(use[channel].events, "other event").c_str()));
    }
    return placement;
}

}  // namespace korvana
