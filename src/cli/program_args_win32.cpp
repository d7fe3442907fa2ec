// Windows hands narrow arguments over in its ANSI code page, which loses
// names outside it; the wide command line keeps every name.
#include <windows.h>
#include <shellapi.h>

#include "platform/wide_path.h"
#include "program_args.h"

namespace cli {

std::vector<std::string> ProgramArgs(int, char**) {
  int n = 0;
  wchar_t** w = CommandLineToArgvW(GetCommandLineW(), &n);
  std::vector<std::string> r;
  for (int i = 0; i < n; ++i) r.push_back(platform::NarrowPath(w[i]));
  LocalFree(w);
  return r;
}

}  // namespace cli
