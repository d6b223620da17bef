#include "Commands.h"

namespace korvana::cli {

int RunDeviceCommand(const std::string& command, const GlobalOptions&,
                     const std::vector<std::string>&) {
    return UsageError(command + " is not built yet");
}

}  // namespace korvana::cli
