// korvana-cli convert and check: one outcome per song file, as text lines or one JSON array.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CMidiPattern.h"
#include "Commands.h"
#include "JsonText.h"
#include "PathNames.h"
#include "PrivateConversion.h"
#include "RecordingPrompt.h"

namespace korvana::cli {

namespace fs = std::filesystem;

namespace {

struct SongOptions {
    bool text = false;
    bool shortSetup = false;
    bool rawDrum = false;
    bool dump = false;
    bool json = false;
};

struct SongOutcome {
    explicit SongOutcome(std::string name) : file(std::move(name)) {}

    std::string file;
    std::optional<std::string> openError;  // set when the file could not be opened
    bool result = false;
    std::vector<std::string> errors;
    std::vector<std::string> messages;

    bool Accepted() const { return !openError && errors.empty(); }
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

std::vector<std::string> ExpandFolders(const std::vector<std::string>& words) {
    std::vector<std::string> files;
    for (const std::string& word : words) {
        std::error_code error;
        const fs::path folder = PathFromUtf8(word);
        if (!fs::is_directory(folder, error)) {
            files.push_back(word);
            continue;
        }
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            const std::string name = Utf8FromPath(entry.path().filename());
            if (EndsWithMidIgnoringCase(name) && !entry.is_directory(error))
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            files.push_back(Utf8FromPath(folder / PathFromUtf8(name)));
    }
    return files;
}

std::optional<std::string> OpenError(const std::string& file) {
    std::error_code error;
    if (fs::is_directory(PathFromUtf8(file), error))
        return std::string(std::strerror(EISDIR));
    std::FILE* handle = OpenFile(PathFromUtf8(file), "rb");
    if (!handle)
        return std::string(std::strerror(errno));
    std::fclose(handle);
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
            options.text = true;
        else if (convertOptions && word == "--short-setup")
            options.shortSetup = true;
        else if (convertOptions && word == "--raw-drum")
            options.rawDrum = true;
        else if (convertOptions && word == "--dump")
            options.dump = true;
        else if (word.size() > 1 && word[0] == '-')
            return (status = UsageError("unknown option '" + word + "'")), false;
        else
            files.push_back(word);
    }
    if (files.empty())
        return (status = UsageError("no FILE given")), false;
    return true;
}

SongOutcome ConvertBeside(const std::string& file, const SongOptions& options) {
    SongOutcome outcome(file);
    RecordingPrompt prompt;
    const ScopedPrompt scope(prompt);
    CMidiPattern converter;
    converter.m_bBinaryOutput = !options.text;
    converter.m_bShortPartSetup = options.shortSetup;
    converter.m_bRawDrumProgram = options.rawDrum;
    converter.m_bDumpEvents = options.dump;
    converter.AddInputFile(file);
    try {
        outcome.result = converter.Convert();
    } catch (const fs::filesystem_error& failure) {
        outcome.openError = failure.code().message();
    }
    outcome.errors = converter.m_errors;
    outcome.messages = prompt.m_texts;
    return outcome;
}

SongOutcome CheckPrivately(const std::string& file) {
    SongOutcome outcome(file);
    RecordingPrompt prompt;
    const ScopedPrompt scope(prompt);
    PrivateConversion conversion = ConvertPrivately(PathFromUtf8(file));
    outcome.result = conversion.result;
    outcome.errors = std::move(conversion.errors);
    outcome.messages = prompt.m_texts;
    return outcome;
}

void PrintText(const SongOutcome& outcome) {
    for (const std::string& message : outcome.messages)
        std::fprintf(stderr, "%s\n", message.c_str());
    if (outcome.openError) {
        std::printf("%s: cannot be opened: %s\n", outcome.file.c_str(), outcome.openError->c_str());
        return;
    }
    std::printf("%s: %s\n", outcome.file.c_str(), outcome.Accepted() ? "accepted" : "refused");
    for (const std::string& entry : outcome.errors)
        std::printf("  %s\n", entry.c_str());
}

std::string JsonObject(const SongOutcome& outcome) {
    std::string object = "{\"file\": " + JsonQuoted(outcome.file) + ", \"accepted\": ";
    if (outcome.openError)
        return object + "false, \"error\": " + JsonQuoted(*outcome.openError) + "}";
    object += outcome.Accepted() ? "true" : "false";
    object += ", \"result\": ";
    object += outcome.result ? "true" : "false";
    return object + ", \"errors\": " + JsonArray(outcome.errors) +
           ", \"messages\": " + JsonArray(outcome.messages) + "}";
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
    for (const std::string& file : ExpandFolders(files)) {
        SongOutcome outcome(file);
        outcome.openError = OpenError(file);
        if (!outcome.openError)
            outcome = convert ? ConvertBeside(file, options) : CheckPrivately(file);
        unopened = unopened || outcome.openError.has_value();
        refused = refused || !outcome.Accepted();
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
