#include "PrivateConversion.h"

namespace korvana {

// Stands in until the converter exists: refuses every song.
PrivateConversion ConvertPrivately(const std::filesystem::path& file, const ConversionOptions&) {
    PrivateConversion outcome;
    outcome.errors.push_back(file.string() + ": the converter is not built yet");
    return outcome;
}

}  // namespace korvana
