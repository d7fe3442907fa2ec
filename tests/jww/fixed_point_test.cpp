// A converted drawing converts to itself: whatever a damaged source held,
// what the writer makes of it reads back as the same document. Each case
// is an input the fuzzer found to break that.
#include <gtest/gtest.h>

#include "jww/jww_data.h"
#include "jww_builder.h"
#include "trim/file_conv.h"

using namespace jww;

namespace {

std::vector<uint8_t> Convert(const std::vector<uint8_t>& in) {
  TJwwData d;
  d.FileInMemory(in.data(), in.size());
  std::vector<uint8_t> out;
  EXPECT_TRUE(trim::FileConv(d, nullptr));
  d.SetFileOutOption(d.MojiEncode ? 32 : 0);
  EXPECT_TRUE(d.FileOutMemory(out, d.Enthd.jwVer));
  return out;
}

}  // namespace

TEST(FixedPoint, HeaderValuesWriteBackUnchanged) {
  struct Case {
    const char* what;
    fixture::HeaderOptions o;
  };
  auto with = [](int ver, auto change) {
    fixture::HeaderOptions o;
    o.ver = ver;
    change(o);
    return o;
  };
  const Case cases[] = {
      {"negative print mode", with(600, [](auto& o) { o.printValue = -6; })},
      {"negative print value", with(700, [](auto& o) { o.printValue = -19; })},
      {"print value 5", with(600, [](auto& o) { o.printValue = 5; })},
  };
  for (const Case& c : cases) {
    fixture::Bytes b;
    fixture::Header(b, c.o);
    b.u16(0);
    b.u16(0);
    if (c.o.ver >= 700) b.i32(0);
    const std::vector<uint8_t> once = Convert(b.b);
    EXPECT_EQ(Convert(once), once) << c.what;
  }
}
