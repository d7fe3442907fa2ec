// Folders of the user's own (cache, config) that nobody else may prepare.
#pragma once

#include <string>

namespace shell {

// Creates the folder and its missing parents with owner-only access, or
// accepts an existing one only when it is a real folder owned by this user
// and closed to others. False otherwise.
bool MakePrivateFolder(const std::string& path);

// The user's config folder for this program ($XDG_CONFIG_HOME/orvantis or
// ~/.config/orvantis), private; "" when it cannot be had.
std::string UserConfigFolder();

}  // namespace shell
