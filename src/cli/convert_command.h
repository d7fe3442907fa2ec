#pragma once

#include <string>
#include <vector>

namespace cli {

// orvantis-cli convert [DESTINATION] [--progress] [--why] FILE...
int RunConvert(const std::vector<std::string>& args);

}  // namespace cli
