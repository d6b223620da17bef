#include "common/DataPaths.h"

#include <system_error>

namespace korvana {

ProgramData LocateProgramData(const std::filesystem::path& executableFolder) {
    // KORVANA_DATA_FROM_BIN is the install layout's data folder relative to its program folder.
    const std::filesystem::path installed =
        (executableFolder / KORVANA_DATA_FROM_BIN).lexically_normal();
    std::error_code error;
    if (std::filesystem::is_directory(installed, error))
        return {installed, true};
    return {executableFolder, false};
}

}  // namespace korvana
