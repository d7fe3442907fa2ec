// "convert": the batch run without a window. The log goes to standard
// output; progress texts go to standard error when it is a terminal.
#include "convert_command.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "jww/jww_strings.h"
#include "shell/batch_run.h"
#include "shell/output_naming.h"
#include "shell/temp_folder.h"

namespace cli {

int RunConvert(const std::vector<std::string>& args) {
  std::string dest;
  bool progress = isatty(2);
  std::vector<std::string> files;
  bool usageError = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dest" && i + 1 < args.size()) dest = args[++i];
    else if (args[i] == "--progress") progress = true;
    else if (args[i].starts_with("--")) usageError = true;
    else files.push_back(args[i]);
  }
  if (files.empty() || usageError) {
    std::cerr << "usage: orvantis-cli convert [--dest DIR] [--progress] FILE...\n"
                 "  Writes each drawing trimmed to its paper frame into DIR (default: beside the source),\n"
                 "  never replacing a file: a taken name gets ~1, ~2, ...\n";
    return 2;
  }
  std::error_code ec;
  if (!dest.empty()) {
    dest = shell::AddPathDelim(dest);
    if (!std::filesystem::is_directory(dest, ec)) {
      std::cerr << jww::ToUtf8(u"指定したフォルダが見つかりません。") << "\r\n" << dest << "\n";
      return 1;
    }
  }
  jww::TJwwData doc;
  const std::string temp = shell::MakeTempFolder();
  doc.BindImageFolder = shell::MakeRunFolder(temp);
  shell::BatchHooks hooks;
  hooks.log = [](const jww::JString& line) { std::cout << jww::ToUtf8(line) << std::endl; };
  if (progress)
    hooks.status = [](const jww::JString& s) { std::cerr << "\r\033[K" << jww::ToUtf8(s) << std::flush; };
  int failed = shell::RunBatch(doc, files, dest, hooks);
  if (progress) std::cerr << "\r\033[K" << std::flush;
  shell::RemoveTempFolderIfEmpty(doc.BindImageFolder);
  shell::RemoveTempFolderIfEmpty(temp);
  return failed > 0 ? 1 : 0;
}

}  // namespace cli
