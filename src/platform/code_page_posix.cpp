// Code page 932 through iconv, one converter per direction and thread.
#include <iconv.h>

#include "platform/code_page.h"

namespace platform {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // The whole input or false; the descriptor's state is reset first.
  bool Convert(const void* in, size_t inBytes, void* out, size_t* outBytes) {
    if (!ok()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* ip = static_cast<char*>(const_cast<void*>(in));
    char* op = static_cast<char*>(out);
    size_t room = *outBytes;
    if (iconv(cd_, &ip, &inBytes, &op, &room) == static_cast<size_t>(-1) || inBytes != 0) return false;
    *outBytes -= room;
    return true;
  }

 private:
  iconv_t cd_;
};

// glibc maps these to look-alikes one way only (¢ £ ¥ ¬ — ‖ ‾ − 〜); Windows'
// code page 932 has no such character, so they count as missing here too.
bool OneWayLookAlike(char16_t c) {
  switch (c) {
    case u'\u00A2': case u'\u00A3': case u'\u00A5': case u'\u00AC': case u'\u2014':
    case u'\u2016': case u'\u203E': case u'\u2212': case u'\u301C':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool Cp932ToUtf16(const uint8_t* p, size_t n, std::u16string& out) {
  static thread_local Converter cv("UTF-16LE", "CP932");
  out.resize(n);  // never more code units than bytes
  size_t bytes = n * 2;
  if (!cv.Convert(p, n, out.data(), &bytes)) return false;
  out.resize(bytes / 2);
  return true;
}

bool Utf16ToCp932(const char16_t* p, size_t n, std::string& out) {
  for (size_t i = 0; i < n; ++i)
    if (OneWayLookAlike(p[i])) return false;
  static thread_local Converter cv("CP932", "UTF-16LE");
  out.resize(n * 2);  // at most two bytes a code unit
  size_t bytes = out.size();
  if (!cv.Convert(p, n * 2, out.data(), &bytes)) return false;
  out.resize(bytes);
  return true;
}

}  // namespace platform
