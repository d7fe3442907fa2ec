// TForm1: the program's one window. It collects the drawings to convert
// (command line, dropped files, open dialog), holds the destination choice,
// the explanation and the style chooser on its settings page and the log on
// its log page, and hands every non-empty pickup to the batch run at once.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/window_fonts.h"
#include "jww/jww_data.h"
#include "shell/batch_host.h"
#include "shell/settings_file.h"
#include "shell/temp_folder.h"

namespace app {

// Control identifiers, for the message handlers and for tests.
enum ControlId : int {
  kGroupBoxFold = 100,
  kRadioButtonFl1,
  kRadioButtonFl2,
  kRadioButtonFl3,
  kRadioButtonFl4,
  kRadioButtonFl5,
  kEditFl1,
  kButtonFl1,
  kLabelPreFolder,
  kPanel1,
  kLabel2,
  kLabel3,
  kLabel1,
  kPageControl1,
  kLabel7,
  kComboBoxSc1,
  kLabel8,
  kMemo1,
  kListBox1,
  kStatusBar1,
};

inline constexpr const wchar_t* kWindowClass = L"OrvantisTForm1";
inline constexpr const wchar_t* kCaption = L"Orvantis Ver.1.10";

struct FormOptions {
  std::string exeFolder;          // the executable's folder, with a delimiter
  std::string settingsPath;       // the settings file
  std::vector<std::string> args;  // the command line's paths, program excluded
};

class TForm1 : public shell::BatchHost {
 public:
  // Creates the window and runs FormCreate; Show then shows it and runs
  // FormShow. The window must be registered first (RegisterWindowClass).
  explicit TForm1(const FormOptions& options);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  static bool RegisterWindowClass(HINSTANCE instance);

  HWND Handle() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  void Show(int showCommand);
  bool Closed() const { return hwnd_ == nullptr; }

  // The window's fields, for tests.
  const std::vector<std::string>& FList() const { return FList_; }
  const std::wstring& gstyle() const { return gstyle_; }

  // BatchHost: the run's surroundings are this window.
  bool OptionChecked(int i) const override;
  shell::JString EditFl1Text() const override;
  shell::JString LabelPreFolderText() const override;
  std::string DesktopFolder() override;
  std::string DocumentsFolder() override;
  void ShowMessage(const shell::JString& text) override;
  bool BrowseForFolder2() override;
  bool EscapeDown() override;
  void LogClear() override;
  void LogAdd(const shell::JString& line) override;
  void SetStatus(const shell::JString& text) override;
  void ShowLogPage() override;
  void SaveSettings() override;
  trim::TrimObserver* FileObserver(const std::string& src, const std::string& dst) override;
  void FileFinished(const std::string& src, const std::string& dst, const shell::JString& result) override;

  // Opens a picture in the system's viewer; tests put their own here.
  std::function<void(const std::wstring& path)> openPicture;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  void FormCreate();
  void FormShow();
  void FormClose();
  void CreateControls();
  void Layout();
  void PickupFile(const std::string& path);
  void WMDropFiles(HDROP drop);
  void Label3Click();
  void RadioButtonFl1Click();
  void ButtonFl1Click();
  void ComboBoxSc1Select();
  void ShowPage(int index);
  void CreateJww();
  void DestroyJww();
  void RunIfPicked();
  void ListBox1DblClick();
  void ApplySettings(const shell::DatSettings& s);
  shell::DatSettings CurrentSettings() const;
  void SetText(int id, const std::wstring& text);
  std::wstring Text(int id) const;
  int Scale(int px) const;

  FormOptions options_;
  HWND hwnd_ = nullptr;
  WindowFonts fonts_;
  std::wstring gstyle_ = L"Windows";
  int32_t Fidx_ = 1;
  std::vector<std::string> FList_;
  std::unique_ptr<jww::TJwwData> JWW_;
  std::unique_ptr<shell::RunImageFolder> images_;  // the temporary folder and this run's images
  UINT dpi_ = 96;
  std::wstring startFolder1_, startFolder2_;  // where the folder dialogs open
  bool shown_ = false;
  // The log lines of each file of the last run, for its picture.
  struct LoggedFile {
    int first = 0, end = 0;
    std::string src;
    bool converted = false;
  };
  std::vector<LoggedFile> logged_;
  int fileFirstLine_ = 0;
};

}  // namespace app
