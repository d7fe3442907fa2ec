#include "jww/jww_write_rules.h"

#include <cmath>

namespace jww {

bool NeedsCleaning(const JString& s) {
  for (char16_t c : s)
    if (c < 0x20 || c == u'^' || c == u'\\') return true;
  return false;
}

JString CleanText(const JString& s) {
  if (s.empty()) return s;
  JString r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (i + 1 < s.size() && ((c == u'^' && s[i + 1] == u'm') || (c == u'\\' && s[i + 1] == u'n'))) {
      ++i;
      continue;
    }
    if (c < 0x20) continue;
    r.push_back(c);
  }
  if (r.empty()) r = u" ";
  return r;
}

JString StripBlanks(const JString& s) {
  JString r;
  for (char16_t c : s)
    if (c != u' ' && c != u'\u3000' && c >= 0x20) r.push_back(c);
  return r;
}

double ClampTextSize(double v) {
  if (std::isnan(v)) return 3.0;
  v = std::fabs(v);
  if (v < 1e-10) v = 1e-10;
  if (v > 1e10) v = 1e10;
  return v;
}

double StoredSpacing(double v) { return std::isfinite(v) ? v : 0.0; }

}  // namespace jww
