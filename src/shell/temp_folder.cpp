#include "shell/temp_folder.h"

#include "platform/file_system.h"
#include "shell/debris.h"
#include "shell/output_naming.h"
#include "shell/private_folder.h"

namespace shell {

std::string ExecutableFolder() { return FolderPart(platform::Fs().ExecutablePath()); }

std::string MakeTempFolder(const std::string& exeFolder) {
  if (!exeFolder.empty()) {
    std::string beside = AddPathDelim(exeFolder) + "TEMP";
    if (MakePrivateFolder(beside) && FolderWritable(beside)) return AddPathDelim(beside);
  }
  // A system-wide install: the user's own cache, never a fixed shared path.
  std::string cache = UserCacheFolder();
  if (!cache.empty()) {
    std::string temp = cache + "TEMP";
    if (MakePrivateFolder(temp)) return AddPathDelim(temp);
  }
  return FreshPrivateFolder();
}

std::string MakeRunFolder(const std::string& tempFolder) {
  std::string run = AddPathDelim(tempFolder) + "run-" + std::to_string(platform::CurrentProcessId());
  // Another run that ends may remove the empty temporary folder between the
  // making of the folder and of this run's folder inside it; making both
  // again wins that race.
  for (int attempt = 0; attempt < 5; ++attempt)
    if (MakePrivateFolder(run)) break;
  return AddPathDelim(run);
}

void RemoveTempFolderIfEmpty(const std::string& folder) {
  std::string f = folder;
  while (f.size() > 1 && (f.back() == '/' || f.back() == '\\')) f.pop_back();
  platform::Fs().RemoveEmptyFolder(f);  // a folder with anything left in it stays
}

RunImageFolder::RunImageFolder(const std::string& exeFolder) : temp_(MakeTempFolder(exeFolder)) {
  RemoveDeadRunFolders(temp_);
  run_ = MakeRunFolder(temp_);
}

RunImageFolder::~RunImageFolder() {
  RemoveRunFolder(run_);
  RemoveTempFolderIfEmpty(temp_);
}

}  // namespace shell
