#include "program_args.h"

namespace cli {

std::vector<std::string> ProgramArgs(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace cli
