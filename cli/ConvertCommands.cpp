#include "Commands.h"

namespace korvana::cli {

int RunConvert(const std::vector<std::string>&) { return UsageError("convert is not built yet"); }
int RunCheck(const std::vector<std::string>&) { return UsageError("check is not built yet"); }

}  // namespace korvana::cli
