// korvana-cli: checks and converts style files, and talks to the keyboard from a terminal.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Commands.h"
#include "cli/PrintableText.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr const char* kUsage = R"(Usage:
  korvana-cli convert [--text] [--short-setup] [--raw-drum] [--dump] [--json] FILE...
  korvana-cli check [--json] FILE...
  korvana-cli fix [--json] --out DIR [--map CH=PART[,CH=PART...]] [--tempo BPM]
                  [--timesig N/D] FILE...
  korvana-cli [--api NAME] ports [--json]
  korvana-cli [--api NAME] --in PORT --out PORT connect
  korvana-cli [--api NAME] --in PORT --out PORT list [--json]
  korvana-cli [--api NAME] --in PORT --out PORT send [--verify] FILE SLOT
  korvana-cli [--api NAME] --in PORT --out PORT delete SLOT
  korvana-cli [--api NAME] --in PORT --out PORT fetch SLOT OUTFILE
  korvana-cli [--api NAME] --in PORT --out PORT backup [--json] DIR
  korvana-cli [--api NAME] --in PORT --out PORT restore [--json] [--exact] [--verify] DIR

Song files:
  convert   Converts each FILE on its own and leaves the control file (FILE's base + "dat")
            and the pattern file (base + "sty") beside it, base being FILE up to and including
            the last '.' of its name (a name without one gets one). Both are written whole and
            only for an accepted song; a link at an output's name is replaced, not followed.
              --text         write the control list as text (18-byte pattern header)
              --short-setup  6 instead of 8 bytes per part setup in the control entry
              --raw-drum     keep the DRUM part's program number as it stands
              --dump         also write FILE_Events.txt and FILE_AllEvents.txt
  check     Tells whether the keyboard accepts each FILE and, if not, why (every entry of the
            error log, in order). Nothing is written or left beside FILE.
  fix       Writes a song the keyboard accepts for each FILE to DIR/<FILE's name>, checked:
            an accepted FILE is copied unchanged, a refused one is repaired and each change
            told in one line (rescaled to 192 ticks per quarter note; tracks split or merged to
            one per channel; channels moved to free parts; time signature and tempo moved into
            track 0 or inserted; notes closed or cut; End of Track added). DIR is made when
            missing, must not be a FILE's folder, and nothing in it is ever replaced. Parts by
            default: channels 10 to 16 keep theirs; drum-kit channels (bank 120 or 127) go to
            DRUM, then PERCUSSION; the lowest average pitch to BASS; the rest, most notes first,
            to CHORD1 to CHORD4; past seven, the channels with the fewest notes are dropped.
              --map CH=PART  CH 1 to 16 to DRUM, PERCUSSION, BASS, CHORD1 to CHORD4, a channel
                             10 to 16, or drop
              --tempo BPM    inserted when the song has none (default 120, 4 to 999)
              --timesig N/D  inserted when the song has none (default 4/4)
            Lines: "FILE: fixed -> OUT", "FILE: accepted as it is -> OUT" or "FILE: cannot be
            fixed", then the changes and errors indented. --json: one array, one object per FILE,
            {"file", "out" (when written), "accepted", "changes": [...], "errors": [...]}.
            Exit status: 0 every FILE has an accepted song in DIR, 1 some has none, 2 usage.
  A FILE that is a folder stands for every file in it whose name ends in ".mid" (any case),
  in name order, not recursive; entries that are not regular files are skipped (said on
  stderr). Only regular files are songs: a FIFO, device or pipe cannot be opened.
  Without --json: one line per FILE, "FILE: accepted" or "FILE: refused", then the log entries
  indented ("FILE: cannot be opened: <reason>" for a FILE that cannot be read, "FILE: not
  converted: <reason>" when the outputs could not be written); message texts go to stderr.
  Control characters and bytes that are not UTF-8 are printed escaped (\n, \x1b, ...).
  With --json, stdout is one JSON array with one object
  per FILE: {"file", "accepted", "result", "errors": [...], "messages": [...]}; a FILE that
  cannot be opened gives {"file", "accepted": false, "error": "<reason>"}. Strings are valid
  UTF-8: bytes that are not UTF-8 become U+FFFD, control characters are escaped.

Keyboard:
  ports     Lists the MIDI input and output ports ("in N<TAB>NAME", "out N<TAB>NAME").
  connect   Opens the port pair, shakes hands and prints the keyboard's name.
  list      Prints one line per slot, "INDEX<TAB>NAME" ("Empty" for a free slot);
            with --json: [{"slot": 0, "name": "..."}, ...].
  send      Sends FILE into SLOT, with progress on a terminal: a FILE ending in ".mid" (any
            case) converted, a song image ending in ".mix" (any case) byte for byte as it is,
            after checking that it is well formed (if not: exit 2, nothing sent). Nothing is
            written beside FILE.
              --verify  fetch SLOT back afterwards and compare it with what was sent; a
                        difference prints "SLOT N: verify failed at byte X" (or "SLOT N: verify
                        failed: length A, sent B") on stderr and exits 1
  delete    Deletes the song in SLOT.
  fetch     Fetches the song image in SLOT and writes it whole to OUTFILE.
  backup    Fetches every occupied slot into DIR/slot-NNN.mix (NNN the slot number, three
            digits), each written whole, then DIR/backup.json, the manifest, last:
            {"format": "korvana-backup", "version": 1, "device", "created", "slots": [{"slot",
            "name", "file", "size", "sha256"}, ...], "empty": [N, ...]}. DIR must not exist or
            be empty (else exit 2, nothing written). A slot that cannot be fetched leaves no
            file, the others are still fetched, the manifest adds "failed": [N, ...], exit 1.
              --json   print the manifest on stdout
  restore   Checks that every file DIR/backup.json lists is there with its size and SHA-256
            (if not: the file is named on stderr, exit 1, nothing sent), then sends each into
            its slot in ascending order, as send does. A failing slot is reported and the
            others still go; exit 1 if any failed.
              --exact  afterwards, also delete the slots the backup lists as empty
              --verify verify each send as send --verify does
              --json   print {"restored": [N...], "failed": [{"slot": N, "error": "..."}],
                       "deleted": [N...]} on stdout
  On a terminal, backup and restore show the slot they are at (i of n) and its bytes.
  PORT is a port number or a case-insensitive part of a port name (first match). Every
  keyboard command opens the pair and runs the connect handshake first.
  --api NAME  MIDI system: alsa, jack, coremidi or winmm (default: the environment variable
              KORVANA_MIDI_API, else the platform's default).

Ctrl+C during a keyboard command stops its transfer after the chunk in flight and says what the
slot holds; a second Ctrl+C ends the program at once.
Exit status: 0 success (every FILE accepted, and converted by convert), 1 a FILE refused or not
converted, or the keyboard refused or did not answer in time, 2 a usage error or a FILE that
could not be opened, 130 a keyboard command stopped by Ctrl+C.
)";

bool TakeValue(const std::vector<std::string>& words, std::size_t& i,
               std::optional<std::string>& into) {
    if (i + 1 >= words.size())
        return false;
    into = words[++i];
    return true;
}

}  // namespace

namespace korvana::cli {

int UsageError(const std::string& text) {
    std::fprintf(stderr, "korvana-cli: %s\nTry 'korvana-cli --help'.\n", Printable(text).c_str());
    return kExitUsage;
}

}  // namespace korvana::cli

int main(int argc, char** argv) {
    using namespace korvana::cli;
#ifdef _WIN32
    // Lines end in LF as on other systems: text and JSON output are the same bytes everywhere.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const std::vector<std::string> words(argv + 1, argv + argc);
    GlobalOptions options;
    std::size_t i = 0;
    for (; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        if (word == "--api") {
            if (!TakeValue(words, i, options.api))
                return UsageError("--api needs a NAME");
        } else if (word == "--in") {
            if (!TakeValue(words, i, options.inPort))
                return UsageError("--in needs a PORT");
        } else if (word == "--out") {
            if (!TakeValue(words, i, options.outPort))
                return UsageError("--out needs a PORT");
        } else {
            break;
        }
    }
    if (i >= words.size())
        return UsageError("no command given");

    const std::string command = words[i];
    const std::vector<std::string> rest(words.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                        words.end());
    for (const std::string& word : rest) {
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
    }
    if (!options.api) {
        if (const char* env = std::getenv("KORVANA_MIDI_API"); env && *env)
            options.api = env;
    }

    if (command == "convert" || command == "check") {
        if (options.inPort || options.outPort)
            return UsageError("--in and --out belong to the keyboard commands");
        return command == "convert" ? RunConvert(rest) : RunCheck(rest);
    }
    if (command == "fix") {
        if (options.inPort || options.outPort)
            return UsageError(
                "--in and --out PORT belong to the keyboard commands; fix takes --out "
                "DIR after its name");
        return RunFix(rest);
    }
    if (command == "ports" || command == "connect" || command == "list" || command == "send" ||
        command == "delete" || command == "fetch" || command == "backup" || command == "restore")
        return RunDeviceCommand(command, options, rest);
    return UsageError("unknown command '" + command + "'");
}
