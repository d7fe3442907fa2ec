// A scripted host for the batch run: options, folders and answers set by the
// test; everything the run does to its surroundings recorded in order.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "jww/jww_strings.h"
#include "shell/batch_host.h"

namespace testutil {

class FakeHost : public shell::BatchHost {
 public:
  std::array<bool, 5> options = {true, false, false, false, false};
  shell::JString editFl1, labelPreFolder;
  std::string desktop, documents;
  bool browseAccepts = true;
  shell::JString browseChooses;  // put into LabelPreFolder on acceptance
  int escapeFromPoll = -1;       // the Escape key is down from this poll on (0 = first)

  // What the run did, one entry per call: "save", "clear", "log:…",
  // "status:…", "page", "message:…", "browse", "why:…".
  std::vector<std::string> events;

  bool OptionChecked(int i) const override { return options[static_cast<size_t>(i)]; }
  shell::JString EditFl1Text() const override { return editFl1; }
  shell::JString LabelPreFolderText() const override { return labelPreFolder; }
  std::string DesktopFolder() override { return desktop; }
  std::string DocumentsFolder() override { return documents; }
  void ShowMessage(const shell::JString& t) override { events.push_back("message:" + jww::ToUtf8(t)); }
  bool BrowseForFolder2() override {
    events.push_back("browse");
    if (browseAccepts) labelPreFolder = browseChooses;
    return browseAccepts;
  }
  bool EscapeDown() override { return escapeFromPoll >= 0 && polls_++ >= escapeFromPoll; }
  void LogClear() override { events.push_back("clear"); }
  void LogAdd(const shell::JString& l) override { events.push_back("log:" + jww::ToUtf8(l)); }
  void SetStatus(const shell::JString& t) override { events.push_back("status:" + jww::ToUtf8(t)); }
  void ShowLogPage() override { events.push_back("page"); }
  void SaveSettings() override { events.push_back("save"); }
  void FileDetail(const std::string& why) override { events.push_back("why:" + why); }

  // The log lines only, in order.
  std::vector<std::string> Log() const { return Only("log:"); }
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> r;
    for (const auto& e : events)
      if (e.starts_with(prefix)) r.push_back(e.substr(prefix.size()));
    return r;
  }

 private:
  int polls_ = 0;
};

}  // namespace testutil
