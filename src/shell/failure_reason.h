// Plain words for why a file could not be converted, for front ends that
// tell more than the log's result word.
#pragma once

#include <string>

namespace shell {

// Why the path is not a JWW drawing this program reads; "" when it is one.
std::string SourceRefusal(const std::string& path);
// Why writing an output failed, from the system's error number.
std::string WriteFailure(int err);

}  // namespace shell
