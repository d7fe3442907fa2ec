#include "shell/output_file.h"

#include <random>

#include "shell/output_naming.h"

namespace shell {

namespace {
const std::string kTempPrefix = ".orvantis-";
const std::string kTempSuffix = ".tmp";
}  // namespace

std::string TempOutputName(const std::string& dst) {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  return FolderPart(dst) + kTempPrefix + std::to_string(platform::CurrentProcessId()) + "-" +
         std::to_string(rng() % 1000000000000ull) + kTempSuffix;
}

bool IsTempOutputName(const std::string& name) {
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  std::string mid = name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
  size_t dash = mid.find('-');
  if (dash == 0 || dash == std::string::npos || dash + 1 == mid.size()) return false;
  for (size_t i = 0; i < mid.size(); ++i)
    if (i != dash && (mid[i] < '0' || mid[i] > '9')) return false;
  return true;
}

std::string PlaceOutput(const std::string& tmp, const std::string& dst, const std::string& wanted,
                        platform::IoErr* err) {
  platform::FileSystem& fs = platform::Fs();
  std::string name = dst;
  platform::IoErr e = platform::IoErr::kNone;
  // Each try that finds the name taken looks again, as the naming would
  // have had it looked a moment later; the names are finite, so is this.
  for (int tries = 0; tries < 100000 && !name.empty(); ++tries) {
    if (fs.MoveNoReplace(tmp, name, &e)) return name;
    if (e != platform::IoErr::kExists) break;
    name = MakeUniqueFileName(wanted);
  }
  if (name.empty()) e = platform::IoErr::kExists;
  fs.DeleteFile(tmp);
  if (err) *err = e;
  return "";
}

}  // namespace shell
