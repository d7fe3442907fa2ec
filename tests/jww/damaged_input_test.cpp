// Damaged drawings: whatever the bytes, reading, trimming and writing end
// without a crash, a hang or an oversized allocation.
#include <gtest/gtest.h>

#include <random>

#include "jww/jww_data.h"
#include "jww_builder.h"
#include "test_util.h"
#include "trim/file_conv.h"

using namespace jww;
using fixture::Bytes;

TEST(DamagedInput, MutatedAndCutFilesNeverCrash) {
  testutil::TempDir tmp;
  const Bytes good = fixture::EveryKind(700);
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
