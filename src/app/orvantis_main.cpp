// orvantis.exe: program start. Sets the application's title, creates the
// one window (FormCreate), shows it (FormShow, which converts the files
// named on the command line) and runs the message loop.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/form1.h"
#include "platform/file_system.h"
#include "platform/wide_path.h"
#include "shell/output_naming.h"
#include "shell/settings_file.h"

namespace {

// The executable's path with its extension replaced by ".dat".
std::string SettingsFileName(const std::string& exePath) {
  std::string name = shell::FileNamePart(exePath);
  size_t dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + ".dat";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (!app::TForm1::RegisterWindowClass(instance)) return 1;
  app::FormOptions o;
  std::string exe = platform::Fs().ExecutablePath();
  o.exeFolder = shell::FolderPart(exe);
  o.settingsPath = shell::SettingsPath(o.exeFolder, SettingsFileName(exe));
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) o.args.push_back(platform::NarrowPath(argv[i]));
  LocalFree(argv);

  app::TForm1 form(o);
  if (!form.Handle()) return 1;
  form.Show(showCommand);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(form.Handle(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  CoUninitialize();
  return 0;
}
