// korvana-cli fix: writes a song the keyboard accepts for each FILE into a folder of its own,
// saying what was changed, as text lines or one JSON array.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "Commands.h"
#include "cli/JsonText.h"
#include "cli/PrintableText.h"
#include "common/PathNames.h"
#include "common/SafeFile.h"
#include "conversion/ChannelMapping.h"
#include "conversion/SongFix.h"

namespace korvana::cli {
namespace {

namespace fs = std::filesystem;

struct FixRequest {
    bool json = false;
    std::optional<fs::path> out;
    RepairOptions repair;
    std::vector<std::string> files;
};

struct FixOutcome {
    std::string file;
    std::optional<std::string> openError;  // set when the file could not be read
    std::optional<std::string> out;        // where the accepted song was written
    bool unchanged = false;
    std::vector<std::string> changes;
    std::vector<std::string> errors;
};

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    return value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
}

// "N/D": a numerator from 1 to 15 over a denominator 1, 2, 4 ... 64.
bool ParseTimeSignature(const std::string& text, RepairOptions& options) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    const auto numerator = WholeNumber(text.substr(0, slash), 1, 15);
    const auto denominator = WholeNumber(text.substr(slash + 1), 1, 64);
    if (!numerator || !denominator || (*denominator & (*denominator - 1)) != 0)
        return false;
    options.timeSigNumerator = *numerator;
    options.timeSigDenominator = *denominator;
    return true;
}

// The words after "fix"; a usage error text, or nothing when they fit.
std::optional<std::string> ParseFixWords(const std::vector<std::string>& words,
                                         FixRequest& request) {
    std::string map;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "--json") {
            request.json = true;
        } else if (word == "--out" || word == "--map" || word == "--tempo" || word == "--timesig") {
            if (!hasValue)
                return word + " needs a value";
            const std::string& value = words[++i];
            if (word == "--out") {
                request.out = PathFromUtf8(value);
            } else if (word == "--map") {
                map += (map.empty() ? "" : ",") + value;
            } else if (word == "--tempo") {
                const auto bpm = WholeNumber(value, 4, 999);
                if (!bpm)
                    return "--tempo must be a whole number of beats per minute from 4 to 999, not "
                           "'" +
                           value + "'";
                request.repair.tempoBpm = *bpm;
            } else if (!ParseTimeSignature(value, request.repair)) {
                return "--timesig must be N/D with N from 1 to 15 and D 1, 2, 4, 8, 16, 32 or 64, "
                       "not '" +
                       value + "'";
            }
        } else if (word.size() > 1 && word[0] == '-') {
            return "unknown option '" + word + "'";
        } else {
            request.files.push_back(word);
        }
    }
    if (!map.empty()) {
        std::string error;
        const std::optional<ChannelChoices> choices = ParseChannelChoices(map, error);
        if (!choices)
            return "--map: " + error;
        request.repair.channels = *choices;
    }
    if (!request.out)
        return "fix needs --out DIR, the folder for the fixed songs";
    if (request.files.empty())
        return "no FILE given";
    return std::nullopt;
}

FixOutcome FixOne(const SongArgument& argument, const FixRequest& request) {
    FixOutcome outcome;
    const std::string& file = argument.path;
    outcome.file = file;
    if ((outcome.openError = argument.openError))
        return outcome;
    std::error_code readError;
    std::optional<std::vector<std::uint8_t>> song = ReadWholeFile(PathFromUtf8(file), readError);
    if (!song) {
        outcome.openError = readError.message();
        return outcome;
    }
    SongFix fix = FixSong(file, std::move(*song), request.repair);
    outcome.errors = std::move(fix.errors);
    if (!fix.fixable)
        return outcome;
    const fs::path target = *request.out / PathFromUtf8(file).filename();
    switch (WriteNewFile(target, fix.bytes)) {
        case NewFileResult::Written:
            outcome.out = Utf8FromPath(target);
            outcome.unchanged = fix.unchanged;
            outcome.changes = std::move(fix.changes);
            break;
        case NewFileResult::Exists:
            outcome.errors.push_back(Utf8FromPath(target) +
                                     " exists already; it was left as it is.");
            break;
        case NewFileResult::Failed:
            outcome.errors.push_back(Utf8FromPath(target) + " could not be written.");
            break;
    }
    return outcome;
}

void PrintText(const FixOutcome& outcome) {
    const std::string file = Printable(outcome.file);
    const std::string out = outcome.out ? Printable(*outcome.out) : std::string();
    if (outcome.openError)
        std::printf("%s: cannot be opened: %s\n", file.c_str(),
                    Printable(*outcome.openError).c_str());
    else if (!outcome.out)
        std::printf("%s: cannot be fixed\n", file.c_str());
    else if (outcome.unchanged)
        std::printf("%s: accepted as it is -> %s\n", file.c_str(), out.c_str());
    else
        std::printf("%s: fixed -> %s\n", file.c_str(), out.c_str());
    for (const std::string& line : outcome.changes)
        std::printf("  %s\n", Printable(line).c_str());
    for (const std::string& line : outcome.errors)
        std::printf("  %s\n", Printable(line).c_str());
}

std::string JsonObject(const FixOutcome& outcome) {
    std::string object = "{\"file\": " + JsonQuoted(outcome.file);
    if (outcome.openError)
        return object + ", \"accepted\": false, \"error\": " + JsonQuoted(*outcome.openError) + "}";
    if (outcome.out)
        object += ", \"out\": " + JsonQuoted(*outcome.out);
    object += outcome.out ? ", \"accepted\": true" : ", \"accepted\": false";
    return object + ", \"changes\": " + JsonArray(outcome.changes) +
           ", \"errors\": " + JsonArray(outcome.errors) + "}";
}

}  // namespace

int RunFix(const std::vector<std::string>& args) {
    FixRequest request;
    if (const auto error = ParseFixWords(args, request))
        return UsageError(*error);
    const std::vector<SongArgument> files = ExpandFolders(request.files);
    std::error_code ec;
    std::optional<fs::path> checked;  // the files of a folder follow one another
    for (const SongArgument& argument : files) {
        const std::string& file = argument.path;
        const fs::path folder = PathFromUtf8(file).parent_path();
        if (checked == folder)
            continue;
        checked = folder;
        if (fs::equivalent(folder.empty() ? fs::path(".") : folder, *request.out, ec))
            return UsageError("--out " + Utf8FromPath(*request.out) + " is the folder of " + file +
                              "; fixed songs are never written beside the originals");
    }
    fs::create_directories(*request.out, ec);
    if (!fs::is_directory(*request.out, ec))
        return UsageError("--out " + Utf8FromPath(*request.out) +
                          " is not a folder that can be made");

    bool unopened = false;
    bool unfixed = false;
    if (request.json)
        std::printf("[");
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FixOutcome outcome = FixOne(files[i], request);
        unopened = unopened || outcome.openError.has_value();
        unfixed = unfixed || !outcome.out;
        if (request.json)
            std::printf("%s\n  %s", i ? "," : "", JsonObject(outcome).c_str());
        else
            PrintText(outcome);
        std::fflush(stdout);
    }
    if (request.json)
        std::printf("%s]\n", files.empty() ? "" : "\n");
    return unopened ? kExitUsage : unfixed ? kExitRefused : kExitOk;
}

}  // namespace korvana::cli
