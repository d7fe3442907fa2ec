#include "geom/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>

namespace geom {

using jww::JString;

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Skips a run of digits from i; returns how many there were.
size_t SkipDigits(const JString& s, size_t& i) {
  const size_t from = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i - from;
}

// True when s[from..] is wholly [+-]digits[.digits][(E|e)[+-]digits] with at
// least one mantissa digit.
bool IsDecimalNumber(const JString& s, size_t from) {
  size_t i = from;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  size_t digits = SkipDigits(s, i);
  if (i < s.size() && s[i] == u'.') {
    ++i;
    digits += SkipDigits(s, i);
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
    if (SkipDigits(s, i) == 0) return false;
  }
  return i == s.size();
}

JString Widen(const std::string& s) { return JString(s.begin(), s.end()); }

std::string FixedDigits(int32_t d, double v) {
  if (d < 0) d = 0;
  const int n = std::snprintf(nullptr, 0, "%.*f", static_cast<int>(d), v);
  std::string r(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(r.data(), r.size(), "%.*f", static_cast<int>(d), v);
  r.pop_back();
  if (!r.empty() && r[0] == '-' && r.find_first_of("123456789") == std::string::npos)
    r.erase(0, 1);
  return r;
}

const char* NonFiniteText(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

// Digits of v rounded to 15 significant digits without trailing zeros, and
// the decimal exponent of the first digit.
void SignificantDigits(double v, std::string& digits, int& exponent) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
  const std::string s = buf;
  const size_t e = s.find('e');
  digits = s.substr(0, 1) + s.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  exponent = std::stoi(s.substr(e + 1));
}

std::string FixedNotation(const std::string& digits, int exponent) {
  if (exponent < 0) return "0." + std::string(-exponent - 1, '0') + digits;
  const size_t intLen = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= intLen) return digits + std::string(intLen - digits.size(), '0');
  return digits.substr(0, intLen) + "." + digits.substr(intLen);
}

std::string ExponentNotation(const std::string& digits, int exponent) {
  std::string r = digits.substr(0, 1);
  if (digits.size() > 1) r += "." + digits.substr(1);
  return r + "E" + std::to_string(exponent);
}

}  // namespace

double StrToFloatZero(const JString& s) {
  size_t from = 0;
  while (from < s.size() && s[from] == u' ') ++from;
  if (!IsDecimalNumber(s, from)) return 0;
  std::string ascii(s.begin() + static_cast<std::ptrdiff_t>(from), s.end());
  const bool negative = ascii[0] == '-';
  if (ascii[0] == '+' || ascii[0] == '-') ascii.erase(0, 1);
  double v = 0;
  const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
  if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size()) return 0;
  return negative ? -v : v;
}

JString FormatGeneral(double v) {
  if (!std::isfinite(v)) return Widen(NonFiniteText(v));
  if (v == 0) return u"0";
  std::string digits;
  int exponent = 0;
  SignificantDigits(v, digits, exponent);
  const std::string body = (exponent >= -5 && exponent < 15)
                               ? FixedNotation(digits, exponent)
                               : ExponentNotation(digits, exponent);
  return Widen(v < 0 ? "-" + body : body);
}

JString FormatFixed(int32_t d, double v) {
  if (!std::isfinite(v)) return Widen(NonFiniteText(v));
  return Widen(FixedDigits(d, v));
}

JString FormatGrouped(int32_t d, double v) {
  if (!std::isfinite(v)) return Widen(NonFiniteText(v));
  const std::string s = FixedDigits(d, v);
  const size_t begin = s[0] == '-' ? 1 : 0;
  const size_t end = s.find('.') == std::string::npos ? s.size() : s.find('.');
  std::string r = s.substr(0, begin);
  for (size_t i = begin; i < end; ++i) {
    if (i > begin && (end - i) % 3 == 0) r += ',';
    r += s[i];
  }
  return Widen(r + s.substr(end));
}

JString ToFullWidth(const JString& s) {
  JString r = s;
  for (char16_t& c : r) {
    if (c == u' ') {
      c = u'\u3000';
    } else if (c == u'"') {
      c = u'\u201D';
    } else if (c == u'\'') {
      c = u'\u2019';
    } else if (c == u'\\') {
      c = u'\uFFE5';
    } else if (c >= u'!' && c <= u'~') {
      c = static_cast<char16_t>(c + 0xFEE0);
    }
  }
  return r;
}

}  // namespace geom
