// An output appears whole under its name or not at all: it is written under
// a hidden temporary name in its destination folder, put on the disk, and
// only then given its name, by a step that never replaces anything.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace shell {

// A name in dst's folder that no user file has: ".orvantis-<pid>-<random>.tmp".
std::string TempOutputName(const std::string& dst);
// True for names that TempOutputName gives.
bool IsTempOutputName(const std::string& name);

// Gives the written temporary file the name dst or, when another program
// took that name meanwhile, the next free branch number of the name wanted.
// Returns the name given, or "" (and *err) when none could be; the temporary
// file is then removed.
std::string PlaceOutput(const std::string& tmp, const std::string& dst, const std::string& wanted,
                        platform::IoErr* err);

}  // namespace shell
