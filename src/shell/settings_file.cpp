#include "shell/settings_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "jww/jww_strings.h"
#include "shell/output_naming.h"
#include "shell/private_folder.h"
#include "shell/system_text.h"

namespace shell {

namespace {

constexpr int kLines = 14;

// Strict UTF-8: a damaged folder line must not turn into a wrong folder.
bool IsUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    uint8_t b = static_cast<uint8_t>(s[i]);
    size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size() || (len == 2 && b < 0xC2) || (len == 4 && b > 0xF4)) return false;
    uint32_t c = b & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
      uint8_t t = static_cast<uint8_t>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    if ((len == 3 && c < 0x800) || (len == 4 && c < 0x10000) || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The file's lines without their ends; CR LF, LF and a lone CR all end one.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string cur;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(cur);
      cur.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  bytes.assign(std::istreambuf_iterator<char>(f), {});
  return !f.bad();
}

std::string Serialise(const DatSettings& s) {
  std::string t;
  auto line = [&](const std::string& v) { t += v + "\r\n"; };
  line(std::to_string(s.Fm1x));
  line(std::to_string(s.Fm1y));
  line(std::to_string(s.Fm1w));
  line(std::to_string(s.Fm1h));
  for (bool b : s.Fl) line(b ? "1" : "0");
  line(StrToHexUtf8(s.EditFl1));
  line(StrToHexUtf8(s.Label1));
  line(StrToHexUtf8(s.LabelPreFolder));
  line(std::to_string(s.Fidx));
  line(ToSystemAnsi(s.gstyle));
  return t;
}

bool WriteAllBytes(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string TempNameBeside(const std::string& path) {
  std::random_device rd;
  size_t cut = path.find_last_of('/');
  std::string folder = cut == std::string::npos ? "" : path.substr(0, cut + 1);
  std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  return folder + "." + name + "." + std::to_string(getpid()) + "." + std::to_string(rd()) + ".tmp";
}

}  // namespace

void DatSettings::Check(int i) {
  Fl.fill(false);
  Fl[static_cast<size_t>(i)] = true;
}

DatSettings DefaultSettings(const JString& exeFolder) {
  DatSettings s;
  s.LabelPreFolder = exeFolder;
  return s;
}

int32_t StrToIntZero(const JString& s) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) neg = s[i++] == u'-';
  if (i == s.size()) return 0;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return 0;
    v = v * 10 + (s[i] - u'0');
    if (v > 2147483648LL) return 0;
  }
  if (neg) v = -v;
  return v > INT32_MAX ? 0 : static_cast<int32_t>(v);
}

bool StrToBoolEx(const JString& s) {
  JString u = s;
  for (char16_t& c : u)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  for (const char16_t* yes : {u"T", u"TR", u"TRU", u"TRUE", u"1", u"１", u"○", u"ON", u"真", u"正"})
    if (u == yes) return true;
  return false;
}

std::string StrToHexUtf8(const JString& s) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char b : jww::ToUtf8(s)) {
    hex.push_back(kHex[b >> 4]);
    hex.push_back(kHex[b & 15]);
  }
  return hex;
}

bool HexUtf8ToStr(const std::string& hex, JString& out) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    int hi = HexDigit(static_cast<unsigned char>(hex[i])), lo = HexDigit(static_cast<unsigned char>(hex[i + 1]));
    if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) break;
    bytes.push_back(static_cast<char>(hi * 16 + lo));
  }
  if (!IsUtf8(bytes)) return false;
  out = jww::FromUtf8(bytes);
  return true;
}

void OpenDatFile(const std::string& path, DatSettings& s) {
  std::string bytes;
  if (path.empty() || !ReadWholeFile(path, bytes)) return;
  std::vector<std::string> lines = SplitLines(bytes);
  lines.resize(kLines);  // lines beyond the end read as empty
  auto text = [&](int k) { return FromSystemAnsi(lines[static_cast<size_t>(k)]); };
  int32_t* ints[4] = {&s.Fm1x, &s.Fm1y, &s.Fm1w, &s.Fm1h};
  for (int k = 0; k < 4; ++k) *ints[k] = StrToIntZero(text(k));
  for (int k = 0; k < 5; ++k) {
    if (StrToBoolEx(text(4 + k))) s.Check(k);
    else s.Fl[static_cast<size_t>(k)] = false;
  }
  JString* folders[3] = {&s.EditFl1, &s.Label1, &s.LabelPreFolder};
  for (int k = 0; k < 3; ++k)
    if (!HexUtf8ToStr(lines[static_cast<size_t>(9 + k)], *folders[k])) return;
  s.Fidx = StrToIntZero(text(12));
  s.gstyle = text(13);
}

bool SaveDatFile(const std::string& path, const DatSettings& s) {
  if (path.empty()) return false;
  std::string tmp = TempNameBeside(path);
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAllBytes(fd, Serialise(s)) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(tmp.c_str());
  return ok;
}

std::string SettingsPath(const std::string& exeFolder, const std::string& fileName) {
  std::string folder = AddPathDelim(exeFolder);
  if (!exeFolder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0) return folder + fileName;
  std::string config = UserConfigFolder();
  return config.empty() ? "" : config + fileName;
}

}  // namespace shell
