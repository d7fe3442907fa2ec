// Folders of the user's own (cache, config) that nobody else may prepare.
#pragma once

#include <string>

namespace shell {

// Creates the folder and its missing parents with owner-only access, or
// accepts an existing one only when it is a real folder owned by this user
// and closed to others. False otherwise.
bool MakePrivateFolder(const std::string& path);

// This program's folder in the user's config and cache places
// ($XDG_CONFIG_HOME/orvantis, $XDG_CACHE_HOME/orvantis or their ~/.config and
// ~/.cache defaults; %APPDATA%\Orvantis and %LOCALAPPDATA%\Orvantis on
// Windows), private and ending with a delimiter; "" when it cannot be had.
std::string UserConfigFolder();
std::string UserCacheFolder();

// A new private folder of a random name among the system's temporary files,
// for when the user has no cache folder; "" when none can be made.
std::string FreshPrivateFolder();

// True when a file can be created in the folder (tried, not guessed from
// permission bits, which say nothing about read-only media or access lists).
bool FolderWritable(const std::string& folder);

}  // namespace shell
