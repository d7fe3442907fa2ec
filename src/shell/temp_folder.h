// Where extracted images of the drawing being converted are kept.
#pragma once

#include <string>

namespace shell {

// The folder of the running executable, with a trailing delimiter.
std::string ExecutableFolder();
// "TEMP" beside the executable, or, when that folder cannot be written (a
// system-wide install), one in the user's cache folder, or else a fresh one
// among the system's temporary files; always private to the user (created
// with owner-only access, and a folder someone else prepared is refused).
// Ends with a delimiter.
std::string MakeTempFolder(const std::string& exeFolder = ExecutableFolder());
// A folder of this run's own inside the temporary folder, so that two runs
// at the same time never touch each other's images. Ends with a delimiter.
std::string MakeRunFolder(const std::string& tempFolder);
// Removes the folder when it is empty; anything left in it stays.
void RemoveTempFolderIfEmpty(const std::string& folder);

// The image folder of one run of a program: made at start, after clearing
// away the folders of runs that were killed; removed with its contents at
// the end, and the temporary folder too when nothing else is in it.
class RunImageFolder {
 public:
  explicit RunImageFolder(const std::string& exeFolder = ExecutableFolder());
  ~RunImageFolder();
  RunImageFolder(const RunImageFolder&) = delete;
  RunImageFolder& operator=(const RunImageFolder&) = delete;
  const std::string& path() const { return run_; }

 private:
  std::string temp_, run_;
};

}  // namespace shell
