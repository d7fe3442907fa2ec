// The real window, driven in-process through the Win32 API as a user's
// clicks and drops would drive it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>

#include "app/form1.h"
#include "drawings.h"
#include "platform/wide_path.h"
#include "test_util.h"

namespace fs = std::filesystem;
using app::TForm1;

namespace {

std::wstring Text(HWND w) {
  std::wstring t(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  t.resize(static_cast<size_t>(GetWindowTextW(w, t.data(), static_cast<int>(t.size()))));
  return t;
}

std::vector<std::wstring> LogLines(const TForm1& f) {
  HWND log = f.Control(app::kListBox1);
  std::vector<std::wstring> r;
  LRESULT n = SendMessageW(log, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    std::wstring line(static_cast<size_t>(SendMessageW(log, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
    line.resize(static_cast<size_t>(SendMessageW(log, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()))));
    r.push_back(line);
  }
  return r;
}

bool Checked(const TForm1& f, int id) { return SendMessageW(f.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A drop of these paths, as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const auto& p : paths) list += platform::WidePath(p) + L'\0';
  list += L'\0';
  HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(GlobalLock(h));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(h);
  return static_cast<HDROP>(h);
}

std::string Settings(int option, const std::string& fixedFolder, const std::string& style = "Windows",
                     int fidx = 1) {
  auto hex = [](const std::string& s) {
    std::string h;
    char buf[3];
    for (unsigned char c : s) {
      snprintf(buf, sizeof buf, "%02X", c);
      h += buf;
    }
    return h;
  };
  std::string t = "40\r\n30\r\n480\r\n480\r\n";
  for (int i = 0; i < 5; ++i) t += i == option ? "1\r\n" : "0\r\n";
  return t + hex(fixedFolder) + "\r\n\r\n\r\n" + std::to_string(fidx) + "\r\n" + style + "\r\n";
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(TForm1::RegisterWindowClass(GetModuleHandleW(nullptr)));
    fs::create_directories(dir.file("out"));
    fs::create_directories(dir.file("exe"));
    testutil::WriteFile(dir.file("a.jww"), testutil::PointsDrawing({{0, 0}}));
    testutil::WriteFile(dir.file("PLAN.JWW"), testutil::PointsDrawing({{1, 1}}));
    testutil::WriteFile(dir.file("notes.txt"), {'h', 'i'});
  }
  app::FormOptions Options(std::vector<std::string> args = {}) {
    return {dir.file("exe/"), dir.file("exe/orvantis.dat"), std::move(args)};
  }
  void WriteSettings(const std::string& s) {
    testutil::WriteFile(dir.file("exe/orvantis.dat"), std::vector<uint8_t>(s.begin(), s.end()));
  }
  std::vector<std::string> Outputs() {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(dir.file("out"))) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
  }
  testutil::TempDir dir;
};

}  // namespace

TEST_F(Form1Test, ControlTextsAndInitialStates) {
  TForm1 f(Options());
  ASSERT_TRUE(f.Handle());
  EXPECT_EQ(Text(f.Handle()), L"Orvantis Ver.1.10");
  LONG style = GetWindowLongW(f.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  struct Case {
    int id;
    const wchar_t* text;
  };
  for (Case c : {Case{app::kGroupBoxFold, L"保存先(&F)"}, {app::kRadioButtonFl1, L"デスクトップ"},
                 {app::kRadioButtonFl2, L"マイドキュメント"}, {app::kRadioButtonFl3, L"元ファイルのフォルダ"},
                 {app::kRadioButtonFl4, L"指定フォルダ"}, {app::kButtonFl1, L"参照"}, {app::kRadioButtonFl5, L"毎回指定"},
                 {app::kLabel2, L"エクスプローラ等からドラッグ＆ドロップするか、または、"},
                 {app::kLabel3, L"ここをクリックして変換するファイルを選択して下さい。"},
                 {app::kLabel7, L"画面スタイル："}, {app::kLabel8, L"※次回起動時に有効"}, {app::kEditFl1, L""}}) {
    EXPECT_EQ(Text(f.Control(c.id)), c.text) << c.id;
  }
  EXPECT_EQ(Text(f.Control(app::kMemo1)),
            L"用紙サイズによる用紙枠の長方形を想定し、\r\nその長方形内にあるデータ要素、及び、\r\n"
            L"その長方形と交差するデータ要素\u3000を残し、\r\nその長方形の外側にあるデータ要素を削除します。\r\n"
            L"※長方形と交差するデータ要素は、伸縮等を行わずそのままです\r\n\u3000\r\n"
            L"ブロック図形は全て解除されます。\r\nそのため、ブロック図形を多用していた場合、\r\n"
            L"データ量が多くなる（ファイルサイズが大きくなる）可能性\r\nがあります。");
  EXPECT_TRUE(Checked(f, app::kRadioButtonFl1));
  for (int id : {app::kRadioButtonFl2, app::kRadioButtonFl3, app::kRadioButtonFl4, app::kRadioButtonFl5})
    EXPECT_FALSE(Checked(f, id));
  EXPECT_FALSE(IsWindowEnabled(f.Control(app::kEditFl1)));
  EXPECT_FALSE(IsWindowEnabled(f.Control(app::kButtonFl1)));
  EXPECT_EQ(Text(f.Control(app::kLabelPreFolder)), platform::WidePath(dir.file("exe/")));
  EXPECT_FALSE(IsWindowVisible(f.Control(app::kLabel1)));
  EXPECT_FALSE(IsWindowEnabled(f.Control(app::kLabel1)));
  HWND tabs = f.Control(app::kPageControl1);
  EXPECT_TRUE(GetWindowLongW(tabs, GWL_STYLE) & TCS_BOTTOM);
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 2);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
  wchar_t status[256] = {};
  EXPECT_TRUE(SendMessageW(f.Control(app::kStatusBar1), SB_ISSIMPLE, 0, 0));
  SendMessageW(f.Control(app::kStatusBar1), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_STREQ(status, L"※保存先フォルダに同じ名前のファイルが存在する場合は名前に枝番が付きます");
  EXPECT_EQ(SendMessageW(f.Control(app::kComboBoxSc1), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(f.gstyle(), L"Windows");
  RECT r;
  GetWindowRect(f.Handle(), &r);
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
            std::vector<LONG>({50, 50, 480, 480}));
}

TEST_F(Form1Test, OptionClicksEnableTheFixedFolderOnly) {
  TForm1 f(Options());
  f.Show(SW_SHOWNOACTIVATE);
  for (int id = app::kRadioButtonFl1; id <= app::kRadioButtonFl5; ++id) {
    SendMessageW(f.Control(id), BM_CLICK, 0, 0);
    EXPECT_TRUE(Checked(f, id)) << id;
    bool fixed = id == app::kRadioButtonFl4;
    EXPECT_EQ(IsWindowEnabled(f.Control(app::kEditFl1)) != 0, fixed) << id;
    EXPECT_EQ(IsWindowEnabled(f.Control(app::kButtonFl1)) != 0, fixed) << id;
  }
}

TEST_F(Form1Test, DropsConvertJwwFilesOnly) {
  WriteSettings(Settings(3, dir.file("out/")));
  TForm1 f(Options());
  f.Show(SW_SHOWNOACTIVATE);
  EXPECT_TRUE(IsWindowEnabled(f.Control(app::kEditFl1)));  // set by the settings file
  // Two drawings (one twice), one text file, an upper-case extension.
  SendMessageW(f.Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({dir.file("a.jww"), dir.file("notes.txt"), dir.file("a.jww"),
                                                  dir.file("PLAN.JWW")})),
               0);
  EXPECT_EQ(Outputs(), (std::vector<std::string>{"PLAN.JWW", "a.jww", "a~1.jww"}));
  std::vector<std::wstring> log = LogLines(f);
  ASSERT_EQ(log.size(), 9u);
  EXPECT_EQ(log[1], L"→ " + platform::WidePath(dir.file("out/a.jww")));
  EXPECT_EQ(log[4], L"→ " + platform::WidePath(dir.file("out/a~1.jww")));
  EXPECT_EQ(log[8], L"\u3000…… 変換完了");
  EXPECT_EQ(TabCtrl_GetCurSel(f.Control(app::kPageControl1)), 1);  // the log page is shown
  // A folder, or only other files: nothing starts, the log stays.
  SendMessageW(f.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir.file("out"), dir.file("notes.txt")})), 0);
  EXPECT_EQ(LogLines(f).size(), 9u);
  EXPECT_EQ(Outputs().size(), 3u);
}

TEST_F(Form1Test, CommandLineFilesConvertWhenShown) {
  WriteSettings(Settings(3, dir.file("out/")));
  TForm1 f(Options({dir.file("a.jww"), dir.file("notes.txt"), dir.file("PLAN.JWW")}));
  EXPECT_TRUE(Outputs().empty());  // nothing before the window is shown
  f.Show(SW_SHOWNOACTIVATE);
  EXPECT_EQ(Outputs(), (std::vector<std::string>{"PLAN.JWW", "a.jww"}));
  EXPECT_EQ(TabCtrl_GetCurSel(f.Control(app::kPageControl1)), 1);
  EXPECT_EQ(f.FList().size(), 2u);
}

TEST_F(Form1Test, UnknownStyleFallsBackAndAChosenOneIsKeptForTheNextStart) {
  WriteSettings(Settings(0, "", "Nonexistent"));
  {
    TForm1 f(Options());
    EXPECT_EQ(f.gstyle(), L"Windows");
    HWND combo = f.Control(app::kComboBoxSc1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(f.Handle(), WM_COMMAND, MAKEWPARAM(app::kComboBoxSc1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(f.gstyle(), L"Classic");
    SendMessageW(f.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.Closed());
  }
  TForm1 again(Options());
  EXPECT_EQ(again.gstyle(), L"Classic");
  EXPECT_EQ(SendMessageW(again.Control(app::kComboBoxSc1), CB_GETCURSEL, 0, 0), 1);
}

TEST_F(Form1Test, SettingsSavedAtCloseAndRestored) {
  WriteSettings(Settings(0, "", "Windows", 2));
  {
    TForm1 f(Options());
    f.Show(SW_SHOWNOACTIVATE);
    SendMessageW(f.Control(app::kRadioButtonFl4), BM_CLICK, 0, 0);
    SetWindowTextW(f.Control(app::kEditFl1), L"C:\\図面\\");
    SetWindowTextW(f.Control(app::kLabel1), L"C:\\picked\\");  // as the open dialog leaves it
    SetWindowPos(f.Handle(), nullptr, 120, 80, 500, 520, SWP_NOZORDER);
    SendMessageW(f.Handle(), WM_CLOSE, 0, 0);
  }
  auto saved = testutil::ReadFile(dir.file("exe/orvantis.dat"));
  std::string text(saved.begin(), saved.end());
  // The remembered folder was empty in the file read, and stays so.
  EXPECT_EQ(text, "120\r\n80\r\n500\r\n520\r\n0\r\n0\r\n0\r\n1\r\n0\r\n433A5CE59BB3E99DA25C\r\n"
                  "433A5C7069636B65645C\r\n\r\n2\r\nWindows\r\n");
  TForm1 again(Options());
  EXPECT_TRUE(Checked(again, app::kRadioButtonFl4));
  EXPECT_TRUE(IsWindowEnabled(again.Control(app::kEditFl1)));
  EXPECT_EQ(Text(again.Control(app::kEditFl1)), L"C:\\図面\\");
  EXPECT_EQ(Text(again.Control(app::kLabel1)), L"C:\\picked\\");
  RECT r;
  GetWindowRect(again.Handle(), &r);
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
            std::vector<LONG>({120, 80, 500, 520}));
}

TEST_F(Form1Test, DoubleClickingAConvertedFileOpensItsPicture) {
  WriteSettings(Settings(3, dir.file("out/")));
  testutil::WriteFile(dir.file("junk.jww"), {1, 2, 3});
  TForm1 f(Options({dir.file("junk.jww"), dir.file("a.jww")}));
  std::vector<std::wstring> opened;
  f.openPicture = [&](const std::wstring& p) { opened.push_back(p); };
  f.Show(SW_SHOWNOACTIVATE);
  HWND log = f.Control(app::kListBox1);
  auto doubleClick = [&](int line) {
    SendMessageW(log, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageW(f.Handle(), WM_COMMAND, MAKEWPARAM(app::kListBox1, LBN_DBLCLK), reinterpret_cast<LPARAM>(log));
  };
  doubleClick(1);  // the failed file: no picture
  EXPECT_TRUE(opened.empty());
  doubleClick(4);  // the converted one's arrow line
  ASSERT_EQ(opened.size(), 1u);
  std::string svg = platform::NarrowPath(opened[0]);
  EXPECT_TRUE(svg.ends_with("a.svg")) << svg;
  auto bytes = testutil::ReadFile(svg);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("kept: point 1"), std::string::npos);
  EXPECT_EQ(Outputs(), std::vector<std::string>{"a.jww"});  // the run's output only, nothing more
}
