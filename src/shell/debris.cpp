#include "shell/debris.h"

#include "platform/file_system.h"
#include "shell/output_file.h"
#include "shell/output_naming.h"
#include "shell/temp_folder.h"

namespace shell {

namespace {

constexpr int64_t kDay = 24 * 60 * 60;

// The pid of a "run-<pid>" name; 0 when the name is not one.
unsigned long RunFolderPid(const std::string& name) {
  if (!name.starts_with("run-") || name.size() == 4 || name.size() > 14) return 0;
  unsigned long pid = 0;
  for (size_t i = 4; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    pid = pid * 10 + static_cast<unsigned long>(name[i] - '0');
  }
  return pid;
}

}  // namespace

void RemoveRunFolder(const std::string& runFolder) {
  platform::FileSystem& fs = platform::Fs();
  std::string base = AddPathDelim(runFolder);
  for (const auto& e : fs.ListFolder(base))
    if (!e.folder) fs.DeleteFile(base + e.name);
  RemoveTempFolderIfEmpty(runFolder);
}

void RemoveDeadRunFolders(const std::string& tempFolder) {
  std::string base = AddPathDelim(tempFolder);
  for (const auto& e : platform::Fs().ListFolder(base)) {
    unsigned long pid = RunFolderPid(e.name);
    if (e.folder && pid != 0 && pid != platform::CurrentProcessId() && !platform::ProcessRuns(pid))
      RemoveRunFolder(base + e.name);
  }
}

void RemoveStaleTempOutputs(const std::string& folder) {
  std::string base = AddPathDelim(folder);
  for (const auto& e : platform::Fs().ListFolder(base))
    if (!e.folder && IsTempOutputName(e.name) && e.ageSeconds > kDay) platform::Fs().DeleteFile(base + e.name);
}

}  // namespace shell
