// Every one- and two-byte code of code page 932 decodes, and every UTF-16
// code unit encodes, exactly as on Linux, where the digests below were
// taken: one digest per lead byte and one per high byte of the code unit.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "jww/jww_strings.h"

namespace {

#include "cp932_digests.inc"  // kDecodeDigests, kEncodeDigests

struct Digest {
  uint64_t h = 1469598103934665603ull;
  void Add(uint32_t v) {
    for (int i = 0; i < 4; ++i) h = (h ^ ((v >> (8 * i)) & 0xFF)) * 1099511628211ull;
  }
};

// 256 digests, each of 8 hexadecimal digits, in one text.
std::string Table(const std::function<void(int, Digest&)>& block) {
  std::string t;
  for (int hi = 0; hi < 256; ++hi) {
    Digest d;
    block(hi, d);
    char buf[12];
    std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(d.h ^ (d.h >> 32)));
    t += buf;
  }
  return t;
}

void ExpectTable(const std::string& got, const char* expected, const char* what) {
  if (got == expected) return;
  ADD_FAILURE() << what << " table now:\n" << got;
  if (got.size() != std::string(expected).size()) return;
  for (int i = 0; i < 256; ++i)
    EXPECT_EQ(got.substr(static_cast<size_t>(i) * 8, 8), std::string(expected).substr(static_cast<size_t>(i) * 8, 8))
        << what << " block " << i;
}

}  // namespace

TEST(CodePage932, EveryCodeBothWays) {
  std::string decoded = Table([](int lead, Digest& d) {
    for (int trail = -1; trail < 256; ++trail) {  // -1: the lead byte alone
      uint8_t bytes[2] = {static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)};
      jww::JString s = jww::DecodeAnsiBytes(bytes, trail < 0 ? 1 : 2);
      d.Add(static_cast<uint32_t>(s.size()));
      for (char16_t c : s) d.Add(c);
    }
  });
  std::string encoded = Table([](int hi, Digest& d) {
    for (int lo = 0; lo < 256; ++lo) {
      std::string b = jww::EncodeAnsiBytes(jww::JString(1, static_cast<char16_t>(hi << 8 | lo)));
      d.Add(static_cast<uint32_t>(b.size()));
      for (unsigned char c : b) d.Add(c);
    }
  });
  ExpectTable(decoded, kDecodeDigests, "decoding");
  ExpectTable(encoded, kEncodeDigests, "encoding");
}
