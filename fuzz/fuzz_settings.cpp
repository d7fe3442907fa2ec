// Any bytes as a settings file: reading never fails, and what was read,
// written and read again gives the same values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/settings_file.h"

namespace {

bool Same(const shell::DatSettings& a, const shell::DatSettings& b) {
  return a.Fm1x == b.Fm1x && a.Fm1y == b.Fm1y && a.Fm1w == b.Fm1w && a.Fm1h == b.Fm1h && a.Fl == b.Fl &&
         a.EditFl1 == b.EditFl1 && a.Label1 == b.Label1 && a.LabelPreFolder == b.LabelPreFolder &&
         a.Fidx == b.Fidx && a.gstyle == b.gstyle;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  shell::DatSettings s = shell::DefaultSettings(u"/opt/orvantis/");
  shell::ReadDatSettings(std::string(reinterpret_cast<const char*>(data), size), s);
  shell::DatSettings again = shell::DefaultSettings(u"/elsewhere/");
  shell::ReadDatSettings(shell::DatSettingsText(s), again);
  if (!Same(s, again)) std::abort();
  return 0;
}
