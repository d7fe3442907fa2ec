// The batch run's host on a terminal: log lines on standard output as the
// run writes them, the status text as a one-line progress display on
// standard error, messages and reasons on standard error.
#pragma once

#include <string>

#include "shell/batch_host.h"
#include "shell/settings_file.h"

namespace cli {

class TerminalHost : public shell::BatchHost {
 public:
  enum class Progress { kOff, kLine, kLines };  // kLine redraws one terminal line

  TerminalHost(const shell::DatSettings& settings, Progress progress, bool why)
      : s_(settings), progress_(progress), why_(why) {}
  ~TerminalHost() override { ClearStatusLine(); }

  bool OptionChecked(int i) const override { return s_.Fl[static_cast<size_t>(i)]; }
  shell::JString EditFl1Text() const override { return s_.EditFl1; }
  shell::JString LabelPreFolderText() const override { return s_.LabelPreFolder; }
  std::string DesktopFolder() override;
  std::string DocumentsFolder() override;
  void ShowMessage(const shell::JString& text) override;
  // There is nobody to ask; the command refuses such a choice beforehand.
  bool BrowseForFolder2() override { return false; }
  bool EscapeDown() override;
  void LogClear() override {}
  void LogAdd(const shell::JString& line) override;
  void SetStatus(const shell::JString& text) override;
  void ShowLogPage() override {}
  // A command-line run never changes the window's settings.
  void SaveSettings() override {}
  void FileDetail(const std::string& why) override;

 private:
  void ClearStatusLine();
  void DrawStatusLine();

  shell::DatSettings s_;
  Progress progress_;
  bool why_;
  std::string status_;  // what the status line shows now, UTF-8
};

}  // namespace cli
