#include "PrivateConversion.h"

#include "CMidiPattern.h"
#include "PathNames.h"

namespace korvana {
namespace fs = std::filesystem;

PrivateConversion ConvertPrivately(const fs::path& file, const ConversionOptions& options) {
    PrivateConversion outcome;
    const std::string given = Utf8FromPath(file);
    // The song is read into memory once and converted there: nothing is written anywhere.
    CMidiPattern converter;
    converter.m_bBinaryOutput = options.binaryOutput;
    converter.m_bShortPartSetup = options.shortPartSetup;
    converter.m_bRawDrumProgram = options.rawDrumProgram;
    converter.m_bDumpEvents = options.dumpEvents;
    converter.m_bWriteFiles = false;
    converter.AddInputFile(given);
    try {
        outcome.result = converter.Convert();
    } catch (const fs::filesystem_error& failure) {
        outcome.errors.push_back(given + ": cannot be read (" + failure.code().message() + ")");
        return outcome;
    }
    outcome.errors = converter.m_errors;
    if (outcome.Accepted() && options.binaryOutput) {
        outcome.image = converter.m_controlFile.Bytes();
        const std::uint8_t* pattern = converter.PatternData();
        outcome.image.insert(outcome.image.end(), pattern, pattern + converter.m_nDataPos);
    }
    return outcome;
}

}  // namespace korvana
