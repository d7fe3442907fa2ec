// Minimal JSON text building for the command line's machine-readable output.
#pragma once

#include <string>

namespace cli {

std::string JsonString(const std::string& utf8);

}  // namespace cli
