// The reader: header and chunk walk, track parsing, End of Track check, merge and song name.
// Songs are read from bytes in memory, as the fuzzer reads them; one case reads a file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "SmfBytes.h"
#include "common/SafeFile.h"
#include "conversion/CMidiReader.h"

namespace korvana {
namespace {

using test::Bytes;
using test::Header;
using test::Join;
using test::Track;

class ReaderTest : public ::testing::Test {
protected:
    // Loads a copy of bytes and reads the header; returns its code.
    int Load(const Bytes& bytes) {
        m_bytes = bytes;
        m_reader.LoadBytes(m_bytes);
        return m_reader.ReadHeader();
    }
    // Loads a one-track format 0 file holding body and parses it.
    bool Parse(const Bytes& body) {
        EXPECT_EQ(Load(Join({Header(0, 1), Track(body)})), CMidiReader::kHeaderOk);
        return m_reader.ReadTracks();
    }
    std::vector<MidiEvent> Events(std::uint32_t track = 0) const {
        EXPECT_LT(track, m_reader.m_nTracks);
        std::vector<MidiEvent> events;
        for (const MidiEvent& event : m_reader.Track(track))
            events.push_back(event);
        return events;
    }
    std::vector<MidiEvent> Merged() const {
        std::vector<MidiEvent> events;
        CMidiReader::MergedEvents merged(m_reader);
        for (MidiEvent event; merged.Next(event);)
            events.push_back(event);
        return events;
    }
    static Bytes DataOf(const MidiEvent& event) {
        Bytes data;
        for (std::uint32_t i = 0; i < event.dwLength; ++i)
            data.push_back(event.Byte(i));
        return data;
    }

    Bytes m_bytes;
    CMidiReader m_reader;
};

TEST_F(ReaderTest, HeaderOnlyWithNoTracksIsAnEmptySong) {
    EXPECT_EQ(Load(Header(1, 0, 96)), CMidiReader::kHeaderOk);
    EXPECT_EQ(m_reader.m_nPPQN, 96u);
    EXPECT_TRUE(m_reader.ReadTracks());
    m_reader.MergeTracks();
    EXPECT_EQ(m_reader.m_nEvents, 0u);
    EXPECT_TRUE(Merged().empty());
}

TEST_F(ReaderTest, MalformedChunkStructuresAreRefused) {
    const Bytes track = Track(test::kEndOfTrack);
    Bytes longHeader = Header(0, 1);
    longHeader[7] = 7;
    longHeader.push_back(0);
    Bytes otherTag = Track(test::kEndOfTrack);
    otherTag[3] = 'x';
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"header length 7", Join({longHeader, track})},
        {"format 2", Join({Header(2, 1), track})},
        {"chunk tag MTrx", Join({Header(0, 1), otherTag})},
        {"one byte after the last track", Join({Header(0, 1), track, Bytes{0}})},
        {"fewer chunks than declared", Join({Header(1, 2), track})},
        {"shorter than a header", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0}},
        {"empty file", Bytes{}},
        {"chunk longer than the file", Join({Header(0, 1), Bytes{'M', 'T', 'r', 'k', 0, 0, 1, 0}})},
        {"chunk header cut", Join({Header(0, 1), Bytes{'M', 'T', 'r', 'k', 0, 0}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_reader.Reset();
        EXPECT_EQ(Load(c.bytes), CMidiReader::kHeaderMalformed);
    }
}

TEST_F(ReaderTest, NothingLoadedAndUnopenableFiles) {
    EXPECT_EQ(m_reader.ReadHeader(), CMidiReader::kHeaderNotLoaded);
    const TempFolder folder;
    m_reader.m_strFileName = (folder.Path() / "missing.mid").string();
    EXPECT_THROW(m_reader.LoadFile(), std::filesystem::filesystem_error);
    m_reader.m_strFileName = folder.Path().string();
    EXPECT_THROW(m_reader.LoadFile(), std::filesystem::filesystem_error);
}

TEST_F(ReaderTest, FileIsReadAsItsBytesAre) {
    const Bytes song = {
        'M',  'T',  'h',  'd',  0,   0,   0, 6,
        0,    0,    0,    1,    0,   96,          // MThd, length 6, format 0, 1 track, 96 ticks
        'M',  'T',  'r',  'k',  0,   0,   0, 17,  // MTrk, length 17
        0x00, 0xFF, 0x03, 0x02, 'H', 'i',         // 0: track name "Hi"
        0x00, 0x99, 0x24, 0x64,                   // 0: note on 36 velocity 100, channel 10
        0x60, 0x24, 0x00,                         // 96: running status, velocity 0
        0x00, 0xFF, 0x2F, 0x00,                   // 96: End of Track
    };
    const TempFolder folder;
    m_reader.m_strFileName = (folder.Path() / "song.mid").string();
    test::WriteBytes(m_reader.m_strFileName, song);
    ASSERT_TRUE(m_reader.LoadFile());
    ASSERT_EQ(m_reader.ReadHeader(), CMidiReader::kHeaderOk);
    ASSERT_TRUE(m_reader.ReadTracks());
    EXPECT_EQ(m_reader.GetSongName(), "Hi");
    const std::vector<MidiEvent> fromFile = Events();

    m_reader.Reset();
    EXPECT_EQ(Load(song), CMidiReader::kHeaderOk);
    ASSERT_TRUE(m_reader.ReadTracks());
    EXPECT_EQ(m_reader.GetSongName(), "Hi");
    const std::vector<MidiEvent> fromBytes = Events();
    ASSERT_EQ(fromBytes.size(), 4u);
    ASSERT_EQ(fromFile.size(), 4u);
    for (std::size_t i = 0; i < fromBytes.size(); ++i) {
        EXPECT_EQ(fromBytes[i].dwTime, fromFile[i].dwTime);
        EXPECT_EQ(fromBytes[i].byStatus, fromFile[i].byStatus);
        EXPECT_EQ(DataOf(fromBytes[i]), DataOf(fromFile[i]));
    }
    EXPECT_EQ(DataOf(fromBytes[2]), (Bytes{0x24, 0x00}));
}

TEST_F(ReaderTest, FormatHighByteIsNotLookedAt) {
    EXPECT_EQ(Load(Join({Header(0x0100, 1), Track(test::kEndOfTrack)})), CMidiReader::kHeaderOk);
    EXPECT_EQ(m_reader.m_nFormat, 0);
}

TEST_F(ReaderTest, RefusedFormatStillSetsTheDivision) {
    EXPECT_EQ(Load(Join({Header(2, 1, 480), Track(test::kEndOfTrack)})),
              CMidiReader::kHeaderMalformed);
    EXPECT_EQ(m_reader.m_nPPQN, 480u);
}

TEST_F(ReaderTest, RunningStatusAcrossNotes) {
    EXPECT_FALSE(Parse({0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00}));  // no End of Track
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].byStatus, 0x90);
    EXPECT_EQ(Events()[0].dwTime, 0u);
    EXPECT_EQ(Events()[1].byStatus, 0x90);
    EXPECT_EQ(Events()[1].dwTime, 96u);
    EXPECT_EQ(DataOf(Events()[1]), (Bytes{0x3C, 0x00}));
}

TEST_F(ReaderTest, SystemExclusiveKeepsTheBytesUpToTheFirstF7) {
    EXPECT_TRUE(Parse({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0x00, 0xFF, 0x2F, 0x00}));
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].byStatus, 0xF0);
    EXPECT_EQ(Events()[0].dwLength, 6u);
    EXPECT_EQ(DataOf(Events()[0]), (Bytes{0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_TRUE(Events()[1].IsEndOfTrack());
}

TEST_F(ReaderTest, MetaDataUpToSixBytesIsInlineLongerGoesToTheStore) {
    EXPECT_TRUE(Parse({0x00, 0xFF, 0x01, 0x06, 'a', 'b', 'c', 'd', 'e', 'f',       //
                       0x00, 0xFF, 0x01, 0x07, 'a', 'b', 'c', 'd', 'e', 'f', 'g',  //
                       0x00, 0xFF, 0x2F, 0x00}));
    ASSERT_EQ(Events().size(), 3u);
    EXPECT_EQ(Events()[0].dwLength, 7u);
    EXPECT_EQ(Events()[0].pData, nullptr);
    EXPECT_EQ(Events()[1].dwLength, 8u);
    ASSERT_NE(Events()[1].pData, nullptr);
    EXPECT_EQ(DataOf(Events()[1]), (Bytes{0x01, 'a', 'b', 'c', 'd', 'e', 'f', 'g'}));
}

TEST_F(ReaderTest, OtherSystemEventsTakeALengthQuantity) {
    EXPECT_TRUE(Parse({0x00, 0xF2, 0x02, 0x11, 0x22, 0x00, 0xFF, 0x2F, 0x00}));
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].byStatus, 0xF2);
    EXPECT_EQ(DataOf(Events()[0]), (Bytes{0x11, 0x22}));
}

TEST_F(ReaderTest, EventsAfterEndOfTrackFailTheCheck) {
    EXPECT_FALSE(Parse({0x00, 0xFF, 0x2F, 0x00, 0x00, 0x99, 0x24, 0x64}));
    EXPECT_EQ(Events().size(), 2u);
}

TEST_F(ReaderTest, TrackStartingWithADataByteStopsAndEmptyTracksPassTheCheck) {
    EXPECT_TRUE(Parse({0x00, 0x24, 0x64}));
    EXPECT_TRUE(Events().empty());
}

TEST_F(ReaderTest, EventRunningPastTheChunkReadsTheFollowingBytes) {
    // Track 0 declares 3 bytes, but its note's data continues into the next chunk's bytes.
    const Bytes bytes = Join({Header(1, 2), Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 3, 0x00, 0x99, 0x24},
                              Track(test::kEndOfTrack)});
    EXPECT_EQ(Load(bytes), CMidiReader::kHeaderOk);
    EXPECT_FALSE(m_reader.ReadTracks());
    ASSERT_EQ(Events(0).size(), 1u);
    EXPECT_EQ(DataOf(Events(0)[0]), (Bytes{0x24, 'M'}));
}

TEST_F(ReaderTest, CutDataEndsTheTrackAtTheEndOfTheFile) {
    const Bytes cuts[] = {
        {0x00, 0x99, 0x24},                                // second data byte missing
        {0x00, 0xC9},                                      // program number missing
        {0x81},                                            // delta quantity cut
        {0x00, 0xF0, 0x01, 0x02},                          // no closing F7
        {0x00, 0xFF, 0x03, 0x05, 'a', 'b'},                // meta data cut
        {0x00, 0xFF, 0x03, 0x81},                          // meta length cut
        {0x00, 0xFF},                                      // meta type missing
        {0x00, 0xF2, 0x05, 0x01},                          // system event data cut
        {0x00, 0xFF, 0x03, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F},  // length far beyond the file
    };
    for (const Bytes& body : cuts) {
        SCOPED_TRACE(testing::PrintToString(body));
        m_reader.Reset();
        EXPECT_TRUE(Parse(body));  // nothing complete was read, so no events to check
        EXPECT_TRUE(Events().empty());
        m_reader.Reset();
        EXPECT_FALSE(Parse(Join({{0x00, 0x99, 0x24, 0x64}, body})));
        EXPECT_EQ(Events().size(), 1u);
    }
}

TEST_F(ReaderTest, DeltaTimesAccumulateInThirtyTwoBits) {
    EXPECT_TRUE(Parse({0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x99, 0x24, 0x64,  // 0xFFFFFFFF
                       0x02, 0xFF, 0x2F, 0x00}));
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].dwTime, 0xFFFFFFFFu);
    EXPECT_EQ(Events()[1].dwTime, 1u);
}

TEST_F(ReaderTest, MergeTakesTheSmallestTimeAndTheLowerTrackOnTies) {
    const Bytes bytes =
        Join({Header(1, 3), Track({0x00, 0xFF, 0x03, 0x00, 0x60, 0xFF, 0x2F, 0x00}),
              Track({0x60, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x00, 0x00, 0xFF, 0x2F, 0x00}),
              Track({0x00, 0x9A, 0x30, 0x64, 0x60, 0x8A, 0x30, 0x00, 0x00, 0xFF, 0x2F, 0x00})});
    EXPECT_EQ(Load(bytes), CMidiReader::kHeaderOk);
    EXPECT_TRUE(m_reader.ReadTracks());
    m_reader.MergeTracks();
    std::vector<std::pair<std::uint32_t, int>> order;
    for (const MidiEvent& event : Merged())
        order.emplace_back(event.dwTime, event.byStatus);
    const std::vector<std::pair<std::uint32_t, int>> expected = {
        {0, 0xFF},  {0, 0x9A},  {96, 0xFF},  {96, 0x99},
        {96, 0x8A}, {96, 0xFF}, {192, 0x89}, {192, 0xFF}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(m_reader.m_nEvents, 8u);
    EXPECT_EQ(m_reader.m_lastEvent.dwTime, 192u);
    EXPECT_TRUE(m_reader.m_lastEvent.IsEndOfTrack());
}

TEST_F(ReaderTest, MergeOfManyTracksIsTheStableOrderByTimeThenTrack) {
    // 19 tracks (no power of two), one of them empty, with many equal times, one-byte and
    // longer deltas, running status and meta events between the notes. Each event names its
    // track and its index in the track in its data bytes (after the type, for meta events).
    constexpr int kTracks = 19;
    std::vector<Bytes> tracks;
    std::vector<std::tuple<std::uint32_t, int, int>> expected;  // time, track, index in track
    std::uint32_t seed = 7;
    for (int track = 0; track < kTracks; ++track) {
        Bytes body;
        std::uint32_t time = 0;
        const int events = track == 4 ? 0 : 3 + track % 5 * 7;
        for (int i = 0; i < events; ++i) {
            seed = seed * 1103515245 + 12345;
            const std::uint32_t delta =
                (seed >> 16) % 4 == 0 ? 200 + (seed >> 8) % 300 : (seed >> 16) % 3;
            time += delta;
            const Bytes quantity = test::Quantity(delta);
            body.insert(body.end(), quantity.begin(), quantity.end());
            if (i % 6 == 5)
                body.insert(body.end(), {0xFF, 0x01, 0x02, static_cast<std::uint8_t>(track),
                                         static_cast<std::uint8_t>(i)});
            else if (i % 6 == 0)
                body.insert(body.end(),
                            {0x99, static_cast<std::uint8_t>(track), static_cast<std::uint8_t>(i)});
            else
                body.insert(body.end(),
                            {static_cast<std::uint8_t>(track), static_cast<std::uint8_t>(i)});
            expected.emplace_back(time, track, i);
        }
        tracks.push_back(Track(body));
    }
    Bytes bytes = Header(1, kTracks);
    for (const Bytes& track : tracks)
        bytes.insert(bytes.end(), track.begin(), track.end());
    ASSERT_EQ(Load(bytes), CMidiReader::kHeaderOk);
    m_reader.ReadTracks();
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<std::tuple<std::uint32_t, int, int>> order;
    for (const MidiEvent& event : Merged()) {
        const int skip = event.byStatus == 0xFF ? 1 : 0;
        order.emplace_back(event.dwTime, event.byData[skip], event.byData[skip + 1]);
    }
    EXPECT_EQ(order, expected);
}

TEST_F(ReaderTest, MergeComparesNextEventsAlsoWhenATrackTimeWrapped) {
    // Track 1 runs past 32 bits: its End of Track at 0xFFFFFFFF + 2 is at time 1.
    const Bytes bytes =
        Join({Header(1, 2), Track({0x00, 0xFF, 0x03, 0x00, 0x05, 0xFF, 0x2F, 0x00}),
              Track({0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x99, 0x24, 0x64, 0x02, 0xFF, 0x2F, 0x00})});
    EXPECT_EQ(Load(bytes), CMidiReader::kHeaderOk);
    EXPECT_TRUE(m_reader.ReadTracks());
    m_reader.MergeTracks();
    std::vector<std::uint32_t> times;
    for (const MidiEvent& event : Merged())
        times.push_back(event.dwTime);
    EXPECT_EQ(times, (std::vector<std::uint32_t>{0, 5, 0xFFFFFFFF, 1}));
    EXPECT_EQ(m_reader.m_lastEvent.dwTime, 1u);
}

TEST_F(ReaderTest, SongNameIsTheFirstMetaEventWhateverItsType) {
    EXPECT_TRUE(Parse({0x00, 0xFF, 0x03, 0x05, 'B', 'o', 's', 's',  'a',  //
                       0x00, 0xFF, 0x03, 0x03, 'x', 'y', 'z', 0x00, 0xFF, 0x2F, 0x00}));
    EXPECT_EQ(m_reader.GetSongName(), "Bossa");

    m_reader.Reset();
    EXPECT_TRUE(
        Parse({0x00, 0xFF, 0x03, 0x00, 0x00, 0xFF, 0x03, 0x01, 'x', 0x00, 0xFF, 0x2F, 0x00}));
    EXPECT_EQ(m_reader.GetSongName(), "");
    EXPECT_TRUE(m_reader.m_bSongNameSet);

    m_reader.Reset();
    EXPECT_TRUE(Parse({0x00, 0xFF, 0x01, 0x04, 'a', 0x00, 'b', 'c', 0x00, 0xFF, 0x2F, 0x00}));
    EXPECT_EQ(m_reader.GetSongName(), "a");  // text ends at the first zero byte
}

TEST_F(ReaderTest, ResetReturnsToEmpty) {
    EXPECT_TRUE(Parse(test::kEndOfTrack));
    m_reader.Reset();
    EXPECT_EQ(m_reader.m_nTracks, 0u);
    EXPECT_EQ(m_reader.m_nFileSize, 0u);
    EXPECT_TRUE(m_reader.m_strFileName.empty());
    EXPECT_EQ(m_reader.ReadHeader(), CMidiReader::kHeaderNotLoaded);
}

}  // namespace
}  // namespace korvana
