// What killed runs leave behind: their image folders in the temporary
// folder and their hidden temporary outputs in destination folders.
#pragma once

#include <string>

namespace shell {

// Removes the "run-<pid>" folders, with their images, of processes that no
// longer run.
void RemoveDeadRunFolders(const std::string& tempFolder);
// Removes this program's temporary outputs older than a day from a folder.
// Younger ones may belong to a run still writing, here or on another machine
// sharing the folder.
void RemoveStaleTempOutputs(const std::string& folder);
// Removes a run folder with the files in it.
void RemoveRunFolder(const std::string& runFolder);

}  // namespace shell
