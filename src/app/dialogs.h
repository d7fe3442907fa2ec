// The window's dialogs: the open dialog for drawings, the folder chooser
// and the message box.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace app {

struct OpenDialogResult {
  bool accepted = false;
  std::vector<std::wstring> files;  // full paths, in the dialog's order
  int filterIndex = 1;
};

// "変換元ファイルを指定": several files, each of which must exist.
OpenDialogResult RunOpenDialog(HWND owner, const std::wstring& startFolder, int filterIndex);

// "変換後のファイルを保存するフォルダを指定して下さい", opening at
// startFolder; the chosen folder, or "" when cancelled.
std::wstring RunFolderDialog(HWND owner, const std::wstring& startFolder);

}  // namespace app
