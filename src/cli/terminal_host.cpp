#include "terminal_host.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "jww/jww_strings.h"
#include "shell/user_folders.h"
#include "stop_signal.h"

namespace cli {

using jww::ToUtf8;

namespace {

int TerminalColumns() {
  winsize ws{};
  if (ioctl(2, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
  return 80;
}

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
  std::cerr << t << std::endl;
}

bool TerminalHost::EscapeDown() { return StopRequested(); }

void TerminalHost::LogAdd(const shell::JString& line) {
  ClearStatusLine();
  std::cout << ToUtf8(line) << std::endl;
  DrawStatusLine();
}

void TerminalHost::SetStatus(const shell::JString& text) {
  if (progress_ == Progress::kOff) return;
  if (progress_ == Progress::kLines) {
    if (!text.empty()) std::cerr << ToUtf8(text) << std::endl;
    return;
  }
  ClearStatusLine();
  status_ = ToUtf8(FitColumns(text, TerminalColumns()));
  DrawStatusLine();
}

void TerminalHost::FileDetail(const std::string& why) {
  if (!why_) return;
  ClearStatusLine();
  std::cout.flush();
  std::cerr << "    " << why << std::endl;
  DrawStatusLine();
}

void TerminalHost::ClearStatusLine() {
  if (progress_ != Progress::kLine || status_.empty()) return;
  std::cerr << "\r\033[K" << std::flush;
}

void TerminalHost::DrawStatusLine() {
  if (progress_ != Progress::kLine || status_.empty()) return;
  std::cerr << status_ << std::flush;
}

}  // namespace cli
