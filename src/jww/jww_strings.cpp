#include "jww/jww_strings.h"

#include <cerrno>
#include <algorithm>
#include <cmath>
#include <vector>

#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "platform/code_page.h"

namespace jww {

namespace {

constexpr char16_t kUndecodable = u'\u30FB';

// The single bytes 0x80, 0xA0 and 0xFD to 0xFF have no character in code
// page 932; Windows systems carry them as U+0080 and U+F8F0 to U+F8F3, and
// so do we, so that such bytes survive a conversion unchanged.
char16_t LoneByteChar(uint8_t b) {
  switch (b) {
    case 0x80: return u'\u0080';
    case 0xA0: return u'\uF8F0';
    case 0xFD: return u'\uF8F1';
    case 0xFE: return u'\uF8F2';
    case 0xFF: return u'\uF8F3';
    default: return 0;
  }
}

int LoneByteOf(char16_t c) {
  switch (c) {
    case u'\u0080': return 0x80;
    case u'\uF8F0': return 0xA0;
    case u'\uF8F1': return 0xFD;
    case u'\uF8F2': return 0xFE;
    case u'\uF8F3': return 0xFF;
    default: return -1;
  }
}

bool AllAscii(const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i] >= 0x80) return false;
  return true;
}

bool AllAscii(const JString& s) {
  for (char16_t c : s)
    if (c >= 0x80) return false;
  return true;
}

bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Longest prefix of at most max bytes that ends on a character boundary. A
// 16-bit length cannot hold 65534 (it reads as the UTF-16 marker) nor more
// than 65535 bytes, so longer texts are cut to 65533.
size_t AnsiCut(const std::string& b, size_t max) {
  size_t i = 0;
  while (i < b.size()) {
    size_t w = (IsLeadByte(static_cast<uint8_t>(b[i])) && i + 1 < b.size()) ? 2 : 1;
    if (i + w > max) break;
    i += w;
  }
  return i;
}

// Drawings repeat the same few non-ASCII texts (font names, layer names)
// thousands of times; a small cache of recent conversions saves most calls
// into the converter. Results are exactly those of the converter.
template <class Key, class Value>
class RecentCache {
 public:
  static constexpr size_t kMaxKey = 64;
  const Value* Find(const Key& k) const {
    const Slot& s = slots_[Index(k)];
    return s.used && s.key == k ? &s.value : nullptr;
  }
  void Put(const Key& k, const Value& v) {
    if (k.size() > kMaxKey) return;
    Slot& s = slots_[Index(k)];
    s.key = k;
    s.value = v;
    s.used = true;
  }

 private:
  struct Slot {
    Key key;
    Value value;
    bool used = false;
  };
  static size_t Index(const Key& k) { return std::hash<Key>{}(k) % 64; }
  Slot slots_[64];
};

RecentCache<std::string, JString>& DecodeCache() {
  static thread_local RecentCache<std::string, JString> c;
  return c;
}
RecentCache<JString, std::string>& EncodeCache() {
  static thread_local RecentCache<JString, std::string> c;
  return c;
}

JString DecodeNonAscii(const uint8_t* p, size_t n);
std::string EncodeNonAscii(const JString& s);

}  // namespace

JString DecodeAnsiBytes(const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i] == 0) { n = i; break; }
  JString r;
  if (AllAscii(p, n)) {
    r.assign(p, p + n);
    return r;
  }
  if (n > RecentCache<std::string, JString>::kMaxKey) return DecodeNonAscii(p, n);
  std::string key(reinterpret_cast<const char*>(p), n);
  if (const JString* hit = DecodeCache().Find(key)) return *hit;
  r = DecodeNonAscii(p, n);
  DecodeCache().Put(key, r);
  return r;
}

namespace {

JString DecodeNonAscii(const uint8_t* p, size_t n) {
  // Whole text first; only text with bytes the code page lacks goes the
  // slow way, one character at a time.
  JString r;
  if (platform::Cp932ToUtf16(p, n, r)) return r;
  r.clear();
  JString one;
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) { r.push_back(p[i]); ++i; continue; }
    if (char16_t lone = LoneByteChar(p[i])) { r.push_back(lone); ++i; continue; }
    size_t len = (IsLeadByte(p[i]) && i + 1 < n) ? 2 : 1;
    if (platform::Cp932ToUtf16(p + i, len, one)) {
      r += one;
      i += len;
    } else {
      r.push_back(kUndecodable);
      i += 1;
    }
  }
  return r;
}

}  // namespace

JString DecodeUtf16Bytes(const uint8_t* p, size_t n) {
  JString r;
  r.reserve(n / 2);
  for (size_t i = 0; i + 1 < n; i += 2) {
    char16_t c = static_cast<char16_t>(p[i] | (p[i + 1] << 8));
    if (c == 0) break;
    r.push_back(c);
  }
  return r;
}

std::string EncodeAnsiBytes(const JString& s) {
  std::string r;
  if (AllAscii(s)) {
    r.assign(s.begin(), s.end());
    return r;
  }
  if (s.size() > RecentCache<JString, std::string>::kMaxKey) return EncodeNonAscii(s);
  if (const std::string* hit = EncodeCache().Find(s)) return *hit;
  r = EncodeNonAscii(s);
  EncodeCache().Put(s, r);
  return r;
}

namespace {

std::string EncodeNonAscii(const JString& s) {
  std::string r;
  if (platform::Utf16ToCp932(s.data(), s.size(), r)) return r;
  r.clear();
  std::string one;
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c < 0x80) { r.push_back(static_cast<char>(c)); continue; }
    if (int lone = LoneByteOf(c); lone >= 0) { r.push_back(static_cast<char>(lone)); continue; }
    size_t units = (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) ? 2 : 1;
    if (platform::Utf16ToCp932(s.data() + i, units, one)) r += one;
    else r.push_back('?');
    i += units - 1;
  }
  return r;
}

}  // namespace

size_t AnsiByteLength(const JString& s) {
  std::string b = EncodeAnsiBytes(s);
  size_t z = b.find('\0');
  return z == std::string::npos ? b.size() : z;
}

JString RemoveControlChars(const JString& s) {
  JString r;
  r.reserve(s.size());
  for (char16_t c : s)
    if (c >= 0x20) r.push_back(c);
  return r;
}

bool IsFiniteNumber(double v) { return std::isfinite(v); }

JString ReadArchiveString(TJwwData& doc, JwwIn& in) {
  // Lengths are at most 65535, so one stack-sized scratch is never enough;
  // the file must still supply the bytes before they are allocated.
  // The text's bytes, in place when the input buffer holds them; the file
  // must supply them all.
  static thread_local std::vector<uint8_t> buf;
  auto bytes = [&](size_t n) -> const uint8_t* {
    if (const uint8_t* p = in.Take(n)) return p;
    if (n > in.Remaining()) throw JwwIoError(kErrFileIo);
    buf.resize(n);
    in.MustRead(buf.data(), n);
    return buf.data();
  };
  uint8_t b = in.U8();
  if (b < 255) return DecodeAnsiBytes(bytes(b), b);
  uint16_t w = in.U16();
  if (w != 0xFFFE) return DecodeAnsiBytes(bytes(w), w);
  doc.MojiEncode = true;
  size_t n = in.U8();
  if (n == 255) n = in.U16();
  return DecodeUtf16Bytes(bytes(2 * n), 2 * n);
}

JString ReadCleanString(TJwwData& doc, JwwIn& in) {
  JString s = ReadArchiveString(doc, in);
  for (char16_t c : s)
    if (c < 0x20) return RemoveControlChars(s);
  return s;
}

void WriteArchiveString(const TJwwData& doc, JwwOut& out, const JString& s) {
  if (doc.FileOutOpt & 0x20) {
    static const uint8_t marker[3] = {0xFF, 0xFE, 0xFF};
    out.Write(marker, 3);
    // The length field holds at most 65535 units; a longer text is cut there
    // rather than written with a length that would corrupt the file.
    size_t n = std::min<size_t>(s.size(), 0xFFFF);
    if (n > 254) {
      out.U8(0xFF);
      out.U16(static_cast<uint16_t>(n));
    } else {
      out.U8(static_cast<uint8_t>(n));
    }
    for (size_t i = 0; i < n; ++i) out.U16(s[i]);
    return;
  }
  if (s.size() < 255 && AllAscii(s)) {
    // Short plain text, the common case: its bytes are its code units.
    uint8_t buf[256];
    size_t len = 0;
    while (len < s.size() && s[len] != 0) {
      buf[len + 1] = static_cast<uint8_t>(s[len]);
      ++len;
    }
    buf[0] = static_cast<uint8_t>(len);
    out.Write(buf, len + 1);
    return;
  }
  std::string b = EncodeAnsiBytes(s);
  size_t z = b.find('\0');
  size_t len = z == std::string::npos ? b.size() : z;
  if (len >= 0xFFFE) len = AnsiCut(b, 0xFFFD);
  if (len > 254) {
    out.U8(0xFF);
    out.U16(static_cast<uint16_t>(len));
  } else {
    out.U8(static_cast<uint8_t>(len));
  }
  out.Write(b.data(), len);
}

std::string ToUtf8(const JString& s) {
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      r.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      r.push_back(static_cast<char>(0xC0 | (c >> 6)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      r.push_back(static_cast<char>(0xE0 | (c >> 12)));
      r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      r.push_back(static_cast<char>(0xF0 | (c >> 18)));
      r.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return r;
}

namespace {

// The well-formed UTF-8 sequence at i: its length, and its character in c;
// 0 when the bytes there are not one (overlong, a surrogate, cut short or
// beyond U+10FFFF).
size_t Utf8Step(const std::string& s, size_t i, uint32_t& c) {
  uint8_t b = static_cast<uint8_t>(s[i]);
  if (b < 0x80) {
    c = b;
    return 1;
  }
  size_t len = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  c = b & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    uint8_t t = static_cast<uint8_t>(s[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    c = (c << 6) | (t & 0x3F);
  }
  static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

bool IsUtf8(const std::string& s) {
  uint32_t c;
  for (size_t i = 0, len; i < s.size(); i += len)
    if ((len = Utf8Step(s, i, c)) == 0) return false;
  return true;
}

JString FromUtf8(const std::string& s) {
  // Strict: a byte that does not start a well-formed sequence becomes U+FFFD
  // on its own, so no malformed sequence can turn into a character such as
  // a line end.
  JString r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    uint32_t c = 0;
    size_t len = Utf8Step(s, i, c);
    if (len == 0) {
      r.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    i += len;
    if (c >= 0x10000) {
      c -= 0x10000;
      r.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      r.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      r.push_back(static_cast<char16_t>(c));
    }
  }
  return r;
}

JString Ascii(const char* s) {
  JString r;
  while (*s) r.push_back(static_cast<unsigned char>(*s++));
  return r;
}

}  // namespace jww
