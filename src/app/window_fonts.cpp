#include "app/window_fonts.h"

#include <vector>

namespace app {

namespace {

bool HasFace(const std::wstring& face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// Whether the face draws Latin letters and Japanese alike: some fallback
// faces carry only the ideographs.
bool CoversLatinAndJapanese(const std::wstring& face) {
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  const wchar_t sample[] = L"A(&)あア図　";
  WORD glyphs[8] = {};
  bool all = GetGlyphIndicesW(dc, sample, 7, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 7;
  for (int i = 0; all && i < 7; ++i) all = glyphs[i] != 0xFFFF;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return all;
}

std::wstring AnyJapaneseFace() {
  LOGFONTW lf{};
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::vector<std::wstring> faces;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf, [](const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        if (f->lfFaceName[0] != L'@') reinterpret_cast<std::vector<std::wstring>*>(p)->push_back(f->lfFaceName);
        return 1;  // the '@' faces are the vertical variants
      },
      reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(nullptr, dc);
  for (const auto& f : faces)
    if (CoversLatinAndJapanese(f)) return f;
  return faces.empty() ? L"" : faces.front();
}

HFONT Make(const std::wstring& face, int points, int dpi, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(points, dpi, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

}  // namespace

std::wstring JapaneseFace() {
  static const std::wstring face = [] {
    for (const wchar_t* f : {L"ＭＳ ゴシック", L"MS Gothic", L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic"})
      if (HasFace(f)) return std::wstring(f);
    // Elsewhere (Wine on Linux or macOS) the usual free Japanese faces.
    for (const wchar_t* f : {L"IPAGothic", L"IPAPGothic", L"Noto Sans CJK JP", L"Noto Sans Mono CJK JP",
                             L"TakaoGothic", L"VL Gothic", L"Hiragino Sans"})
      if (HasFace(f) && CoversLatinAndJapanese(f)) return std::wstring(f);
    std::wstring any = AnyJapaneseFace();
    if (!any.empty()) return any;
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    return std::wstring(m.lfMessageFont.lfFaceName);
  }();
  return face;
}

void WindowFonts::Make(int dpi) {
  Release();
  std::wstring face = JapaneseFace();
  normal_ = app::Make(face, 10, dpi, false);
  small_ = app::Make(face, 9, dpi, false);
  link_ = app::Make(face, 10, dpi, true);
}

void WindowFonts::Release() {
  for (HFONT* f : {&normal_, &small_, &link_}) {
    if (*f) DeleteObject(*f);
    *f = nullptr;
  }
}

}  // namespace app
