// Drawings whose blocks unfold into more than any drawing holds are refused
// as a whole, before the memory is taken, and the conversion fails instead of
// writing a drawing without its blocks.
#include <gtest/gtest.h>

#include <filesystem>

#include "jww/jww_data.h"
#include "jww_builder.h"
#include "shell/batch_run.h"
#include "test_util.h"
#include "trim/file_conv.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

namespace {

// One top-level insertion of definition 1; definition k inserts definition
// k + 1 fanOut[k - 1] times; the last definition holds `lines` lines.
Bytes Nest(const std::vector<uint32_t>& fanOut, uint32_t lines) {
  Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  Stream s(b, 600);
  s.Count(1);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 1);
  s.Count(static_cast<uint32_t>(fanOut.size() + 1));
  for (uint32_t k = 1; k <= fanOut.size(); ++k) {
    s.Def(Attr{}, k, "d", fanOut[k - 1]);
    for (uint32_t i = 0; i < fanOut[k - 1]; ++i) s.Block(Attr{}, i, 0, 1, 1, 0, k + 1);
  }
  s.Def(Attr{}, static_cast<uint32_t>(fanOut.size() + 1), "leaf", lines);
  for (uint32_t i = 0; i < lines; ++i) s.Line(Attr{}, 0, 0, i, 1);
  return b;
}

}  // namespace

TEST(ExplosionRefusal, BeyondTheCeilingsNothingIsPlaced) {
  struct Case {
    const char* what;
    std::vector<uint32_t> fanOut;
    uint32_t lines;
    std::string why;
  };
  const Case cases[] = {
      {"10,100,000 lines from 101,001 placements", {1000, 100}, 101,
       "the blocks would explode into 10,100,000 elements, more than the 10,000,000 allowed"},
      {"6,003,001 placements of nothing", {3000, 2000}, 0,
       "the blocks nest into more than 5,000,000 placements"},
  };
  for (const Case& c : cases) {
    Bytes b = Nest(c.fanOut, c.lines);
    TJwwData d;
    ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size())) << c.what;
    const size_t room = d.EntLine.capacity();
    std::string why;
    EXPECT_FALSE(d.BlockExplode(&why)) << c.what;
    EXPECT_EQ(why, c.why);
    EXPECT_EQ(d.EntLineN, 0) << c.what;
    EXPECT_EQ(d.EntLine.capacity(), room) << c.what;  // refused before reserving
    why.clear();
    EXPECT_FALSE(trim::FileConv(d, nullptr, &why)) << c.what;
    EXPECT_EQ(why, c.why);
  }
}

TEST(ExplosionRefusal, JustBelowTheCeilingExplodes) {
  Bytes b = Nest({1000}, 10);
  TJwwData d;
  ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  std::string why;
  ASSERT_TRUE(trim::FileConv(d, nullptr, &why)) << why;
  EXPECT_EQ(d.EntLineN, 10000);
  EXPECT_EQ(d.EntBlockDefN, 0);
}

TEST(ExplosionRefusal, TheBatchFailsTheFileAndWritesNothing) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.file("bomb.jww"), Nest({1000, 100}, 101).b);
  TJwwData doc;
  doc.BindImageFolder = dir.path() + "/";
  EXPECT_EQ(shell::RunProc1(doc, dir.file("bomb.jww"), dir.file("out.jww"), nullptr), JString(shell::kFailed));
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.jww")));
  EXPECT_EQ(doc.EntBlockDefN, 0);  // the document was emptied
}
