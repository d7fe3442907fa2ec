#include <windows.h>

#include "console.h"
#include "platform/wide_path.h"

namespace cli {

namespace {

void Write(DWORD which, const std::string& utf8) {
  HANDLE h = GetStdHandle(which);
  if (h == INVALID_HANDLE_VALUE || h == nullptr || utf8.empty()) return;
  DWORD mode, done;
  if (GetConsoleMode(h, &mode)) {
    std::wstring w = platform::WidePath(utf8);
    WriteConsoleW(h, w.data(), static_cast<DWORD>(w.size()), &done, nullptr);
  } else {
    WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
  }
}

}  // namespace

void Out(const std::string& utf8) { Write(STD_OUTPUT_HANDLE, utf8); }
void Err(const std::string& utf8) { Write(STD_ERROR_HANDLE, utf8); }

bool ErrIsTerminal() {
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode);
}

int TerminalColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
    return info.srWindow.Right - info.srWindow.Left + 1;
  return 80;
}

void ErrClearLine() {
  HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(h, &info)) return;
  // Blank the line in place: older consoles know no escape sequences.
  COORD start = {0, info.dwCursorPosition.Y};
  DWORD done;
  FillConsoleOutputCharacterW(h, L' ', static_cast<DWORD>(info.dwSize.X), start, &done);
  SetConsoleCursorPosition(h, start);
}

}  // namespace cli
