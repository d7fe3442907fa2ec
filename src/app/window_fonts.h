// The window's fonts: "ＭＳ ゴシック" asked for by name, else the system's
// Japanese UI font, at the window's resolution.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// The face to use: the first of "ＭＳ ゴシック", "MS Gothic", "Yu Gothic UI",
// "Meiryo UI", "MS UI Gothic" the system has, else a free Japanese face
// (IPA, Noto CJK, ...), else any face with Latin and Japanese characters,
// else the system's message font.
std::wstring JapaneseFace();

class WindowFonts {
 public:
  ~WindowFonts() { Release(); }
  // Makes the fonts for a resolution (dots per inch).
  void Make(int dpi);
  HFONT normal() const { return normal_; }
  HFONT small() const { return small_; }      // the log's, smaller
  HFONT underlined() const { return link_; }  // the clickable label's

 private:
  void Release();
  HFONT normal_ = nullptr, small_ = nullptr, link_ = nullptr;
};

}  // namespace app
