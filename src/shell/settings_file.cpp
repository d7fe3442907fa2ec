#include "shell/settings_file.h"

#include <random>
#include <vector>

#include "jww/jww_strings.h"
#include "platform/file_system.h"
#include "shell/output_naming.h"
#include "shell/private_folder.h"
#include "shell/system_text.h"

namespace shell {

namespace {

constexpr int kLines = 14;

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

// Settings files are a few hundred bytes; anything past 1 MB is not one.
bool ReadWholeFile(const std::string& path, std::string& bytes) {
  auto f = platform::Fs().OpenRead(path, nullptr);
  if (!f || f->Size() > (1u << 20)) return false;
  bytes.resize(static_cast<size_t>(f->Size()));
  long long got = f->Read(bytes.data(), bytes.size());
  if (got < 0) return false;
  bytes.resize(static_cast<size_t>(got));
  return true;
}

}  // namespace

std::string DatSettingsText(const DatSettings& s) {
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

namespace {

std::string TempNameBeside(const std::string& path) {
  std::random_device rd;
  return FolderPart(path) + "." + FileNamePart(path) + "." + std::to_string(platform::CurrentProcessId()) + "." +
         std::to_string(rd()) + ".tmp";
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
  // A damaged folder line must not turn into a wrong folder.
  if (!jww::IsUtf8(bytes)) return false;
  out = jww::FromUtf8(bytes);
  return true;
}

void OpenDatFile(const std::string& path, DatSettings& s) {
  std::string bytes;
  if (path.empty() || !ReadWholeFile(path, bytes)) return;
  ReadDatSettings(bytes, s);
}

void ReadDatSettings(const std::string& bytes, DatSettings& s) {
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
  platform::FileSystem& fs = platform::Fs();
  std::string tmp = TempNameBeside(path);
  auto f = fs.CreateExclusive(tmp, nullptr);
  if (!f) return false;
  std::string bytes = DatSettingsText(s);
  bool ok = f->Write(bytes.data(), bytes.size()) && f->Sync();
  ok = f->Close() && ok;
  ok = ok && fs.MoveReplace(tmp, path);
  if (!ok) fs.DeleteFile(tmp);
  return ok;
}

std::string SettingsPath(const std::string& exeFolder, const std::string& fileName) {
  if (!exeFolder.empty() && FolderWritable(exeFolder)) return AddPathDelim(exeFolder) + fileName;
  std::string config = UserConfigFolder();
  return config.empty() ? "" : config + fileName;
}

}  // namespace shell
