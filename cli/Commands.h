#pragma once

// The subcommands of korvana-cli. Each returns the process exit status:
// 0 success (every FILE accepted), 1 refused / no answer in time, 2 usage error or unusable input.

#include <optional>
#include <string>
#include <vector>

namespace korvana::cli {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// Options that stand before the subcommand.
struct GlobalOptions {
    std::optional<std::string> api;      // --api NAME, else the environment's KORVANA_MIDI_API
    std::optional<std::string> inPort;   // --in PORT
    std::optional<std::string> outPort;  // --out PORT
};

// Prints "korvana-cli: <text>" and the hint to --help on stderr; returns kExitUsage.
int UsageError(const std::string& text);

// A song file that the command line names, or a folder that cannot be listed (openError).
struct SongArgument {
    std::string path;
    std::optional<std::string> openError;
};

// The song files that words name: a folder stands for its *.mid files (any case), in name order,
// not recursive; its entries that are not regular files are skipped with a line on stderr.
std::vector<SongArgument> ExpandFolders(const std::vector<std::string>& words);
// Why file cannot be opened for reading, or nothing when it can. Only a regular file can be a
// song, and finding that out never waits on a FIFO or a device.
std::optional<std::string> OpenError(const std::string& file);

// args are the words after the subcommand's name.
int RunConvert(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunFix(const std::vector<std::string>& args);

// command is one of ports, connect, list, send, delete, fetch, backup, restore.
int RunDeviceCommand(const std::string& command, const GlobalOptions& options,
                     const std::vector<std::string>& args);

}  // namespace korvana::cli
