#include "PrivateConversion.h"

#include <system_error>

#include "CMidiPattern.h"
#include "SafeFile.h"

namespace korvana {
namespace fs = std::filesystem;

namespace {

// The converter's base: the path up to and including its last '.'.
std::string BaseOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(0, dot + 1);
}

// Log entries start with the private copy's path (or its base, for the output files): show the
// caller's instead.
std::string NameAsGiven(const std::string& entry, const std::string& copy,
                        const std::string& given) {
    if (entry.compare(0, copy.size(), copy) == 0)
        return given + entry.substr(copy.size());
    const std::string copyBase = BaseOf(copy);
    if (entry.compare(0, copyBase.size(), copyBase) == 0)
        return BaseOf(given) + entry.substr(copyBase.size());
    return entry;
}

void AppendFile(std::vector<std::uint8_t>& image, const std::string& path) {
    if (const auto bytes = ReadWholeFile(path))
        image.insert(image.end(), bytes->begin(), bytes->end());
}

}  // namespace

PrivateConversion ConvertPrivately(const fs::path& file, const ConversionOptions& options) {
    PrivateConversion outcome;
    const std::string given = file.string();
    const TempFolder folder;
    if (!folder.IsValid()) {
        outcome.errors.push_back(given + ": no private folder to check it in");
        return outcome;
    }
    // A fixed name with a dot keeps the outputs inside the private folder whatever the name.
    const std::string copy = (folder.Path() / "song.mid").string();
    std::error_code error;
    fs::copy_file(file, copy, error);
    if (error) {
        outcome.errors.push_back(given + ": cannot be read (" + error.message() + ")");
        return outcome;
    }

    CMidiPattern converter;
    converter.m_bBinaryOutput = options.binaryOutput;
    converter.m_bShortPartSetup = options.shortPartSetup;
    converter.m_bRawDrumProgram = options.rawDrumProgram;
    converter.m_bDumpEvents = options.dumpEvents;
    converter.AddInputFile(copy);
    try {
        outcome.result = converter.Convert();
    } catch (const fs::filesystem_error& failure) {
        outcome.errors.push_back(given + ": cannot be read (" + failure.code().message() + ")");
        return outcome;
    }
    for (const std::string& entry : converter.m_errors)
        outcome.errors.push_back(NameAsGiven(entry, copy, given));
    if (outcome.Accepted() && options.binaryOutput) {
        AppendFile(outcome.image, converter.m_strBasePath + "dat");
        AppendFile(outcome.image, converter.m_strBasePath + "sty");
    }
    return outcome;
}

}  // namespace korvana
