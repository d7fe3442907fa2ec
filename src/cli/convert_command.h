#pragma once

#include <string>
#include <vector>

namespace cli {

// orvantis-cli convert [--dest DIR] [--progress] FILE...
int RunConvert(const std::vector<std::string>& args);

}  // namespace cli
