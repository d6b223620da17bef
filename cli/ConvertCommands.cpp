// korvana-cli convert and check: one outcome per song file, as text lines or one JSON array.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "cli/JsonText.h"
#include "cli/PrintableText.h"
#include "common/InputFile.h"
#include "common/PathNames.h"
#include "common/Prompt.h"
#include "conversion/CMidiPattern.h"

namespace korvana::cli {

namespace fs = std::filesystem;

namespace {

struct SongOptions {
    ConversionOptions conversion = ConversionOptions::Application();
    bool json = false;
};

struct SongOutcome {
    explicit SongOutcome(std::string name) : file(std::move(name)) {}

    std::string file;
    std::optional<std::string> openError;  // set when the file could not be opened
    ConversionOutcome conversion;

    bool Accepted() const { return !openError && conversion.Accepted(); }
    // A convert that could not write the outputs of a song it did not refuse.
    bool NotConverted() const { return !conversion.writeFailure.empty(); }
};

bool EndsWithMidIgnoringCase(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string ending = name.substr(name.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return ending == ".mid";
}

}  // namespace

std::vector<SongArgument> ExpandFolders(const std::vector<std::string>& words) {
    std::vector<SongArgument> inputs;
    for (const std::string& word : words) {
        std::error_code error;
        const fs::path folder = PathFromUtf8(word);
        if (!fs::is_directory(folder, error)) {
            inputs.push_back({word, std::nullopt});
            continue;
        }
        std::vector<std::string> names;
        fs::directory_iterator entries(folder, error);
        for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
            const fs::directory_entry& entry = *entries;
            const std::string name = Utf8FromPath(entry.path().filename());
            if (!EndsWithMidIgnoringCase(name))
                continue;
            // The entry's type comes with the listing: no call per file unless it is a link.
            std::error_code typeError;
            if (entry.is_regular_file(typeError))
                names.push_back(name);
            else if (!entry.is_directory(typeError))
                std::fprintf(stderr, "korvana-cli: %s skipped: not a regular file\n",
                             PrintablePath(entry.path()).c_str());
        }
        if (error) {
            inputs.push_back({word, error.message()});
            continue;
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            inputs.push_back({Utf8FromPath(folder / PathFromUtf8(name)), std::nullopt});
    }
    return inputs;
}

std::optional<std::string> OpenError(const std::string& file) {
    const InputFile input{PathFromUtf8(file)};
    if (!input.IsOpen())
        return input.Error().message();
    return std::nullopt;
}

namespace {

// Splits the words into options (only those allowed) and files; false after a usage error.
bool ParseWords(const std::vector<std::string>& words, bool convertOptions, SongOptions& options,
                std::vector<std::string>& files, int& status) {
    for (const std::string& word : words) {
        if (word == "--json")
            options.json = true;
        else if (convertOptions && word == "--text")
            options.conversion.m_bBinaryOutput = false;
        else if (convertOptions && word == "--short-setup")
            options.conversion.m_bShortPartSetup = true;
        else if (convertOptions && word == "--raw-drum")
            options.conversion.m_bRawDrumProgram = true;
        else if (convertOptions && word == "--dump")
            options.conversion.m_bDumpEvents = true;
        else if (word.size() > 1 && word[0] == '-')
            return (status = UsageError("unknown option '" + word + "'")), false;
        else
            files.push_back(word);
    }
    if (files.empty())
        return (status = UsageError("no FILE given")), false;
    return true;
}

SongOutcome ConvertBeside(const std::string& file, const ConversionOptions& options) {
    SongOutcome outcome(file);
    CMidiPattern converter(options);
    converter.AddInputFile(file);
    try {
        outcome.conversion = converter.Convert();
    } catch (const fs::filesystem_error& failure) {
        outcome.openError = failure.code().message();
    }
    return outcome;
}

// A check writes nothing and opens each file once: one that cannot be opened is reported from
// the conversion's own open.
SongOutcome Check(const std::string& file) {
    ConversionOptions options = ConversionOptions::Application();
    options.m_bWriteFiles = false;
    return ConvertBeside(file, options);
}

void PrintText(const SongOutcome& outcome) {
    outcome.conversion.ShowMessages(Prompt());  // the process's prompt prints them on stderr
    const std::string file = Printable(outcome.file);
    if (outcome.openError) {
        std::printf("%s: cannot be opened: %s\n", file.c_str(),
                    Printable(*outcome.openError).c_str());
        return;
    }
    if (outcome.NotConverted()) {
        std::printf("%s: not converted: %s\n", file.c_str(),
                    Printable(outcome.conversion.writeFailure).c_str());
        return;
    }
    std::printf("%s: %s\n", file.c_str(), outcome.Accepted() ? "accepted" : "refused");
    for (const std::string& entry : outcome.conversion.Errors())
        std::printf("  %s\n", Printable(entry).c_str());
}

std::string JsonObject(const SongOutcome& outcome) {
    std::string object = "{\"file\": " + JsonQuoted(outcome.file) + ", \"accepted\": ";
    if (outcome.openError)
        return object + "false, \"error\": " + JsonQuoted(*outcome.openError) + "}";
    object += outcome.Accepted() ? "true" : "false";
    object += ", \"result\": ";
    object += outcome.conversion.result ? "true" : "false";
    return object + ", \"errors\": " + JsonArray(outcome.conversion.Errors()) +
           ", \"messages\": " + JsonArray(outcome.conversion.Messages()) + "}";
}

int RunSongs(const std::vector<std::string>& words, bool convert) {
    SongOptions options;
    std::vector<std::string> files;
    int status = kExitOk;
    if (!ParseWords(words, convert, options, files, status))
        return status;
    bool refused = false;
    bool unopened = false;
    if (options.json)
        std::printf("[");
    bool first = true;
    for (const SongArgument& input : ExpandFolders(files)) {
        SongOutcome outcome(input.path);
        // A convert first checks that its outputs can be written: an input that cannot be
        // opened must be told before that.
        outcome.openError = input.openError ? input.openError
                            : convert       ? OpenError(input.path)
                                            : std::nullopt;
        if (!outcome.openError)
            outcome = convert ? ConvertBeside(input.path, options.conversion) : Check(input.path);
        unopened = unopened || outcome.openError.has_value();
        refused = refused || !outcome.Accepted() || outcome.NotConverted();
        if (options.json) {
            std::printf("%s\n  %s", first ? "" : ",", JsonObject(outcome).c_str());
            first = false;
        } else {
            PrintText(outcome);
        }
        std::fflush(stdout);
    }
    if (options.json)
        std::printf("%s]\n", first ? "" : "\n");
    return unopened ? kExitUsage : refused ? kExitRefused : kExitOk;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
    return RunSongs(args, true);
}
int RunCheck(const std::vector<std::string>& args) {
    return RunSongs(args, false);
}

}  // namespace korvana::cli
