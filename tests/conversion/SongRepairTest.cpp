// The song repair byte by byte, one case per kind of repair; songs it leaves as they are; songs it
// cannot repair, with their reasons.

#include <gtest/gtest.h>

#include <filesystem>

#include "SmfBytes.h"
#include "common/SafeFile.h"
#include "conversion/PrivateConversion.h"
#include "conversion/SongFix.h"
#include "conversion/SongRepair.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::Header;
using test::Join;
using test::kEndOfTrack;
using test::kTempo120;
using test::kTimeSig44;
using test::Track;

const Bytes kMetaTrack = Track(Join({kTimeSig44, kTempo120, kEndOfTrack}));

struct RepairCase {
    const char* what;
    Bytes song;
    const char* map;  // --map's text, or nullptr
    Bytes repaired;
    std::vector<std::string> changes;
};

RepairOptions OptionsFor(const RepairCase& c) {
    RepairOptions options;
    if (c.map) {
        std::string error;
        options.channels = *ParseChannelChoices(c.map, error);
    }
    options.tempoBpm = 90;
    options.timeSigNumerator = 3;
    options.timeSigDenominator = 4;
    return options;
}

class SongRepairCases : public ::testing::TestWithParam<RepairCase> {};

TEST_P(SongRepairCases, WritesTheseBytesAndSaysEachChange) {
    const RepairCase& c = GetParam();
    const SongRepair repair = RepairSong(c.song, OptionsFor(c));
    EXPECT_EQ(repair.errors, std::vector<std::string>());
    EXPECT_EQ(repair.changes, c.changes);
    EXPECT_EQ(repair.bytes, c.repaired);

    const TempFolder folder;
    test::WriteBytes(folder.Path() / "fixed.mid", repair.bytes);
    EXPECT_EQ(ConvertPrivately(folder.Path() / "fixed.mid").Errors(), std::vector<std::string>());
}

const RepairCase kRepairCases[] = {
    {"rescaled from 480, rounding, a note kept one tick long",
     Join({Header(1, 2, 480), kMetaTrack,
           Track({0x00, 0x99, 0x24, 0x64,            // 0: note 36 on
                  0x01, 0x89, 0x24, 0x40,            // 1 (0.4 at 192): its end
                  0x83, 0x60, 0x99, 0x26, 0x64,      // 481 (192.4): note 38 on
                  0x85, 0x4E, 0x89, 0x26, 0x40,      // 1199 (479.6): its end
                  0x85, 0x51, 0xFF, 0x2F, 0x00})}),  // 1920 (768)
     nullptr,
     Join({Header(1, 2), kMetaTrack, Track({0x00, 0x99, 0x24, 0x64,            // 0
                                            0x01, 0x89, 0x24, 0x40,            // 1: one tick long
                                            0x81, 0x3F, 0x99, 0x26, 0x64,      // 192
                                            0x82, 0x20, 0x89, 0x26, 0x40,      // 480
                                            0x82, 0x20, 0xFF, 0x2F, 0x00})}),  // 768
     {"Rescaled every time from 480 to 192 ticks per quarter note, rounding to the nearest tick; "
      "the largest shift is 0.6 ticks.",
      "Lengthened 1 note that rescaling left without length to one tick."}},

    {"a mixed track split, a second track on channel 10 merged",
     Join({Header(1, 3), kMetaTrack, Track({0x00, 0x99, 0x24, 0x64,  // 0: channel 10
                                            0x00, 0x9A, 0x40, 0x64,  // 0: channel 11
                                            0x60, 0x89, 0x24, 0x40,  // 96
                                            0x00, 0x8A, 0x40, 0x40,  // 96
                                            0x60, 0xFF, 0x2F, 0x00}),
           Track({0x00, 0x99, 0x26, 0x64,  // 0: channel 10 again
                  0x60, 0x89, 0x26, 0x40,  // 96
                  0x60, 0xFF, 0x2F, 0x00})}),
     nullptr,
     Join({Header(1, 3), kMetaTrack,
           Track({0x00, 0x99, 0x24, 0x64, 0x00, 0x99, 0x26, 0x64,  // both tracks' channel 10
                  0x60, 0x89, 0x24, 0x40, 0x00, 0x89, 0x26, 0x40, 0x60, 0xFF, 0x2F, 0x00}),
           Track({0x00, 0x9A, 0x40, 0x64, 0x60, 0x8A, 0x40, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     {"Split track 1 into one track per channel: channels 10 and 11.",
      "Merged the channel 10 events of track 2 into track 1, which plays channel 10 too."}},

    {"channels 1 and 2 to BASS and CHORD1 by default, with their program change",
     Join({Header(1, 3), kMetaTrack,
           Track({0x00, 0xC0, 0x21,  // program 33
                  0x00, 0x90, 0x24, 0x64, 0x60, 0x80, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00}),
           Track({0x00, 0x91, 0x3C, 0x64, 0x00, 0x91, 0x40, 0x64,  // two higher notes
                  0x60, 0x81, 0x3C, 0x40, 0x00, 0x81, 0x40, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     nullptr,
     Join({Header(1, 3), kMetaTrack,
           Track({0x00, 0xCB, 0x21, 0x00, 0x9B, 0x24, 0x64, 0x60, 0x8B, 0x24, 0x40, 0x60, 0xFF,
                  0x2F, 0x00}),
           Track({0x00, 0x9C, 0x3C, 0x64, 0x00, 0x9C, 0x40, 0x64, 0x60, 0x8C,
                  0x3C, 0x40, 0x00, 0x8C, 0x40, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     {"Moved channel 1 (1 note) to BASS (channel 12): it plays the lowest notes on average.",
      "Moved channel 2 (2 notes) to CHORD1 (channel 13)."}},

    {"--map drops channel 1 and puts channel 2 on CHORD4",
     Join({Header(1, 3), kMetaTrack,
           Track({0x00, 0xC0, 0x21, 0x00, 0x90, 0x24, 0x64, 0x60, 0x80, 0x24, 0x40, 0x60, 0xFF,
                  0x2F, 0x00}),
           Track({0x00, 0x91, 0x3C, 0x64, 0x60, 0x81, 0x3C, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     "1=drop,2=chord4",
     Join({Header(1, 2), kMetaTrack,
           Track({0x00, 0x9F, 0x3C, 0x64, 0x60, 0x8F, 0x3C, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     {"Dropped channel 1 (1 note), as asked.",
      "Moved channel 2 (1 note) to CHORD4 (channel 16), as asked."}},

    {"time signature and tempo moved from track 1 to track 0, after its name",
     Join(
         {Header(1, 2), Track({0x00, 0xFF, 0x03, 0x03, 'A', 'B', 'C', 0x00, 0xFF, 0x2F, 0x00}),
          Track(Join({kTimeSig44,
                      kTempo120,
                      {0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00}}))}),
     nullptr,
     Join({Header(1, 2),
           Track(
               Join({{0x00, 0xFF, 0x03, 0x03, 'A', 'B', 'C'}, kTimeSig44, kTempo120, kEndOfTrack})),
           Track({0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     {"Moved the time signature 4/4 from track 1 to the start of track 0.",
      "Moved the tempo 120 BPM from track 1 to the start of track 0."}},

    {"no time signature or tempo anywhere: the options' 3/4 and 90 BPM inserted",
     Join({Header(1, 2), Track({0x00, 0xFF, 0x03, 0x03, 'A', 'B', 'C', 0x00, 0xFF, 0x2F, 0x00}),
           Track({0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     nullptr,
     Join({Header(1, 2), Track({0x00, 0xFF, 0x03, 0x03, 'A',  'B',  'C',  0x00,
                                0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08,  // 3/4
                                0x00, 0xFF, 0x51, 0x03, 0x0A, 0x2C, 0x2B,  // 666667 us: 90 BPM
                                0x00, 0xFF, 0x2F, 0x00}),
           Track({0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00})}),
     {"Inserted the time signature 3/4 into track 0: the song had none.",
      "Inserted the tempo 90 BPM into track 0: the song had none."}},

    {"notes closed at the next note-on of their key or at the end, long ones cut, an End of "
     "Track added",
     Join({Header(1, 2), kMetaTrack,
           Track({0x00, 0x99, 0x24, 0x64,                  // 0: 36, never ended
                  0x00, 0x99, 0x26, 0x64,                  // 0: 38, ended by nothing
                  0x00, 0x99, 0x28, 0x64,                  // 0: 40, 20000 ticks long
                  0x60, 0x99, 0x26, 0x64,                  // 96: 38 again
                  0x81, 0x9B, 0x40, 0x89, 0x28, 0x40})}),  // 20000: 40 ends; no End of Track
     nullptr,
     Join({Header(1, 2), kMetaTrack,
           Track({0x00, 0x99, 0x24, 0x64, 0x00, 0x99, 0x26, 0x64,
                  0x00, 0x99, 0x28, 0x64, 0x60, 0x89, 0x26, 0x40,  // 96: the first 38 ends
                  0x00, 0x99, 0x26, 0x64,                          // 96
                  0xFF, 0x1F, 0x89, 0x24, 0x40,  // 16383: 36, closed at its longest
                  0x00, 0x89, 0x28, 0x40,        // 16383: 40 cut
                  0x60, 0x89, 0x26, 0x40,        // 16479: the second 38 at its longest
                  0x9B, 0x41, 0x89, 0x28, 0x40,  // 20000: the old end of 40
                  0x00, 0xFF, 0x2F, 0x00})}),
     {"Added the missing End of Track to track 1.",
      "Closed 3 notes on channel 10 that had no note-off, at the next note-on of the same key "
      "or at the end of the track.",
      "Cut 3 notes on channel 10 to 16383 ticks, the longest the keyboard can hold; the longest "
      "was 20000 ticks."}},
};

INSTANTIATE_TEST_SUITE_P(EachKind, SongRepairCases, ::testing::ValuesIn(kRepairCases));

class SongFixTest : public ::testing::Test {
protected:
    SongFix Fix(const Bytes& song) {
        test::WriteBytes(m_folder.Path() / "song.mid", song);
        return FixSong(m_folder.Path() / "song.mid");
    }
    TempFolder m_folder;
};

TEST_F(SongFixTest, AnAcceptedSongStaysByteForByteWithNoChanges) {
    const Bytes song = test::ReadBytes(fs::path(KORVANA_SAMPLES) / "pop-8beat.mid");
    const SongFix fix = Fix(song);
    EXPECT_TRUE(fix.unchanged);
    EXPECT_TRUE(fix.fixable);
    EXPECT_EQ(fix.bytes, song);
    EXPECT_TRUE(fix.changes.empty());
}

TEST_F(SongFixTest, SongsThatCannotBeFixedSayWhyInPlainWords) {
    Bytes manyNotes;  // 9000 notes: far more pattern data than 64 KB
    for (int i = 0; i < 9000; ++i)
        manyNotes.insert(manyNotes.end(), {0x00, 0x99, 0x24, 0x64, 0x01, 0x89, 0x24, 0x40});
    const struct {
        const char* what;
        Bytes song;
        std::string error;
    } cases[] = {
        {"not a MIDI file",
         {'h', 'e', 'l', 'l', 'o'},
         "It is not a Standard MIDI File that can be read: its header or its track chunks are "
         "damaged."},
        {"format 2", Join({Header(2, 1), Track(kEndOfTrack)}),
         "It is a format 2 file, a set of separate songs, which makes no one pattern."},
        {"SMPTE division", Join({Header(1, 1, 0xE728), kMetaTrack}),
         "Its times are counted in SMPTE frames, not in beats, so they cannot be turned into 192 "
         "ticks per quarter note."},
        {"division 0", Join({Header(1, 1, 0), kMetaTrack}),
         "Its header says a quarter note has 0 ticks, so its times cannot be rescaled."},
        {"pattern data over 64 KB",
         Join({Header(1, 2), kMetaTrack, Track(Join({manyNotes, kEndOfTrack}))}),
         "Its pattern data would be larger than the 64 KB the keyboard holds."},
        {"a pause of 2097152 ticks",
         Join({Header(1, 2), kMetaTrack,
               Track({0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40,  // 96
                      0x81, 0x80, 0x80, 0x00, 0xFF, 0x2F, 0x00})}),    // 96 + 2097152
         "It has a pause between two events longer than the keyboard can store."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SongFix fix = Fix(c.song);
        EXPECT_FALSE(fix.fixable);
        EXPECT_TRUE(fix.bytes.empty());
        EXPECT_EQ(fix.errors, std::vector<std::string>{c.error});
    }
}

TEST(ChannelChoices, ReadsEveryFormOfPartAndRefusesWhatIsNotOne) {
    std::string error;
    const auto choices =
        ParseChannelChoices("1=drum,2=Percussion,3=BASS,4=chord1,16=16,9=drop", error);
    ASSERT_TRUE(choices);
    EXPECT_EQ((*choices)[0], 0);
    EXPECT_EQ((*choices)[1], 1);
    EXPECT_EQ((*choices)[2], 2);
    EXPECT_EQ((*choices)[3], 3);
    EXPECT_EQ((*choices)[15], 6);  // channel 16 stays CHORD4
    EXPECT_EQ((*choices)[8], kDropChannel);
    const struct {
        const char* text;
        const char* error;
    } refused[] = {
        {"0=BASS", "'0=BASS' is not CH=PART"},
        {"17=BASS", "'17=BASS' is not CH=PART"},
        {"1=17", "'1=17' is not CH=PART"},
        {"1=9", "'1=9' is not CH=PART"},
        {"1=CHORD5", "'1=CHORD5' is not CH=PART"},
        {"1=BASS,", "'' is not CH=PART"},
        {"1=BASS,1=DRUM", "channel 1 is named twice"},
        {"1=BASS,2=12", "channels 1 and 2 both go to BASS; a part takes one channel"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(ParseChannelChoices(c.text, error));
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error);
    }
}

}  // namespace
}  // namespace korvana
