// The program's arguments as UTF-8, whatever the system hands over.
#pragma once

#include <string>
#include <vector>

namespace cli {

std::vector<std::string> ProgramArgs(int argc, char** argv);

}  // namespace cli
