#include "RandomSongs.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace korvana::test {
namespace {

struct Event {
    std::uint32_t time;
    int rank;  // at one time: metas, note-offs, setup, note-ons, End of Track
    Bytes data;
};

constexpr int kMetaRank = 0;
constexpr int kOffRank = 1;
constexpr int kSetupRank = 2;
constexpr int kOnRank = 3;
constexpr int kEndRank = 4;

Bytes Meta(std::uint8_t type, const Bytes& data) {
    return Join({{0xFF, type}, Quantity(static_cast<std::uint32_t>(data.size())), data});
}

Bytes TrackOf(std::vector<Event> events) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.time != b.time ? a.time < b.time : a.rank < b.rank;
    });
    Bytes body;
    std::uint32_t now = 0;
    for (const Event& event : events) {
        body = Join({body, Quantity(event.time - now), event.data});
        now = event.time;
    }
    return Track(body);
}

class Maker {
public:
    Maker(std::uint32_t seed, const SongShape& shape) : m_rng(seed), m_shape(shape) {}

    RandomSong Make() {
        static constexpr std::uint16_t kDivisions[] = {96, 120, 192, 240, 384, 480, 960, 1000};
        const std::uint32_t division = m_shape.division ? m_shape.division : kDivisions[Pick(0, 7)];
        const bool format0 = Chance(25);
        const int channelCount = !m_shape.withinParts && Chance(10) ? Pick(8, 10) : Pick(1, 7);
        std::vector<int> channels(16);
        std::iota(channels.begin(), channels.end(), 0);
        std::shuffle(channels.begin(), channels.end(), m_rng);
        channels.resize(static_cast<std::size_t>(channelCount));

        const int numerator = Pick(2, 7);
        const int denominatorPower = Chance(70) ? 2 : 3;
        const std::uint32_t bar =
            division * 4 * static_cast<std::uint32_t>(numerator) >> denominatorPower;
        const bool longNote = Chance(8);
        // A note longer than the keyboard holds (16383 ticks at 192) needs a long song.
        const std::uint32_t end = (longNote ? 25 : static_cast<std::uint32_t>(Pick(1, 8))) * bar;

        // Track 0 first; in format 1 each channel usually has a track of its own, sometimes
        // shares the previous channel's, sometimes spreads over two.
        std::vector<std::vector<Event>> tracks(1);
        std::vector<std::vector<std::size_t>> homes;
        for (std::size_t i = 0; i < channels.size(); ++i) {
            std::vector<std::size_t> home;
            if (format0 || (i == 0 && Chance(20)))
                home.push_back(0);
            else if (i > 0 && Chance(20))
                home = homes.back();
            else
                home.push_back(NewTrack(tracks));
            if (!format0 && Chance(15))
                home.push_back(NewTrack(tracks));
            homes.push_back(home);
        }

        std::size_t notesLeft = m_shape.targetBytes ? m_shape.targetBytes / 9 : 0;
        for (std::size_t i = 0; i < channels.size(); ++i) {
            const int notes = m_shape.targetBytes
                                  ? static_cast<int>(notesLeft / (channels.size() - i))
                                  : Pick(1, 40);
            notesLeft -= static_cast<std::size_t>(notes);
            AddChannel(tracks, homes[i], channels[i], notes, division, end, longNote && i == 0);
        }

        const bool named = Chance(50);
        if (named)
            tracks[0].push_back({0, kMetaRank, Meta(0x03, {'S', 'o', 'n', 'g', ' ', 'A'})});
        const Bytes timeSig = Meta(0x58, {static_cast<std::uint8_t>(numerator),
                                          static_cast<std::uint8_t>(denominatorPower), 24, 8});
        const std::uint32_t micros = 60000000 / static_cast<std::uint32_t>(Pick(60, 200));
        const Bytes tempo =
            Meta(0x51, {static_cast<std::uint8_t>(micros >> 16),
                        static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)});
        const int metaPlace = Pick(0, 3);  // 0, 1 in track 0; 2 in the last track; 3 none
        const std::size_t metaTrack = metaPlace == 2 ? tracks.size() - 1 : 0;
        if (metaPlace < 3) {
            tracks[metaTrack].push_back({0, kMetaRank, timeSig});
            if (Chance(80))
                tracks[metaTrack].push_back({0, kMetaRank, tempo});
        }

        std::vector<Bytes> chunks;
        int unended = 0;
        for (std::vector<Event>& track : tracks) {
            if (Chance(90))
                track.push_back({end, kEndRank, Meta(0x2F, {})});
            else
                ++unended;
            chunks.push_back(TrackOf(std::move(track)));
        }
        Bytes bytes = Header(format0 ? 0 : 1, static_cast<std::uint16_t>(chunks.size()),
                             static_cast<std::uint16_t>(division));
        for (const Bytes& chunk : chunks)
            bytes = Join({bytes, chunk});
        std::string shape = "division " + std::to_string(division) + ", format " +
                            (format0 ? "0" : "1") + ", " + std::to_string(chunks.size()) +
                            " tracks, channels";
        for (const int channel : channels)
            shape += " " + std::to_string(channel + 1);
        shape += ", meta place " + std::to_string(metaPlace) + ", " + std::to_string(unended) +
                 " tracks unended" + (longNote ? ", a long note" : "");
        return {std::move(bytes), shape};
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    static std::size_t NewTrack(std::vector<std::vector<Event>>& tracks) {
        tracks.emplace_back();
        return tracks.size() - 1;
    }

    void AddChannel(std::vector<std::vector<Event>>& tracks, const std::vector<std::size_t>& homes,
                    int channel, int notes, std::uint32_t division, std::uint32_t end,
                    bool longNote) {
        auto status = [channel](int kind) { return static_cast<std::uint8_t>(kind | channel); };
        auto home = [&]() -> std::vector<Event>& {
            return tracks[homes[static_cast<std::size_t>(
                Pick(0, static_cast<int>(homes.size()) - 1))]];
        };
        const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
        if (Chance(60))
            home().push_back({0, kSetupRank, {status(0xC0), byte(Pick(0, 127))}});
        if (Chance(50))
            home().push_back({0, kSetupRank, {status(0xB0), 7, byte(Pick(0, 127))}});
        if (Chance(10))
            home().push_back({0, kSetupRank, {status(0xB0), 0, 127}});
        const int low = channel == 9 ? 35 : Chance(30) ? 28 : 48;
        const int high = channel == 9 ? 81 : low + 36;
        for (int n = 0; n < notes; ++n) {
            const std::uint32_t grid = std::max<std::uint32_t>(division / 4, 1);
            std::uint32_t start = static_cast<std::uint32_t>(Pick(0, static_cast<int>(end - 1)));
            if (Chance(70))
                start -= start % grid;
            std::uint32_t length =
                Chance(10) ? static_cast<std::uint32_t>(Pick(1, 3))
                           : static_cast<std::uint32_t>(Pick(static_cast<int>(division / 8) + 1,
                                                             static_cast<int>(division * 2)));
            if (longNote && n == 0) {
                start = 0;
                length = 90 * division;  // 90 quarter notes
            }
            length = std::min(length, end - start);
            const std::uint8_t key = byte(Pick(low, high));
            std::vector<Event>& into = home();
            into.push_back({start, kOnRank, {status(0x90), key, byte(Pick(1, 127))}});
            if (Chance(5))
                continue;  // a note-on that nothing ends
            if (Chance(30))
                into.push_back({start + length, kOffRank, {status(0x90), key, 0}});
            else
                into.push_back({start + length, kOffRank, {status(0x80), key, 64}});
        }
    }

    std::mt19937 m_rng;
    SongShape m_shape;
};

}  // namespace

RandomSong MakeRandomSong(std::uint32_t seed, const SongShape& shape) {
    return Maker(seed, shape).Make();
}

}  // namespace korvana::test
