#include "conversion/PrivateConversion.h"

#include "common/PathNames.h"
#include "conversion/CMidiPattern.h"

namespace korvana {
namespace fs = std::filesystem;
namespace {

ConversionOutcome ConvertInMemory(CMidiPattern& converter, const ConversionOptions& options) {
    ConversionOutcome outcome = converter.Convert();
    if (outcome.Accepted() && options.m_bBinaryOutput) {
        outcome.image = converter.m_controlFile.Bytes();
        const std::uint8_t* pattern = converter.PatternData();
        outcome.image.insert(outcome.image.end(), pattern, pattern + converter.m_nDataPos);
    }
    return outcome;
}

}  // namespace

ConversionOutcome ConvertPrivately(const fs::path& file, ConversionOptions options) {
    options.m_bWriteFiles = false;
    const std::string given = Utf8FromPath(file);
    CMidiPattern converter(options);
    converter.AddInputFile(given);
    try {
        return ConvertInMemory(converter, options);
    } catch (const fs::filesystem_error& failure) {
        ConversionOutcome outcome;
        outcome.items.push_back({ConversionOutcome::Kind::LogEntry,
                                 given + ": cannot be read (" + failure.code().message() + ")"});
        return outcome;
    }
}

ConversionOutcome ConvertPrivately(const std::string& name, std::span<const std::uint8_t> bytes,
                                   ConversionOptions options) {
    options.m_bWriteFiles = false;
    CMidiPattern converter(options);
    converter.AddInputBytes(name, bytes);
    return ConvertInMemory(converter, options);
}

}  // namespace korvana
