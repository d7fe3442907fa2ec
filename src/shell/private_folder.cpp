#include "shell/private_folder.h"

#include <random>

#include "platform/file_system.h"
#include "shell/output_naming.h"

namespace shell {

bool FolderWritable(const std::string& folder) {
  std::random_device rd;
  std::string probe = AddPathDelim(folder) + ".orvantis-probe-" + std::to_string(platform::CurrentProcessId()) +
                      "-" + std::to_string(rd());
  auto f = platform::Fs().CreateExclusive(probe, nullptr);
  if (!f) return false;
  f->Close();
  platform::Fs().DeleteFile(probe);
  return true;
}

}  // namespace shell
