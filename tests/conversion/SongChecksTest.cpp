// The rules a song must pass, in the order applied, with their exact log entries and messages.

#include "ConversionFixture.h"

namespace korvana {
namespace {

using test::Bytes;
using test::Header;
using test::Join;
using test::Track;

const Bytes kDrumNote = {0x00, 0x99, 0x24, 0x64, 0x60, 0x89, 0x24, 0x40, 0x60, 0xFF, 0x2F, 0x00};

// A track on zero-based channel c holding one note and End of Track at tick 192.
Bytes NoteTrack(std::uint8_t channel) {
    return Track({0x00, static_cast<std::uint8_t>(0x90 | channel), 0x30, 0x64, 0x60,
                  static_cast<std::uint8_t>(0x80 | channel), 0x30, 0x00, 0x60, 0xFF, 0x2F, 0x00});
}

Bytes TempoTrack() {
    return Track(Join({test::kTimeSig44, test::kTempo120, test::kEndOfTrack}));
}

struct RuleCase {
    const char* what;
    Bytes song;
    std::vector<std::string> errors;  // "%p" stands for the song's path
    std::vector<std::string> messages;
    bool result;
};

class SongChecks : public test::ConversionTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(SongChecks, LogAndMessagesInOrder) {
    const RuleCase& c = GetParam();
    EXPECT_EQ(Convert(c.song), c.result);
    EXPECT_EQ(Errors(), WithSongPath(c.errors));
    EXPECT_EQ(Messages(), c.messages);
}

const RuleCase kRuleCases[] = {
    {"accepted drum pattern", test::Format0(kDrumNote), {}, {}, true},
    {"division 96",
     test::Format0(kDrumNote, 96),
     {"Warning: PPQN is not 192"},
     {"Error: PPQN is not 192"},
     false},
    {"malformed header",
     Join({Header(2, 1), Track(test::kEndOfTrack)}),
     {"%p Init Error:2"},
     {},
     false},
    {"missing End of Track",
     Join({Header(0, 1), Track({0x00, 0x99, 0x24, 0x64})}),
     {"%p Process Error"},
     {},
     false},
    {"tempo and time signature in track 1",
     Join({Header(1, 2), Track(test::kEndOfTrack),
           Track(Join({test::kTimeSig44, test::kTempo120, kDrumNote}))}),
     {" TimeSign Error"},
     {"Time signature is required!"},
     false},
    {"no tempo",
     Join({Header(0, 1), Track(Join({test::kTimeSig44, kDrumNote}))}),
     {" Tempo Error"},
     {"Tempo is required!"},
     false},
    {"no tracks", Header(1, 0), {" TimeSign Error"}, {"Time signature is required!"}, false},
    {"two tracks on channel 10",
     Join({Header(1, 3), TempoTrack(), NoteTrack(9), NoteTrack(9)}),
     {"%p Track 2 Error"},
     {"Mixed tracks are not allowed!"},
     false},
    {"drum track with one event on channel 11",
     Join({Header(1, 2), TempoTrack(),
           Track({0x00, 0x99, 0x24, 0x64, 0x00, 0xBA, 0x07, 0x64, 0x60, 0x89, 0x24, 0x00, 0x00,
                  0xFF, 0x2F, 0x00})}),
     {"%p Track 1 Error"},
     {"Mixed tracks are not allowed!"},
     false},
    {"track on channel 1",
     Join({Header(1, 2), TempoTrack(), NoteTrack(0)}),
     {"MIDI file containing track 1-8 is not supported!"},
     {"MIDI file containing track 1-8 is not supported!"},
     false},
    {"track on channel 9 after an accepted one",
     Join({Header(1, 3), TempoTrack(), NoteTrack(15), NoteTrack(8)}),
     {"MIDI file containing track 1-8 is not supported!"},
     {"MIDI file containing track 1-8 is not supported!"},
     false},
    {"channel 1 track that also mixes channels",
     Join({Header(1, 2), TempoTrack(),
           Track({0x00, 0x90, 0x30, 0x64, 0x00, 0x91, 0x30, 0x64, 0x00, 0xFF, 0x2F, 0x00})}),
     {"%p Track 1 Error"},
     {"Mixed tracks are not allowed!"},
     false},
    {"refusing track stops the tracks after it",
     Join({Header(1, 4), TempoTrack(), NoteTrack(0), NoteTrack(9), NoteTrack(9)}),
     {"MIDI file containing track 1-8 is not supported!"},
     {"MIDI file containing track 1-8 is not supported!"},
     false},
    {"note on without note off goes on",
     test::Format0({0x00, 0x99, 0x24, 0x64, 0x00, 0x99, 0x26, 0x64, 0x60, 0x89, 0x24, 0x00, 0x60,
                    0xFF, 0x2F, 0x00}),
     {"%p Track 0 Error Back Find 0x9N 99 26"},
     {"Note Off Error!"},
     true},
    {"each unended note is reported",
     test::Format0({0x00, 0x9C, 0x30, 0x64, 0x00, 0x31, 0x64, 0x60, 0xFF, 0x2F, 0x00}),
     {"%p Track 0 Error Back Find 0x9N 9c 30", "%p Track 0 Error Back Find 0x9N 9c 31"},
     {"Note Off Error!", "Note Off Error!"},
     true},
};

INSTANTIATE_TEST_SUITE_P(Rules, SongChecks, ::testing::ValuesIn(kRuleCases), [](const auto& info) {
    std::string name = info.param.what;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

class ConvertCalls : public test::ConversionTest {};

TEST_F(ConvertCalls, TwoInputFilesAreRefusedBeforeAnythingIsWritten) {
    Converter().AddInputFile(SongPath());
    EXPECT_FALSE(Convert(test::Format0(kDrumNote)));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Number of File Names is less than that of Input files"});
    EXPECT_FALSE(std::filesystem::exists(OutputPath("dat")));
    EXPECT_FALSE(std::filesystem::exists(OutputPath("sty")));
}

TEST_F(ConvertCalls, NoInputFileWritesNothing) {
    EXPECT_FALSE(ConvertInputs());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ConvertCalls, OutputThatIsAFolderStopsTheConversionBeforeAnythingIsWritten) {
    for (const char* output : {"dat", "sty"}) {
        SCOPED_TRACE(output);
        Renew();
        std::filesystem::remove_all(m_folder.Path() / "song.dat");
        std::filesystem::remove_all(m_folder.Path() / "song.sty");
        std::filesystem::create_directory(OutputPath(output));
        EXPECT_FALSE(Convert(test::Format0(kDrumNote)));
        EXPECT_EQ(Messages(), std::vector<std::string>{"Cannot Write Output Files"});
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(m_outcome.writeFailure, OutputPath(output) + ": Is a directory");
        EXPECT_EQ(std::filesystem::exists(OutputPath("dat")), output == std::string("dat"));
        EXPECT_EQ(std::filesystem::exists(OutputPath("sty")), output == std::string("sty"));
    }
}

TEST_F(ConvertCalls, RefusedSongLeavesTheOutputsThatWereThere) {
    test::WriteBytes(OutputPath("dat"), {'o', 'l', 'd'});
    test::WriteBytes(OutputPath("sty"), {'p', 'a', 'i', 'r'});
    EXPECT_FALSE(Convert(test::Format0(kDrumNote, 96)));
    EXPECT_EQ(ControlFile(), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(PatternFile(), (Bytes{'p', 'a', 'i', 'r'}));
    Renew();
    std::filesystem::remove(OutputPath("dat"));
    std::filesystem::remove(OutputPath("sty"));
    EXPECT_FALSE(Convert(test::Format0(kDrumNote, 96)));
    EXPECT_FALSE(std::filesystem::exists(OutputPath("dat")));
    EXPECT_FALSE(std::filesystem::exists(OutputPath("sty")));
}

TEST_F(ConvertCalls, UnopenableInputPassesTheFileError) {
    Converter().AddInputFile((m_folder.Path() / "missing.mid").string());
    EXPECT_THROW(Converter().Convert(), std::filesystem::filesystem_error);
}

TEST_F(ConvertCalls, LongPatternNameIsCutAndLogged) {
    Converter().m_patternNames[0] = "Bossanova1";
    EXPECT_TRUE(Convert(test::Format0(kDrumNote), {.binary = false}));
    EXPECT_EQ(Errors(), std::vector<std::string>{"Bossanova1 Name Too Long"});
    EXPECT_EQ(std::string(Converter().m_control.szName), "Bossanov");
}

TEST_F(ConvertCalls, DumpsExistAlsoForARefusedDivision) {
    EXPECT_FALSE(Convert(test::Format0(kDrumNote, 96), {.dump = true}));
    EXPECT_TRUE(std::filesystem::exists(SongPath() + "_Events.txt"));
    EXPECT_TRUE(std::filesystem::exists(SongPath() + "_AllEvents.txt"));
}

}  // namespace
}  // namespace korvana
