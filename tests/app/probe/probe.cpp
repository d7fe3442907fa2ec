// orvantis_probe.exe: looks into a running Orvantis window from outside, for
// the end-to-end script. Commands:
//   log     the log lines, one per line (UTF-8)
//   page    the index of the page shown
//   label3  the screen position of the clickable label's centre: "X Y"
//   close   asks the window to close (its settings are then written)
// Exit status 1 when no Orvantis window exists.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/form1.h"
#include "platform/wide_path.h"

namespace {

void Print(const std::wstring& w) {
  std::string s = platform::NarrowPath(w) + "\n";
  DWORD done;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &done, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  HWND form = FindWindowW(app::kWindowClass, nullptr);
  if (!form || argc < 2) return 1;
  std::wstring cmd = argv[1];
  if (cmd == L"log") {
    HWND log = GetDlgItem(form, app::kListBox1);
    LRESULT n = SendMessageW(log, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      wchar_t line[2048] = {};
      if (SendMessageW(log, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 2047)
        SendMessageW(log, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
      Print(line);
    }
  } else if (cmd == L"page") {
    Print(std::to_wstring(SendMessageW(GetDlgItem(form, app::kPageControl1), TCM_GETCURSEL, 0, 0)));
  } else if (cmd == L"label3") {
    RECT r;
    GetWindowRect(GetDlgItem(form, app::kLabel3), &r);
    Print(std::to_wstring((r.left + r.right) / 2) + L" " + std::to_wstring((r.top + r.bottom) / 2));
  } else if (cmd == L"close") {
    PostMessageW(form, WM_CLOSE, 0, 0);
  } else {
    return 2;
  }
  return 0;
}
