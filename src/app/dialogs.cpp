#include "app/dialogs.h"

#include <commdlg.h>
#include <shobjidl.h>

namespace app {

OpenDialogResult RunOpenDialog(HWND owner, const std::wstring& startFolder, int filterIndex) {
  std::wstring buffer(1 << 16, L'\0');
  buffer[0] = L'\u3000';  // the file name field starts with one ideographic space
  static const wchar_t kFilter[] = L"Jw_cad 図面ファイル(win)\0*.jww\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
  ofn.lpstrTitle = L"変換元ファイルを指定";
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
              OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  OpenDialogResult r;
  if (!GetOpenFileNameW(&ofn)) return r;
  r.accepted = true;
  r.filterIndex = static_cast<int>(ofn.nFilterIndex);
  // One file: its whole path. Several: the folder, then each name, each
  // ended by a NUL, the list by two.
  const wchar_t* p = buffer.c_str();
  std::wstring first = p;
  p += first.size() + 1;
  if (*p == L'\0') {
    r.files.push_back(first);
    return r;
  }
  std::wstring folder = first;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  while (*p) {
    std::wstring name = p;
    r.files.push_back(folder + name);
    p += name.size() + 1;
  }
  return r;
}

std::wstring RunFolderDialog(HWND owner, const std::wstring& startFolder) {
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(&dialog))))
    return L"";
  std::wstring chosen;
  DWORD options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog->SetTitle(L"変換後のファイルを保存するフォルダを指定して下さい");
  IShellItem* start = nullptr;
  if (!startFolder.empty() &&
      SUCCEEDED(SHCreateItemFromParsingName(startFolder.c_str(), nullptr, IID_IShellItem,
                                            reinterpret_cast<void**>(&start)))) {
    dialog->SetFolder(start);
    start->Release();
  }
  IShellItem* item = nullptr;
  if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&item))) {
    PWSTR path = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path) chosen = path;
    CoTaskMemFree(path);
    item->Release();
  }
  dialog->Release();
  return chosen;
}

}  // namespace app
