// Where extracted images of the drawing being converted are kept.
#pragma once

#include <string>

namespace shell {

// The folder of the running executable, with a trailing delimiter.
std::string ExecutableFolder();
// "TEMP" beside the executable, or, when that folder cannot be written (a
// system-wide install), one in the user's cache folder; created when missing.
// Ends with a delimiter.
std::string MakeTempFolder(const std::string& exeFolder = ExecutableFolder());
// A folder of this run's own inside the temporary folder, so that two runs
// at the same time never touch each other's images. Ends with a delimiter.
std::string MakeRunFolder(const std::string& tempFolder);
// Removes the folder when it is empty; anything left in it stays.
void RemoveTempFolderIfEmpty(const std::string& folder);

}  // namespace shell
