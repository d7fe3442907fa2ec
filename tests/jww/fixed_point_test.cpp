// Conversions settle: whatever a damaged source held, converting the
// converted drawing once more gives a drawing that converts to itself. The
// first conversion may still change: the writer stores some values in a form
// (sizes as magnitudes, a print value that holds a negative mode) that the
// keep-or-delete rules and the reader then take differently. Each case is an
// input the fuzzer found.
#include <gtest/gtest.h>

#include <limits>

#include "jww/jww_data.h"
#include "jww_builder.h"
#include "trim/file_conv.h"

using namespace jww;

namespace {

std::vector<uint8_t> Convert(const std::vector<uint8_t>& in);

// The second conversion of `in`; the third must give the same bytes.
std::vector<uint8_t> Settled(const std::vector<uint8_t>& in) { return Convert(Convert(in)); }

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

TEST(FixedPoint, HeaderValuesSettle) {
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
    const std::vector<uint8_t> twice = Settled(b.b);
    EXPECT_EQ(Convert(twice), twice) << c.what;
  }
}

// Texts are kept or deleted on their stored values; a negative or huge size
// and an image reference the writer cleans settle after one conversion.
TEST(FixedPoint, TextsSettle) {
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
    const std::vector<uint8_t> twice = Settled(b.b);
    EXPECT_EQ(Convert(twice), twice) << c.what;
  }
}

// Texts placed by a huge block scale have sizes and spacing beyond what a
// reader keeps; the reader repairs them, and the drawing settles.
TEST(FixedPoint, ExplodedTextValuesSettle) {
  fixture::Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  fixture::Stream s(b, 600);
  s.Count(1);
  s.Block(fixture::Attr{}, 0, 0, 1e300, 1e300, 0, 1);
  s.Count(1);
  s.Def(fixture::Attr{}, 1, "big", 1);
  s.Moji(fixture::Attr{}, 0, 0, 10, 0, "a", 3, 3, 1e10);
  const std::vector<uint8_t> twice = Settled(b.b);
  EXPECT_EQ(Convert(twice), twice);

  TJwwData d;
  ASSERT_TRUE(d.FileInMemory(twice.data(), twice.size()));
  ASSERT_EQ(d.EntMojiN, 1);
  d.EntMoji[0].dSizeX = std::numeric_limits<double>::quiet_NaN();
  std::vector<uint8_t> nan;
  ASSERT_TRUE(d.FileOutMemory(nan, 600));
  const std::vector<uint8_t> nanTwice = Settled(nan);
  EXPECT_EQ(Convert(nanTwice), nanTwice);
}
