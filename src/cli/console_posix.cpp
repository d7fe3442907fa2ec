#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

#include "console.h"

namespace cli {

void Out(const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

void Err(const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

bool ErrIsTerminal() { return isatty(2); }

int TerminalColumns() {
  winsize ws{};
  if (ioctl(2, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
  return 80;
}

void ErrClearLine() { Err("\r\033[K"); }

}  // namespace cli
