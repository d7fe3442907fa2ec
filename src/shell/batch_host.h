// What a batch run needs from the front end that hosts it: the destination
// choice, the user's folders, a message, the folder dialog, the stop key,
// the log, the status line, the log page and the settings. The window, the
// command line and the tests each provide one.
#pragma once

#include <string>

#include "jww/jwwtype.h"
#include "trim/file_conv.h"

namespace shell {

using jww::JString;

class BatchHost {
 public:
  virtual ~BatchHost() = default;

  // RadioButtonFl1 ... RadioButtonFl5 (i = 0 to 4).
  virtual bool OptionChecked(int i) const = 0;
  virtual JString EditFl1Text() const = 0;
  virtual JString LabelPreFolderText() const = 0;
  // Empty when the system has no such folder for this user.
  virtual std::string DesktopFolder() = 0;
  virtual std::string DocumentsFolder() = 0;
  // Shows a message and waits until it is dismissed.
  virtual void ShowMessage(const JString& text) = 0;
  // The folder dialog; on acceptance LabelPreFolder already holds the chosen
  // folder with a trailing delimiter. False when cancelled.
  virtual bool BrowseForFolder2() = 0;
  // True while the user asks the run to stop (the Escape key held down).
  virtual bool EscapeDown() = 0;
  virtual void LogClear() = 0;
  virtual void LogAdd(const JString& line) = 0;
  // Sets the status text and shows it at once.
  virtual void SetStatus(const JString& text) = 0;
  virtual void ShowLogPage() = 0;
  virtual void SaveSettings() = 0;
  // Why the file just logged as failed, or salvaged from a damaged source,
  // came out so; for front ends that can say more than the log's two words.
  virtual void FileDetail(const std::string& why) { (void)why; }

  // For pictures and summaries: an observer of the next file's trim (owned
  // by the host until FileFinished), or nullptr.
  virtual trim::TrimObserver* FileObserver(const std::string& src, const std::string& dst) {
    (void)src, (void)dst;
    return nullptr;
  }
  // False for a dry run: every step but writing, and no image extracted.
  virtual bool WritesOutputs() const { return true; }
  // One file is done: its source, the output's name (or the one it would
  // have had) and its result word.
  virtual void FileFinished(const std::string& src, const std::string& dst, const JString& result) {
    (void)src, (void)dst, (void)result;
  }
};

}  // namespace shell
