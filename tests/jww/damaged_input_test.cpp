// Damaged drawings: whatever the bytes, reading, trimming and writing end
// without a crash, a hang or an oversized allocation.
#include <gtest/gtest.h>

#include <random>

#include "jww/jww_data.h"
#include "jww_builder.h"
#include "test_util.h"
#include "trim/file_conv.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

namespace {

Bytes Sample() {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = 700;
  fixture::Header(b, o);
  Stream s(b, 700);
  Attr p100;
  p100.style = 100;
  Attr arc;
  arc.style = 101;
  s.Count(8);
  s.Line(Attr{}, 0, 0, 10, 10);
  s.Enko(Attr{}, 0, 0, 5, 0, 1, 0, 1, 0);
  s.Ten(p100, 1, 1, 0, 1, 0.5, 2);
  s.Moji(Attr{}, 0, 0, 10, 0, "^@BM%temp%a.png,10,10");
  s.Sunpo(Attr{}, 0, 0, 50, 0, "50", 1);
  s.Solid(arc, 0, 0, 5, 1, 0, 0, 1, 0);
  s.Block(Attr{}, 10, 10, 2, -1, 0.3, 1);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 2);
  s.Count(2);
  s.Def(Attr{}, 1, "one", 2);
  s.Line(Attr{}, 0, 0, 1, 0);
  s.Block(Attr{}, 1, 1, 1, 1, 1, 2);
  s.Def(Attr{}, 2, "two", 2);
  s.Enko(Attr{}, 0, 0, 1, 0, 0, 0, 1, 1);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 1);  // a cycle back to one
  fixture::Images(b, {{"a.png.gz", "PAYLOAD"}});
  return b;
}

}  // namespace

TEST(DamagedInput, MutatedAndCutFilesNeverCrash) {
  testutil::TempDir tmp;
  const Bytes good = Sample();
  std::mt19937_64 rng(2024);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> b = good.b;
    if (round % 3 == 0) {
      b.resize(rng() % b.size());
    } else {
      int flips = 1 + static_cast<int>(rng() % 8);
      // Most damage lands after the long header, where the structure is.
      for (int i = 0; i < flips; ++i) {
        size_t at = b.size() - 1 - rng() % std::min<size_t>(b.size(), 1200);
        b[at] = static_cast<uint8_t>(rng());
      }
    }
    TJwwData d;
    d.BindImageFolder = tmp.path() + "/";
    d.FileInMemory(b.data(), b.size());
    trim::FileConv(d, nullptr);
    d.SetFileOutOption(d.MojiEncode ? 32 : 0);
    std::vector<uint8_t> out;
    if (d.FileOutMemory(out, d.Enthd.jwVer)) {
      TJwwData r;
      r.BindImageFolder = tmp.path() + "/";
      EXPECT_TRUE(r.FileInMemory(out.data(), out.size())) << "round " << round;
      r.BindImageDeleteGzFile();
      r.BindImageDeleteNonGzFile();
    }
    d.BindImageDeleteGzFile();
    d.BindImageDeleteNonGzFile();
  }
}
