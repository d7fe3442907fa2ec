// Plain words for why a file could not be converted, for front ends that
// tell more than the log's result word.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace shell {

// Why the path is not a JWW drawing this program reads; "" when it is one.
std::string SourceRefusal(const std::string& path);
// Why writing an output failed, from the kind of error.
std::string WriteFailure(platform::IoErr err);

}  // namespace shell
