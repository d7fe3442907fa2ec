// The batch run's host on a terminal: log lines on standard output as the
// run writes them, the status text as a one-line progress display on
// standard error, messages and reasons on standard error.
#pragma once

#include <memory>
#include <string>

#include "preview/trim_summary.h"
#include "shell/batch_host.h"
#include "shell/settings_file.h"

namespace cli {

class TerminalHost : public shell::BatchHost {
 public:
  enum class Progress { kOff, kLine, kLines };  // kLine redraws one terminal line

  // What each file reports beyond the log.
  struct Reports {
    bool why = false;         // the reason after a failed or salvaged file
    std::string previewDir;   // a picture of each trim goes here (with a delimiter)
    bool dryRun = false;      // convert without writing, and show the counts
    bool json = false;        // one JSON object per file instead of the log
  };

  TerminalHost(const shell::DatSettings& settings, Progress progress, const Reports& reports)
      : s_(settings), progress_(progress), reports_(reports) {}
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
  trim::TrimObserver* FileObserver(const std::string& src, const std::string& dst) override;
  bool WritesOutputs() const override { return !reports_.dryRun; }
  void FileFinished(const std::string& src, const std::string& dst, const shell::JString& result) override;

 private:
  void ClearStatusLine();
  void DrawStatusLine();

  const preview::TrimSummary* Summary() const;

  shell::DatSettings s_;
  Progress progress_;
  Reports reports_;
  std::unique_ptr<trim::TrimObserver> observer_;  // of the file in progress
  std::string why_, preview_;                     // of the file in progress
  std::string status_;  // what the status line shows now, UTF-8
};

}  // namespace cli
