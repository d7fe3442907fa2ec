// The settings file: window placement, destination choice with its folders,
// the open dialog's folder and filter, and the screen style, kept from one
// start to the next as 14 CR LF lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "jww/jwwtype.h"

namespace shell {

using jww::JString;

struct DatSettings {
  int32_t Fm1x = 50, Fm1y = 50, Fm1w = 480, Fm1h = 480;  // window left, top, width, height
  // RadioButtonFl1 ... RadioButtonFl5: desktop, documents, same folder,
  // fixed folder, ask each time. At most one is checked.
  std::array<bool, 5> Fl = {true, false, false, false, false};
  JString EditFl1;         // the fixed destination folder
  JString Label1;          // folder of the files last picked in the open dialog
  JString LabelPreFolder;  // folder chosen last in the folder dialog
  int32_t Fidx = 1;        // filter index of the open dialog
  JString gstyle = u"Windows";

  // Checks option i (0 to 4) the way a radio button does: the others clear.
  void Check(int i);
};

// The defaults when no settings file exists; the remembered folder starts at
// the executable's folder.
DatSettings DefaultSettings(const JString& exeFolder);

// The file's text for s, and the values a text gives over those in s (the
// two halves of saving and opening, without the file).
std::string DatSettingsText(const DatSettings& s);
void ReadDatSettings(const std::string& bytes, DatSettings& s);

// Reads the file over the defaults in s. A missing file leaves them; a short
// file reads its missing lines as empty; a damaged line ends the reading and
// keeps what was read before it.
void OpenDatFile(const std::string& path, DatSettings& s);
// Writes through a temporary file in the same folder and a rename, so the
// previous file stays whole when anything fails. False on failure.
bool SaveDatFile(const std::string& path, const DatSettings& s);

// A wholly decimal, optionally signed 32-bit integer, else 0.
int32_t StrToIntZero(const JString& s);
// True for the spellings of "checked" (after upper-casing).
bool StrToBoolEx(const JString& s);
// The text's UTF-8 bytes as upper-case hexadecimal pairs.
std::string StrToHexUtf8(const JString& s);
// Reads hexadecimal pairs (either case) up to the first pair that is not
// hexadecimal, a "00" pair or an unpaired last character; false when the
// bytes are not UTF-8.
bool HexUtf8ToStr(const std::string& hex, JString& out);

// Where the settings live: `fileName` beside the executable, or in the user's
// private config folder when the executable's folder cannot be written.
// Empty when neither is available.
std::string SettingsPath(const std::string& exeFolder, const std::string& fileName);

}  // namespace shell
