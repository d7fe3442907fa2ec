#pragma once

#include <string>
#include <vector>

namespace cli {

// orvantis-cli info [--json] FILE...
int RunInfo(const std::vector<std::string>& args);

}  // namespace cli
