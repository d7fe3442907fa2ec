#include "app/form1.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/dialogs.h"
#include "app/styles.h"
#include "jww/jww_strings.h"
#include "platform/file_system.h"
#include "platform/wide_path.h"
#include "preview/svg_preview.h"
#include "shell/batch_run.h"
#include "shell/output_naming.h"
#include "shell/temp_folder.h"
#include "shell/user_folders.h"

namespace app {

namespace {

using platform::NarrowPath;
using platform::WidePath;

constexpr int kClientWidth = 464, kClientHeight = 442;  // at 96 dots per inch

const wchar_t* const kStatusHint = L"※保存先フォルダに同じ名前のファイルが存在する場合は名前に枝番が付きます";

const wchar_t* const kMemoLines[] = {
    L"用紙サイズによる用紙枠の長方形を想定し、",
    L"その長方形内にあるデータ要素、及び、",
    L"その長方形と交差するデータ要素\u3000を残し、",
    L"その長方形の外側にあるデータ要素を削除します。",
    L"※長方形と交差するデータ要素は、伸縮等を行わずそのままです",
    L"\u3000",
    L"ブロック図形は全て解除されます。",
    L"そのため、ブロック図形を多用していた場合、",
    L"データ量が多くなる（ファイルサイズが大きくなる）可能性",
    L"があります。",
};

std::wstring W(const shell::JString& s) { return std::wstring(s.begin(), s.end()); }
shell::JString J(const std::wstring& s) { return shell::JString(s.begin(), s.end()); }

// A folder dialog starts at the folder of its field, or at the executable's
// folder when that names no existing folder.
std::wstring StartFolder(const std::wstring& folder, const std::string& exeFolder) {
  if (!folder.empty() && platform::Fs().DirectoryExists(NarrowPath(folder))) return folder;
  return WidePath(exeFolder);
}

struct Place {
  int id;
  int x, y, w, h;
};

}  // namespace

bool TForm1::RegisterWindowClass(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

TForm1::TForm1(const FormOptions& options) : options_(options) {
  openPicture = [this](const std::wstring& path) {
    ShellExecuteW(hwnd_, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  FormCreate();
}

TForm1::~TForm1() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void TForm1::FormCreate() {
  // The temporary folder; a failure is absorbed by the image handling.
  images_ = std::make_unique<shell::RunImageFolder>(options_.exeFolder);
  shell::DatSettings s = shell::DefaultSettings(jww::FromUtf8(options_.exeFolder));
  shell::OpenDatFile(options_.settingsPath, s);
  startFolder1_ = StartFolder(W(s.EditFl1), options_.exeFolder);
  startFolder2_ = StartFolder(W(s.LabelPreFolder), options_.exeFolder);
  // The style applies to the controls made after it, so it comes first.
  gstyle_ = W(s.gstyle);
  std::vector<std::wstring> styles = AvailableStyles();
  if (std::find(styles.begin(), styles.end(), gstyle_) == styles.end()) gstyle_ = L"Windows";
  if (!ApplyStyle(gstyle_)) gstyle_ = L"Windows";

  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
  hwnd_ = CreateWindowExW(WS_EX_ACCEPTFILES, kWindowClass, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                          kClientWidth, kClientHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  dpi_ = GetDpiForWindow(hwnd_);
  RECT r = {0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectExForDpi(&r, style, FALSE, WS_EX_ACCEPTFILES, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  fonts_.Make(static_cast<int>(dpi_));
  CreateControls();
  for (const auto& name : styles) SendMessageW(Control(kComboBoxSc1), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(Control(kComboBoxSc1), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(gstyle_.c_str()));
  ApplySettings(s);
  SetWindowPos(hwnd_, nullptr, s.Fm1x, s.Fm1y, s.Fm1w, s.Fm1h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Show(int showCommand) {
  if (!hwnd_) return;
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TForm1::FormShow() {
  CreateJww();
  DragAcceptFiles(hwnd_, TRUE);
  FList_.clear();
  for (const auto& a : options_.args) PickupFile(a);
  RunIfPicked();
}

void TForm1::FormClose() {
  DestroyJww();
  images_.reset();  // this run's images, and the temporary folder when empty
  FList_.clear();
  SaveSettings();
}

void TForm1::CreateJww() {
  JWW_ = std::make_unique<jww::TJwwData>();
  JWW_->BindImageFolder = images_ ? images_->path() : "";
}

void TForm1::DestroyJww() {
  if (!JWW_) return;
  shell::JwwDataFree(*JWW_);
  JWW_.reset();
}

void TForm1::PickupFile(const std::string& path) {
  if (!path.empty() && shell::LowerExt(path) == ".jww" && platform::Fs().FileExists(path)) FList_.push_back(path);
}

void TForm1::RunIfPicked() {
  if (!FList_.empty() && JWW_) shell::RunProc(*JWW_, FList_, *this);
}

void TForm1::WMDropFiles(HDROP drop) {
  FList_.clear();
  UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    wchar_t buf[512] = {};
    if (DragQueryFileW(drop, i, buf, 512) > 0) PickupFile(NarrowPath(buf));
  }
  DragFinish(drop);
  RunIfPicked();
}

void TForm1::Label3Click() {
  OpenDialogResult r = RunOpenDialog(hwnd_, Text(kLabel1), Fidx_);
  if (!r.accepted) return;
  if (!r.files.empty()) SetText(kLabel1, WidePath(shell::FolderPart(NarrowPath(r.files.front()))));
  Fidx_ = r.filterIndex;
  FList_.clear();
  for (const auto& f : r.files) PickupFile(NarrowPath(f));
  RunIfPicked();
}

void TForm1::RadioButtonFl1Click() {
  bool fixed = OptionChecked(3);
  EnableWindow(Control(kEditFl1), fixed);
  EnableWindow(Control(kButtonFl1), fixed);
}

void TForm1::ButtonFl1Click() {
  std::wstring chosen = RunFolderDialog(hwnd_, startFolder1_);
  if (chosen.empty()) return;
  SetText(kEditFl1, WidePath(shell::AddPathDelim(NarrowPath(chosen))));  // BrowseForFolder1Accept
  startFolder1_ = chosen;
}

void TForm1::ComboBoxSc1Select() {
  HWND combo = Control(kComboBoxSc1);
  LRESULT i = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (i == CB_ERR) return;
  wchar_t buf[256] = {};
  if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 255)
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
  gstyle_ = buf;  // saved with the settings, applied at the next start
}

void TForm1::ApplySettings(const shell::DatSettings& s) {
  for (int i = 0; i < 5; ++i)
    SendMessageW(Control(kRadioButtonFl1 + i), BM_SETCHECK, s.Fl[static_cast<size_t>(i)] ? BST_CHECKED : BST_UNCHECKED, 0);
  RadioButtonFl1Click();
  SetText(kEditFl1, W(s.EditFl1));
  SetText(kLabel1, W(s.Label1));
  SetText(kLabelPreFolder, W(s.LabelPreFolder));
  Fidx_ = s.Fidx;
}

shell::DatSettings TForm1::CurrentSettings() const {
  shell::DatSettings s;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  RECT r{};
  if (IsIconic(hwnd_) && GetWindowPlacement(hwnd_, &wp)) r = wp.rcNormalPosition;
  else GetWindowRect(hwnd_, &r);
  s.Fm1x = r.left;
  s.Fm1y = r.top;
  s.Fm1w = r.right - r.left;
  s.Fm1h = r.bottom - r.top;
  for (int i = 0; i < 5; ++i) s.Fl[static_cast<size_t>(i)] = OptionChecked(i);
  s.EditFl1 = J(Text(kEditFl1));
  s.Label1 = J(Text(kLabel1));
  s.LabelPreFolder = J(Text(kLabelPreFolder));
  s.Fidx = Fidx_;
  s.gstyle = J(gstyle_);
  return s;
}

// --- the run's surroundings ---

bool TForm1::OptionChecked(int i) const {
  return SendMessageW(Control(kRadioButtonFl1 + i), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
shell::JString TForm1::EditFl1Text() const { return J(Text(kEditFl1)); }
shell::JString TForm1::LabelPreFolderText() const { return J(Text(kLabelPreFolder)); }
std::string TForm1::DesktopFolder() { return shell::DesktopFolder(); }
std::string TForm1::DocumentsFolder() { return shell::DocumentsFolder(); }

void TForm1::ShowMessage(const shell::JString& text) {
  MessageBoxW(hwnd_, W(text).c_str(), L"Orvantis", MB_OK | MB_ICONWARNING);
}

bool TForm1::BrowseForFolder2() {
  std::wstring chosen = RunFolderDialog(hwnd_, startFolder2_);
  if (chosen.empty()) return false;
  SetText(kLabelPreFolder, WidePath(shell::AddPathDelim(NarrowPath(chosen))));  // BrowseForFolder2Accept
  startFolder2_ = chosen;
  return true;
}

bool TForm1::EscapeDown() {
  // Asking for the queue's state lets the system take in pending keyboard
  // input (Wine needs this to see a key pressed during the run) without
  // removing or dispatching any message.
  GetQueueStatus(QS_KEY);
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void TForm1::LogClear() {
  SendMessageW(Control(kListBox1), LB_RESETCONTENT, 0, 0);
  logged_.clear();
}

void TForm1::LogAdd(const shell::JString& line) {
  std::wstring w = W(line);
  SendMessageW(Control(kListBox1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

void TForm1::SetStatus(const shell::JString& text) {
  HWND bar = Control(kStatusBar1);
  std::wstring w = W(text);
  SendMessageW(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(w.c_str()));
  UpdateWindow(bar);  // the run processes no messages: paint now
}

void TForm1::ShowLogPage() {
  TabCtrl_SetCurSel(Control(kPageControl1), 1);
  ShowPage(1);
}

void TForm1::SaveSettings() { shell::SaveDatFile(options_.settingsPath, CurrentSettings()); }

// The run itself makes no picture; it only notes which log lines belong to
// which file.
trim::TrimObserver* TForm1::FileObserver(const std::string&, const std::string&) {
  fileFirstLine_ = static_cast<int>(SendMessageW(Control(kListBox1), LB_GETCOUNT, 0, 0)) - 1;
  return nullptr;
}

void TForm1::FileFinished(const std::string& src, const std::string&, const shell::JString& result) {
  int end = static_cast<int>(SendMessageW(Control(kListBox1), LB_GETCOUNT, 0, 0));
  logged_.push_back({fileFirstLine_, end, src, result == shell::kConverted});
}

// A double click on a converted file's lines draws its trim anew, into the
// temporary folder, and opens the picture.
void TForm1::ListBox1DblClick() {
  int line = static_cast<int>(SendMessageW(Control(kListBox1), LB_GETCARETINDEX, 0, 0));
  auto it = std::find_if(logged_.begin(), logged_.end(),
                         [line](const LoggedFile& f) { return line >= f.first && line < f.end; });
  if (it == logged_.end() || !it->converted || !JWW_ || !images_) return;
  std::string name = shell::FileNamePart(it->src);
  size_t dot = name.rfind('.');
  std::string path = shell::MakeUniqueFileName(images_->path() + name.substr(0, dot) + ".svg");
  preview::SvgPreview svg(path);
  shell::RunProc1(*JWW_, it->src, path, nullptr, nullptr, "", {&svg, false});
  if (svg.finished() && svg.ok()) openPicture(WidePath(path));
}

// --- controls ---

void TForm1::SetText(int id, const std::wstring& text) { SetWindowTextW(Control(id), text.c_str()); }

std::wstring TForm1::Text(int id) const {
  HWND c = Control(id);
  std::wstring t(static_cast<size_t>(GetWindowTextLengthW(c)) + 1, L'\0');
  t.resize(static_cast<size_t>(GetWindowTextW(c, t.data(), static_cast<int>(t.size()))));
  return t;
}

int TForm1::Scale(int px) const { return MulDiv(px, static_cast<int>(dpi_), 96); }

void TForm1::CreateControls() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  auto make = [&](int id, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex = 0) {
    HWND c = CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal()), FALSE);
    return c;
  };
  make(kGroupBoxFold, L"BUTTON", L"保存先(&F)", BS_GROUPBOX);
  make(kRadioButtonFl1, L"BUTTON", L"デスクトップ", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
  make(kRadioButtonFl2, L"BUTTON", L"マイドキュメント", BS_AUTORADIOBUTTON);
  make(kRadioButtonFl3, L"BUTTON", L"元ファイルのフォルダ", BS_AUTORADIOBUTTON);
  make(kRadioButtonFl4, L"BUTTON", L"指定フォルダ", BS_AUTORADIOBUTTON);
  make(kEditFl1, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_DISABLED, WS_EX_CLIENTEDGE);
  make(kButtonFl1, L"BUTTON", L"参照", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED);
  make(kRadioButtonFl5, L"BUTTON", L"毎回指定", BS_AUTORADIOBUTTON);
  make(kLabelPreFolder, L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS);
  make(kPanel1, L"STATIC", L"", SS_ETCHEDFRAME);
  make(kLabel2, L"STATIC", L"エクスプローラ等からドラッグ＆ドロップするか、または、", SS_CENTER);
  HWND link = make(kLabel3, L"STATIC", L"ここをクリックして変換するファイルを選択して下さい。", SS_CENTER | SS_NOTIFY);
  SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.underlined()), FALSE);
  HWND label1 = make(kLabel1, L"STATIC", L"", WS_DISABLED);
  ShowWindow(label1, SW_HIDE);  // storage only
  HWND tabs = make(kPageControl1, WC_TABCONTROLW, L"", TCS_BOTTOM | WS_CLIPSIBLINGS | WS_TABSTOP);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"設定(&S)");
  TabCtrl_InsertItem(tabs, 0, &item);
  item.pszText = const_cast<wchar_t*>(L"ログ(&L)");
  TabCtrl_InsertItem(tabs, 1, &item);
  make(kLabel7, L"STATIC", L"画面スタイル：", SS_LEFT);
  make(kComboBoxSc1, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
  make(kLabel8, L"STATIC", L"※次回起動時に有効", SS_LEFT);
  std::wstring memo;
  for (const wchar_t* line : kMemoLines) memo += std::wstring(memo.empty() ? L"" : L"\r\n") + line;
  make(kMemo1, L"EDIT", memo.c_str(),
       ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP,
       WS_EX_CLIENTEDGE);
  HWND log = make(kListBox1, L"LISTBOX", L"", LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                  WS_EX_CLIENTEDGE);
  SendMessageW(log, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.small()), FALSE);
  SendMessageW(log, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(Scale(2000)), 0);
  HWND bar = make(kStatusBar1, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP);
  // The smaller face, so that the hint fits the window's width.
  SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.small()), FALSE);
  SendMessageW(bar, SB_SIMPLE, TRUE, 0);
  SendMessageW(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(kStatusHint));
  SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // the pages' controls lie on it
  Layout();
  ShowPage(0);
}

void TForm1::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  HWND bar = Control(kStatusBar1);
  if (!bar) return;
  SendMessageW(bar, WM_SIZE, 0, 0);
  RECT barRect;
  GetWindowRect(bar, &barRect);
  int W = MulDiv(client.right, 96, static_cast<int>(dpi_));  // in 96-dpi units
  int H = MulDiv(client.bottom - (barRect.bottom - barRect.top), 96, static_cast<int>(dpi_));
  int tabsTop = 180, tabsH = std::max(100, H - tabsTop - 4);
  const Place places[] = {
      {kGroupBoxFold, 8, 4, W - 16, 110},
      {kRadioButtonFl1, 20, 24, 132, 22},
      {kRadioButtonFl2, 156, 24, 140, 22},
      {kRadioButtonFl3, 300, 24, W - 316, 22},
      {kRadioButtonFl4, 20, 52, 100, 22},
      {kEditFl1, 124, 51, W - 16 - 124 - 78, 24},
      {kButtonFl1, W - 16 - 70, 50, 64, 26},
      {kRadioButtonFl5, 20, 82, 100, 22},
      {kLabelPreFolder, 124, 85, W - 16 - 132, 20},
      {kPanel1, 8, 120, W - 16, 54},
      {kLabel2, 12, 127, W - 24, 20},
      {kLabel3, 12, 149, W - 24, 20},
      {kPageControl1, 8, tabsTop, W - 16, tabsH},
  };
  for (const Place& p : places)
    MoveWindow(Control(p.id), Scale(p.x), Scale(p.y), Scale(p.w), Scale(p.h), TRUE);
  // The pages' controls inside the tab control's display area.
  HWND tabs = Control(kPageControl1);
  RECT page;
  GetWindowRect(tabs, &page);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&page), 2);
  TabCtrl_AdjustRect(tabs, FALSE, &page);
  int x = page.left, y = page.top, w = page.right - page.left, h = page.bottom - page.top;
  MoveWindow(Control(kLabel7), x + Scale(8), y + Scale(10), Scale(104), Scale(20), TRUE);
  MoveWindow(Control(kComboBoxSc1), x + Scale(112), y + Scale(6), Scale(150), Scale(200), TRUE);
  MoveWindow(Control(kLabel8), x + Scale(272), y + Scale(10), std::max(0, w - Scale(280)), Scale(20), TRUE);
  MoveWindow(Control(kMemo1), x + Scale(8), y + Scale(38), w - Scale(16), std::max(0, h - Scale(46)), TRUE);
  MoveWindow(Control(kListBox1), x + Scale(4), y + Scale(4), w - Scale(8), std::max(0, h - Scale(8)), TRUE);
}

void TForm1::ShowPage(int index) {
  for (int id : {kLabel7, kComboBoxSc1, kLabel8, kMemo1}) ShowWindow(Control(id), index == 0 ? SW_SHOW : SW_HIDE);
  ShowWindow(Control(kListBox1), index == 1 ? SW_SHOW : SW_HIDE);
}

// --- messages ---

LRESULT CALLBACK TForm1::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return form ? form->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT TForm1::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp), code = HIWORD(wp);
      if (id >= kRadioButtonFl1 && id <= kRadioButtonFl5 && code == BN_CLICKED) RadioButtonFl1Click();
      else if (id == kButtonFl1 && code == BN_CLICKED) ButtonFl1Click();
      else if (id == kLabel3 && code == STN_CLICKED) Label3Click();
      else if (id == kComboBoxSc1 && code == CBN_SELCHANGE) ComboBoxSc1Select();
      else if (id == kListBox1 && code == LBN_DBLCLK) ListBox1DblClick();
      return 0;
    }
    case WM_NOTIFY: {
      auto* n = reinterpret_cast<NMHDR*>(lp);
      if (n->idFrom == kPageControl1 && n->code == TCN_SELCHANGE) ShowPage(TabCtrl_GetCurSel(n->hwndFrom));
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == Control(kLabel3)) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == Control(kLabel3)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_DROPFILES:
      WMDropFiles(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      mm->ptMinTrackSize = {Scale(320), Scale(360)};
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      fonts_.Make(static_cast<int>(dpi_));
      for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal()), TRUE);
      for (int id : {kListBox1, kStatusBar1})
        SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.small()), TRUE);
      SendMessageW(Control(kLabel3), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.underlined()), TRUE);
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      FormClose();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace app
