// The user's desktop and documents folders, where the destination choice
// names them. Empty when the system has none for this user.
#pragma once

#include <string>

namespace shell {

std::string DesktopFolder();
std::string DocumentsFolder();

}  // namespace shell
