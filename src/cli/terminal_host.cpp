#include "terminal_host.h"

#include "console.h"
#include "jww/jww_strings.h"
#include "shell/user_folders.h"
#include "stop_signal.h"

namespace cli {

using jww::ToUtf8;

namespace {

// Cuts the text to what fits one terminal line, so that a carriage return
// goes back to its start; East Asian characters take two columns.
shell::JString FitColumns(const shell::JString& s, int columns) {
  int used = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    int w = (c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFF9F)) ? 2 : 1;
    if (used + w > columns - 1) return s.substr(0, i);
    used += w;
  }
  return s;
}

}  // namespace

std::string TerminalHost::DesktopFolder() { return shell::DesktopFolder(); }
std::string TerminalHost::DocumentsFolder() { return shell::DocumentsFolder(); }

void TerminalHost::ShowMessage(const shell::JString& text) {
  ClearStatusLine();
  std::string t = ToUtf8(text);
  for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "\n");
  Err(t + "\n");
}

bool TerminalHost::EscapeDown() { return StopRequested(); }

void TerminalHost::LogAdd(const shell::JString& line) {
  ClearStatusLine();
  Out(ToUtf8(line) + "\n");
  DrawStatusLine();
}

void TerminalHost::SetStatus(const shell::JString& text) {
  if (progress_ == Progress::kOff) return;
  if (progress_ == Progress::kLines) {
    if (!text.empty()) Err(ToUtf8(text) + "\n");
    return;
  }
  ClearStatusLine();
  status_ = ToUtf8(FitColumns(text, TerminalColumns()));
  DrawStatusLine();
}

void TerminalHost::FileDetail(const std::string& why) {
  if (!why_) return;
  ClearStatusLine();
  Err("    " + why + "\n");
  DrawStatusLine();
}

void TerminalHost::ClearStatusLine() {
  if (progress_ != Progress::kLine || status_.empty()) return;
  ErrClearLine();
}

void TerminalHost::DrawStatusLine() {
  if (progress_ != Progress::kLine || status_.empty()) return;
  Err(status_);
}

}  // namespace cli
