// "convert": the batch run on a terminal. The destination comes from the
// options, else from the settings file the window keeps.
#include "convert_command.h"

#include "console.h"
#include "jww/jww_strings.h"
#include "shell/batch_run.h"
#include "shell/output_naming.h"
#include "shell/settings_file.h"
#include "shell/temp_folder.h"
#include "stop_signal.h"
#include "terminal_host.h"

namespace cli {

namespace {

const char* const kConvertHelp =
    "usage: orvantis-cli convert [DESTINATION] [--progress] [--why] [--preview DIR] [--dry-run] [--json] FILE...\n"
    "\n"
    "Writes each drawing trimmed to its paper frame as a new file, never replacing\n"
    "one: a taken name gets a branch number (plan~1.jww, plan~2.jww, ...).\n"
    "\n"
    "DESTINATION, at most one of:\n"
    "  --dest DIR      into the folder DIR, which must exist\n"
    "  --same-folder   beside each source\n"
    "  --desktop       into the desktop folder\n"
    "  --documents     into the documents folder\n"
    "  (none)          the destination chosen last in the window (its settings file);\n"
    "                  when that choice asks for a folder at every run, --dest is needed\n"
    "\n"
    "  --progress      show progress on standard error even when it is not a terminal\n"
    "  --why           after each failed or salvaged file, say why on standard error\n"
    "  --preview DIR   also draw each trim as DIR/name.svg: the paper frame, kept elements in\n"
    "                  their pen colours, deleted ones light and dashed, and the counts\n"
    "  --dry-run       convert without writing anything; print each file's counts by kind\n"
    "                  (read, placed by the block explosion, kept, deleted) and its images\n"
    "  --json          one JSON object per file and line instead of the log: file, output,\n"
    "                  result, dry_run, read, exploded, kept, deleted, images, preview, why\n"
    "  --help          this text\n"
    "\n"
    "The log goes to standard output: the source, \"→ destination\" and the result,\n"
    "\"　…… 変換完了\" (converted) or \"　…… 変換失敗\" (failed). Ctrl-C stops the run\n"
    "once the file in progress is finished.\n"
    "\n"
    "Exit status: 0 every file converted; 1 a file failed, a source was damaged and\n"
    "saved in part, the run was stopped, or the destination does not exist; 2 wrong usage.\n";

struct ConvertOptions {
  int destOption = -1;  // 0 desktop, 1 documents, 2 same folder, 3 fixed folder
  std::string dest;
  bool progress = false, help = false;
  TerminalHost::Reports reports;
  std::vector<std::string> files;
  std::string error;
};

ConvertOptions ParseConvert(const std::vector<std::string>& args) {
  ConvertOptions o;
  auto choose = [&](int option) {
    if (o.destOption >= 0 && o.destOption != option) o.error = "name at most one destination";
    o.destOption = option;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--dest") {
      if (i + 1 >= args.size()) o.error = "--dest needs a folder";
      else o.dest = args[++i];
      choose(3);
    } else if (a == "--same-folder") choose(2);
    else if (a == "--desktop") choose(0);
    else if (a == "--documents") choose(1);
    else if (a == "--progress") o.progress = true;
    else if (a == "--why") o.reports.why = true;
    else if (a == "--dry-run") o.reports.dryRun = true;
    else if (a == "--json") o.reports.json = true;
    else if (a == "--preview") {
      if (i + 1 >= args.size()) o.error = "--preview needs a folder";
      else o.reports.previewDir = args[++i];
    }
    else if (a == "--help" || a == "-h") o.help = true;
    else if (a == "--") o.files.insert(o.files.end(), args.begin() + static_cast<long>(i) + 1, args.end()), i = args.size();
    else if (a.starts_with("--")) o.error = "unknown option " + a;
    else o.files.push_back(a);
  }
  if (o.error.empty() && o.files.empty() && !o.help) o.error = "no files to convert";
  return o;
}

int UsageError(const std::string& why) {
  Err("orvantis-cli convert: " + why +
      "\nusage: orvantis-cli convert [--dest DIR | --same-folder | --desktop | --documents]"
      " [--progress] [--why] [--preview DIR] [--dry-run] [--json] FILE...\n"
      "       orvantis-cli convert --help\n");
  return 2;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
  ConvertOptions o = ParseConvert(args);
  if (o.help) {
    Out(kConvertHelp);
    return 0;
  }
  if (!o.error.empty()) return UsageError(o.error);

  const std::string exeFolder = shell::ExecutableFolder();
  shell::DatSettings settings = shell::DefaultSettings(jww::FromUtf8(exeFolder));
  shell::OpenDatFile(shell::SettingsPath(exeFolder, "orvantis.dat"), settings);
  if (o.destOption >= 0) settings.Check(o.destOption);
  if (o.destOption == 3) settings.EditFl1 = jww::FromUtf8(o.dest);
  bool asks = true;
  for (int i = 0; i < 4; ++i) asks = asks && !settings.Fl[static_cast<size_t>(i)];
  if (asks) return UsageError("the saved destination asks for a folder at every run; name one with --dest DIR");

  auto progress = ErrIsTerminal() ? TerminalHost::Progress::kLine
                  : o.progress ? TerminalHost::Progress::kLines
                               : TerminalHost::Progress::kOff;
  if (!o.reports.previewDir.empty()) {
    if (!shell::IsDirectory(o.reports.previewDir)) return UsageError("the --preview folder does not exist");
    o.reports.previewDir = shell::AddPathDelim(o.reports.previewDir);
  }
  TerminalHost host(settings, progress, o.reports);
  CatchStopSignal();
  jww::TJwwData doc;
  shell::RunImageFolder images{exeFolder};
  doc.BindImageFolder = images.path();
  shell::RunSummary sum = shell::RunProc(doc, o.files, host);
  bool clean = sum.started && !sum.stopped && sum.failed == 0 && sum.salvaged == 0;
  return clean ? 0 : 1;
}

}  // namespace cli
