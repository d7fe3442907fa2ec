// A converted drawing converts to itself: whatever a damaged source held,
// what the writer makes of it reads back as the same document. Each case
// is an input the fuzzer found to break that.
#include <gtest/gtest.h>

#include <limits>

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

// Texts are kept or deleted as they will be written: a negative or huge
// size and an image reference the writer cleans decide alike both times.
TEST(FixedPoint, TextsAreTestedAsWritten) {
  struct Case {
    const char* what;
    double x, y, size;
    const char* text;
  };
  const Case cases[] = {
      {"negative height reaching down into the paper", 0, 200, -100, "a"},
      {"height beyond what the file stores", 0, 1e9, -1e12, "a"},
      {"image size the writer cleans", -261, 0, 3, "^@BMpic,5\\n0,10"},
  };
  for (const Case& c : cases) {
    fixture::Bytes b;
    fixture::Header(b, fixture::HeaderOptions{});
    fixture::Stream s(b, 600);
    s.Count(2);
    s.Ten(fixture::Attr{}, 0, 0);
    s.Moji(fixture::Attr{}, c.x, c.y, c.x + 10, c.y, c.text, c.size, c.size);
    s.Count(0);
    const std::vector<uint8_t> once = Convert(b.b);
    EXPECT_EQ(Convert(once), once) << c.what;
  }
}

// Texts placed by a huge block scale have sizes and spacing beyond what a
// reader keeps; they are stored as a reader would take them.
TEST(FixedPoint, ExplodedTextValuesAreStoredAsReadBack) {
  fixture::Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  fixture::Stream s(b, 600);
  s.Count(1);
  s.Block(fixture::Attr{}, 0, 0, 1e300, 1e300, 0, 1);
  s.Count(1);
  s.Def(fixture::Attr{}, 1, "big", 1);
  s.Moji(fixture::Attr{}, 0, 0, 10, 0, "a", 3, 3, 1e10);
  const std::vector<uint8_t> once = Convert(b.b);
  EXPECT_EQ(Convert(once), once);

  TJwwData d;
  ASSERT_TRUE(d.FileInMemory(once.data(), once.size()));
  ASSERT_EQ(d.EntMojiN, 1);
  d.EntMoji[0].dSizeX = std::numeric_limits<double>::quiet_NaN();
  std::vector<uint8_t> nan;
  ASSERT_TRUE(d.FileOutMemory(nan, 600));
  EXPECT_EQ(Convert(nan), nan);
}
