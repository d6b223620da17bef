// korvana-cli convert and check, run as a program: output lines, JSON, exit status, files.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "SmfBytes.h"
#include "common/PathNames.h"
#include "common/SafeFile.h"

// The program's output is read as bytes on both systems, so a stray CR cannot hide.
#if defined(_WIN32)
#define popen _popen
#define pclose _pclose
#define EXIT_CODE(status) (status)
#define POPEN_READ_BYTES "rb"
// cmd /c drops the first and the last quote of a command line that starts with one.
#define SHELL_COMMAND(line) ("\"" + (line) + "\"")
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#define EXIT_CODE(status) WEXITSTATUS(status)
#define POPEN_READ_BYTES "r"
#define SHELL_COMMAND(line) (line)
#endif

namespace korvana {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"pop-8beat.mid", "refused-ppqn-480.mid",
                                 "refused-missing-note-off.mid", "shuffle-6-8.MID"})
            fs::copy_file(fs::path(KORVANA_SAMPLES) / name, m_folder.Path() / name);
    }

    // Runs korvana-cli in the test folder with the words after its name; before stands in front
    // of the program (a pipe into it, a command that runs it). The folder is entered by this
    // process rather than by the shell, whose `cd` differs between sh and cmd.
    CliRun Cli(const std::string& words, const std::string& before = "") const {
        const fs::path errFile = m_folder.Path() / ".stderr";
        const std::string command = (before.empty() ? std::string() : before + " ") + "\"" +
                                    std::string(KORVANA_CLI) + "\" " + words + " 2>\"" +
                                    errFile.string() + "\"";
        CliRun run{};
        const fs::path home = fs::current_path();
        fs::current_path(m_folder.Path());
        std::FILE* pipe = popen(SHELL_COMMAND(command).c_str(), POPEN_READ_BYTES);
        std::array<char, 4096> buffer;
        while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            run.out.append(buffer.data(), n);
        run.status = EXIT_CODE(pclose(pipe));
        fs::current_path(home);
        run.err = ReadFile(errFile);
        fs::remove(errFile);
        return run;
    }

    // The whole file, closed again before the test goes on: Windows keeps an open file from
    // being replaced or removed.
    static std::string ReadFile(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::set<std::string> Names(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(Utf8FromPath(entry.path().filename()));
        return names;
    }
    std::set<std::string> Names() const { return Names(m_folder.Path()); }

    TempFolder m_folder;
};

TEST_F(CliTest, CheckPrintsOneLinePerFileWithTheLogIndentedAndWritesNothing) {
    const auto before = Names();
    const CliRun run = Cli("check pop-8beat.mid refused-missing-note-off.mid");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "pop-8beat.mid: accepted\n"
              "refused-missing-note-off.mid: refused\n"
              "  refused-missing-note-off.mid Track 1 Error Back Find 0x9N 99 26\n");
    EXPECT_EQ(run.err, "Note Off Error!\n");
    EXPECT_EQ(Names(), before);
}

TEST_F(CliTest, CheckJsonHasOneObjectPerFileInOrder) {
    const CliRun run = Cli("check --json refused-ppqn-480.mid pop-8beat.mid");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "[\n"
              "  {\"file\": \"refused-ppqn-480.mid\", \"accepted\": false, \"result\": false, "
              "\"errors\": [\"Warning: PPQN is not 192\"], \"messages\": [\"Error: PPQN is not "
              "192\"]},\n"
              "  {\"file\": \"pop-8beat.mid\", \"accepted\": true, \"result\": true, \"errors\": "
              "[], \"messages\": []}\n"
              "]\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, AcceptedFilesExitZero) {
    const CliRun run = Cli("check pop-8beat.mid shuffle-6-8.MID");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "pop-8beat.mid: accepted\nshuffle-6-8.MID: accepted\n");
}

TEST_F(CliTest, UnopenableFileExitsTwoAfterTheOthers) {
    const CliRun json = Cli("check --json missing.mid pop-8beat.mid");
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(json.out,
              "[\n"
              "  {\"file\": \"missing.mid\", \"accepted\": false, \"error\": \"No such file or "
              "directory\"},\n"
              "  {\"file\": \"pop-8beat.mid\", \"accepted\": true, \"result\": true, \"errors\": "
              "[], \"messages\": []}\n"
              "]\n");
    const CliRun text = Cli("convert missing.mid");
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(text.out, "missing.mid: cannot be opened: No such file or directory\n");
    EXPECT_FALSE(fs::exists(m_folder.Path() / "missing.dat"));
}

TEST_F(CliTest, UsageErrors) {
    for (const char* words : {"check", "check --json", "check --text pop-8beat.mid",
                              "convert --bogus pop-8beat.mid", "convert"}) {
        SCOPED_TRACE(words);
        const CliRun run = Cli(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("korvana-cli --help"), std::string::npos);
    }
}

TEST_F(CliTest, FolderStandsForItsMidFilesOfAnyCaseInNameOrder) {
    const fs::path styles = m_folder.Path() / "styles";
    fs::create_directories(styles / "nested.mid");
    for (const char* name : {"b.MID", "a.mid", "C.Mid"})
        fs::copy_file(m_folder.Path() / "pop-8beat.mid", styles / name);
    fs::copy_file(m_folder.Path() / "pop-8beat.mid", styles / "notes.txt");
    fs::copy_file(m_folder.Path() / "pop-8beat.mid", styles / "nested.mid" / "d.mid");
    const auto before = Names(styles);
    const CliRun run = Cli("check styles");
    EXPECT_EQ(run.status, 0);
    const std::string sep(1, fs::path::preferred_separator);
    EXPECT_EQ(run.out, "styles" + sep + "C.Mid: accepted\nstyles" + sep +
                           "a.mid: accepted\nstyles" + sep + "b.MID: accepted\n");
    EXPECT_EQ(Names(styles), before);
}

// Names with Latin, Cyrillic and emoji letters reach the files and come back unchanged in the
// text and JSON output, on every system.
TEST_F(CliTest, NonAsciiNamesThroughCheckConvertFoldersAndJson) {
    const std::string sep(1, fs::path::preferred_separator);
    for (const std::string stem : {"Café au lait", "Привет", "Groove \xF0\x9F\x8E\xB9"}) {
        SCOPED_TRACE(stem);
        const std::string song = stem + ".mid";
        const std::string folder = "Стили " + stem;
        fs::copy_file(m_folder.Path() / "pop-8beat.mid", m_folder.Path() / PathFromUtf8(song));
        fs::create_directory(m_folder.Path() / PathFromUtf8(folder));
        fs::copy_file(m_folder.Path() / "pop-8beat.mid",
                      m_folder.Path() / PathFromUtf8(folder) / PathFromUtf8(song));
        const auto before = Names();

        const CliRun check = Cli("check \"" + song + "\" \"" + folder + "\"");
        EXPECT_EQ(check.status, 0);
        EXPECT_EQ(check.out, song + ": accepted\n" + folder + sep + song + ": accepted\n");
        const CliRun json = Cli("check --json \"" + song + "\"");
        EXPECT_EQ(json.out, "[\n  {\"file\": \"" + song +
                                "\", \"accepted\": true, \"result\": true, \"errors\": [], "
                                "\"messages\": []}\n]\n");
        EXPECT_EQ(Names(), before);

        const CliRun convert = Cli("convert \"" + song + "\"");
        EXPECT_EQ(convert.status, 0);
        EXPECT_EQ(convert.out, song + ": accepted\n");
        auto expected = before;
        expected.insert({stem + ".dat", stem + ".sty"});
        EXPECT_EQ(Names(), expected);  // named right, and no stray or empty file beside them
        EXPECT_EQ(fs::file_size(m_folder.Path() / PathFromUtf8(stem + ".dat")), 82u);
        EXPECT_GT(fs::file_size(m_folder.Path() / PathFromUtf8(stem + ".sty")), 0u);
        fs::remove_all(m_folder.Path() / PathFromUtf8(folder));
    }
}

TEST_F(CliTest, ConvertLeavesTheOutputsBesideTheFile) {
    const CliRun run = Cli("convert pop-8beat.mid");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "pop-8beat.mid: accepted\n");
    EXPECT_EQ(fs::file_size(m_folder.Path() / "pop-8beat.dat"), 82u);
    EXPECT_TRUE(fs::exists(m_folder.Path() / "pop-8beat.sty"));
    EXPECT_FALSE(fs::exists(m_folder.Path() / "pop-8beat.mid_Events.txt"));
}

TEST_F(CliTest, ConvertOptions) {
    EXPECT_EQ(Cli("convert --short-setup --dump pop-8beat.mid").status, 0);
    EXPECT_EQ(fs::file_size(m_folder.Path() / "pop-8beat.dat"), 68u);
    EXPECT_TRUE(fs::exists(m_folder.Path() / "pop-8beat.mid_Events.txt"));
    EXPECT_TRUE(fs::exists(m_folder.Path() / "pop-8beat.mid_AllEvents.txt"));

    EXPECT_EQ(Cli("convert --text pop-8beat.mid").status, 0);
    const std::string text = ReadFile(m_folder.Path() / "pop-8beat.dat");
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "/* PATTERN_DATA CONTROL_LIST__001 */\r\n");

    // The DRUM program (0) is kept raw: the first part setup byte at offset 24.
    EXPECT_EQ(Cli("convert --raw-drum pop-8beat.mid").status, 0);
    const std::string bytes = ReadFile(m_folder.Path() / "pop-8beat.dat");
    ASSERT_EQ(bytes.size(), 82u);
    EXPECT_EQ(bytes[24], 0);
}

TEST_F(CliTest, ConvertOfARefusedFileKeepsItsMessagesInJson) {
    const CliRun run = Cli("convert --json refused-missing-note-off.mid");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"result\": true, \"errors\": [\"refused-missing-note-off.mid Track "
                           "1 Error Back Find 0x9N 99 26\"], \"messages\": [\"Note Off Error!\"]"),
              std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, ConvertThatCannotWriteItsOutputsSaysSoAndFails) {
    fs::create_directory(m_folder.Path() / "pop-8beat.dat");
    const CliRun run = Cli("convert pop-8beat.mid");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "pop-8beat.mid: not converted: pop-8beat.dat: Is a directory\n");
    EXPECT_EQ(run.err, "Cannot Write Output Files\n");
    EXPECT_FALSE(fs::exists(m_folder.Path() / "pop-8beat.sty"));
    const CliRun json = Cli("convert --json pop-8beat.mid");
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find("\"accepted\": true, \"result\": false"), std::string::npos);
}

TEST_F(CliTest, OutputsLieBesideTheInputWhateverTheDotsOfItsFolder) {
    fs::create_directory(m_folder.Path() / "a.b");
    fs::copy_file(m_folder.Path() / "pop-8beat.mid", m_folder.Path() / "a.b" / "song");
    const auto before = Names();
    EXPECT_EQ(Cli("convert a.b/song").status, 0);
    EXPECT_EQ(Names(), before);
    EXPECT_EQ(Names(m_folder.Path() / "a.b"),
              (std::set<std::string>{"song", "song.dat", "song.sty"}));
}

#ifndef _WIN32
// Windows allows none of these names: control characters, quotes, backslashes and bytes that
// are not UTF-8.
TEST_F(CliTest, NamesAreEscapedInTextAndValidUtf8InJson) {
    const std::string name = "x\n\x1b[2J\xff\"\\\xc3\xa9.mid";  // \xc3\xa9 is e acute
    fs::copy_file(m_folder.Path() / "pop-8beat.mid", m_folder.Path() / name);
    const std::string quoted = "'" + name + "'";
    EXPECT_EQ(Cli("check " + quoted).out, "x\\n\\x1b[2J\\xff\"\\\xc3\xa9.mid: accepted\n");
    EXPECT_EQ(
        Cli("check --json " + quoted).out,
        "[\n  {\"file\": \"x\\n\\u001b[2J\xef\xbf\xbd\\\"\\\\\xc3\xa9.mid\", \"accepted\": true, "
        "\"result\": true, \"errors\": [], \"messages\": []}\n]\n");
}

TEST_F(CliTest, SongsAreReadOnlyFromRegularFiles) {
    ASSERT_EQ(mkfifo((m_folder.Path() / "fifo.mid").c_str(), 0600), 0);
    const CliRun direct = Cli("check fifo.mid");
    EXPECT_EQ(direct.status, 2);
    EXPECT_EQ(direct.out, "fifo.mid: cannot be opened: not a regular file\n");

    const CliRun piped = Cli("check /dev/stdin", "printf MThd |");
    EXPECT_EQ(piped.status, 2);
    EXPECT_EQ(piped.out, "/dev/stdin: cannot be opened: not a regular file\n");

    fs::create_directory(m_folder.Path() / "styles");
    fs::rename(m_folder.Path() / "fifo.mid", m_folder.Path() / "styles" / "a.mid");
    fs::copy_file(m_folder.Path() / "pop-8beat.mid", m_folder.Path() / "styles" / "b.mid");
    const CliRun folder = Cli("check styles");
    EXPECT_EQ(folder.status, 0);
    EXPECT_EQ(folder.out, "styles/b.mid: accepted\n");
    EXPECT_EQ(folder.err, "korvana-cli: styles/a.mid skipped: not a regular file\n");

    // Nor is an output written over anything but a regular file or a link.
    fs::rename(m_folder.Path() / "styles" / "a.mid", m_folder.Path() / "pop-8beat.dat");
    const CliRun output = Cli("convert pop-8beat.mid");
    EXPECT_EQ(output.status, 1);
    EXPECT_EQ(output.out, "pop-8beat.mid: not converted: pop-8beat.dat: not a regular file\n");
    EXPECT_TRUE(fs::is_fifo(m_folder.Path() / "pop-8beat.dat"));
}

TEST_F(CliTest, UnreadableFolderIsAnInputThatCannotBeOpened) {
    fs::create_directory(m_folder.Path() / "locked");
    fs::permissions(m_folder.Path() / "locked", fs::perms::none);
    // Root reads any folder: run as nobody there.
    const CliRun run =
        Cli("check locked pop-8beat.mid",
            geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "locked: cannot be opened: Permission denied\npop-8beat.mid: accepted\n");
}

TEST_F(CliTest, LinkAtAnOutputIsReplacedNeverWrittenThrough) {
    TempFolder elsewhere;
    const fs::path victim = elsewhere.Path() / "victim.dat";
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, m_folder.Path() / "pop-8beat.dat");
    fs::create_symlink(victim, m_folder.Path() / "refused-ppqn-480.dat");
    fs::create_symlink(elsewhere.Path() / "new.sty", m_folder.Path() / "pop-8beat.sty");
    EXPECT_EQ(Cli("convert refused-ppqn-480.mid pop-8beat.mid").status, 1);
    EXPECT_FALSE(fs::is_symlink(m_folder.Path() / "pop-8beat.dat"));
    EXPECT_EQ(fs::file_size(m_folder.Path() / "pop-8beat.dat"), 82u);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(m_folder.Path() / "pop-8beat.sty")));
    EXPECT_TRUE(fs::is_symlink(m_folder.Path() / "refused-ppqn-480.dat"));
    EXPECT_EQ(Names(elsewhere.Path()), std::set<std::string>{"victim.dat"});
    std::ifstream kept(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
}
#endif

TEST_F(CliTest, HelpDocumentsBothCommands) {
    const CliRun run = Cli("check --help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("korvana-cli convert [--text] [--short-setup] [--raw-drum] [--dump] "
                           "[--json] FILE..."),
              std::string::npos);
    EXPECT_NE(run.out.find("korvana-cli check [--json] FILE..."), std::string::npos);
}

TEST_F(CliTest, FixWritesAnAcceptedSongPerFileIntoOutAndSaysEachChange) {
    const auto before = Names();
    const CliRun run = Cli("fix --out fixed pop-8beat.mid refused-missing-note-off.mid");
    EXPECT_EQ(run.status, 0);
    const std::string sep(1, fs::path::preferred_separator);
    EXPECT_EQ(run.out,
              "pop-8beat.mid: accepted as it is -> fixed" + sep +
                  "pop-8beat.mid\n"
                  "refused-missing-note-off.mid: fixed -> fixed" +
                  sep +
                  "refused-missing-note-off.mid\n"
                  "  Closed 1 note on channel 10 that had no note-off, at the next note-on of the "
                  "same key or at the end of the track.\n");
    EXPECT_EQ(test::ReadBytes(m_folder.Path() / "fixed" / "pop-8beat.mid"),
              test::ReadBytes(m_folder.Path() / "pop-8beat.mid"));
    EXPECT_EQ(Names(m_folder.Path() / "fixed"),
              (std::set<std::string>{"pop-8beat.mid", "refused-missing-note-off.mid"}));
    auto withOut = before;
    withOut.insert("fixed");
    EXPECT_EQ(Names(), withOut);
    EXPECT_EQ(Cli("check fixed").status, 0);
}

TEST_F(CliTest, FixJsonNamesWhatCannotBeReadFixedOrWrittenAndNeverReplacesAFile) {
    test::WriteBytes(m_folder.Path() / "format2.mid",
                     {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 2, 0, 0, 0, 192});
    fs::create_directories(m_folder.Path() / "fixed");
    test::WriteBytes(m_folder.Path() / "fixed" / "refused-ppqn-480.mid", {'k', 'e', 'p', 't'});
    const CliRun run = Cli("fix --json --out fixed missing.mid format2.mid refused-ppqn-480.mid");
    EXPECT_EQ(run.status, 2);
    // As JSON writes it: Windows' separator is a backslash, escaped.
    std::string out = Utf8FromPath(fs::path("fixed") / "refused-ppqn-480.mid");
    for (std::size_t at = out.find('\\'); at != std::string::npos; at = out.find('\\', at + 2))
        out.insert(at, 1, '\\');
    EXPECT_EQ(
        run.out,
        "[\n"
        "  {\"file\": \"missing.mid\", \"accepted\": false, \"error\": \"No such file or "
        "directory\"},\n"
        "  {\"file\": \"format2.mid\", \"accepted\": false, \"changes\": [], \"errors\": "
        "[\"It is a format 2 file, a set of separate songs, which makes no one pattern.\"]},\n"
        "  {\"file\": \"refused-ppqn-480.mid\", \"accepted\": false, \"changes\": [], "
        "\"errors\": [\"" +
            out +
            " exists already; it was left as it is.\"]}\n"
            "]\n");
    EXPECT_EQ(test::ReadBytes(m_folder.Path() / "fixed" / "refused-ppqn-480.mid"),
              (test::Bytes{'k', 'e', 'p', 't'}));
    EXPECT_EQ(Cli("fix --out fixed format2.mid").status, 1);
    EXPECT_EQ(Names(m_folder.Path() / "fixed"), std::set<std::string>{"refused-ppqn-480.mid"});
}

TEST_F(CliTest, FixUsageErrorsWriteNothing) {
    const auto before = Names();
    for (const char* words :
         {"fix pop-8beat.mid", "fix --out . pop-8beat.mid", "fix --out fixed",
          "fix --out fixed --map 1=CHORD5 pop-8beat.mid", "fix --out fixed --map 1=BASS,2=12 x.mid",
          "fix --out fixed --tempo 3 pop-8beat.mid", "fix --out fixed --timesig 4/3 pop-8beat.mid",
          "fix --out fixed --timesig 16/4 pop-8beat.mid", "fix --out fixed --bogus pop-8beat.mid",
          "fix --out fixed --tempo"}) {
        SCOPED_TRACE(words);
        const CliRun run = Cli(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("korvana-cli --help"), std::string::npos);
    }
    EXPECT_EQ(Names(), before);
}

TEST_F(CliTest, FixMapsTempoAndTimeSignatureAsAsked) {
    // A tempo-less, time-signature-less song with one note on channel 1.
    test::WriteBytes(m_folder.Path() / "bare.mid",
                     {'M',  'T',  'h',  'd',  0,    0,    0,    6,    0,    0,   0,    1,
                      0,    192,  'M',  'T',  'r',  'k',  0,    0,    0,    12,  0x00, 0x90,
                      0x30, 0x64, 0x60, 0x80, 0x30, 0x40, 0x60, 0xFF, 0x2F, 0x00});
    const CliRun run =
        Cli("fix --json --out fixed --map 1=chord2 --tempo 100 --timesig 6/8 bare.mid");
    EXPECT_EQ(run.status, 0);
    for (const char* line : {"Moved channel 1 (1 note) to CHORD2 (channel 14), as asked.",
                             "Inserted the time signature 6/8 into track 0: the song had none.",
                             "Inserted the tempo 100 BPM into track 0: the song had none."})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace korvana
