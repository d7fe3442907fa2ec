#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "jww/jww_data.h"
#include "jww_builder.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

namespace {

constexpr double kPi = std::numbers::pi;

struct Ins {
  double x, y, sx, sy, rot;
  uint32_t no;
  Attr att = Attr{};
};

// A drawing with one top-level line, the given insertions, and definitions
// whose members the callback writes (it gets the definition's number).
template <class Members>
TJwwData Drawing(const std::vector<Ins>& top, const std::vector<std::pair<uint32_t, uint32_t>>& defs,
                 Members members, int ver = 600) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  o.scale0 = 2.0;
  fixture::Header(b, o);
  Stream s(b, ver);
  s.Count(static_cast<uint32_t>(top.size() + 1));
  s.Line(Attr{}, 0, 0, 1, 1);
  for (const Ins& i : top) s.Block(i.att, i.x, i.y, i.sx, i.sy, i.rot, i.no);
  s.Count(static_cast<uint32_t>(defs.size()));
  for (auto [no, count] : defs) {
    Attr da;
    da.layer = 9;
    da.glayer = 8;
    s.Def(da, no, "def", count);
    members(s, no);
  }
  TJwwData d;
  EXPECT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  return d;
}

}  // namespace

TEST(BlockExplode, WithoutInsertionsNothingChanges) {
  TJwwData d = Drawing({}, {{1, 1}}, [](Stream& s, uint32_t) { s.Line(Attr{}, 0, 0, 5, 5); });
  std::vector<uint8_t> before, after;
  ASSERT_TRUE(d.FileOutMemory(before, 600));
  EXPECT_TRUE(d.BlockExplode());
  EXPECT_EQ(d.EntBlockDefN, 1);
  EXPECT_EQ(d.Enthd.n1, 1);
  ASSERT_TRUE(d.FileOutMemory(after, 600));
  EXPECT_EQ(before, after);
}

TEST(BlockExplode, PathsOrderAndCleanUp) {
  // Definition 1 holds a line and inserts 2; definition 2 holds one point.
  // Top level: 1 twice and an insertion of an unknown number.
  TJwwData d = Drawing({{100, 0, 1, 1, 0, 1}, {0, 100, 1, 1, 0, 1}, {0, 0, 1, 1, 0, 77}}, {{1, 2}, {2, 1}},
                       [](Stream& s, uint32_t no) {
                         if (no == 1) {
                           s.Line(Attr{}, 0, 0, 10, 0);
                           s.Block(Attr{}, 5, 5, 1, 1, 0, 2);
                         } else {
                           s.Ten(Attr{}, 1, 1);
                         }
                       });
  ASSERT_TRUE(d.BlockExplode());
  // File rows: line, 3 insertions (now empty); then node 0 line, node 1
  // line, node 3 point, node 4 point.
  ASSERT_EQ(d.Enthd.n1, 4 + 4);
  EXPECT_EQ(d.EntNo.size(), 8u);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(d.EntNo[i].EntType, 0) << i;
  EXPECT_EQ(d.EntNo[4].EntType, kEntLine);
  EXPECT_EQ(d.EntNo[5].EntType, kEntLine);
  EXPECT_EQ(d.EntNo[6].EntType, kEntTen);
  EXPECT_EQ(d.EntNo[7].EntType, kEntTen);
  EXPECT_EQ(d.EntLine[d.EntNo[4].EntNo].start_x, 100.0);
  EXPECT_EQ(d.EntLine[d.EntNo[5].EntNo].start_y, 100.0);
  EXPECT_EQ(d.EntTen[d.EntNo[6].EntNo].start_x, 106.0);
  EXPECT_EQ(d.EntTen[d.EntNo[7].EntNo].start_y, 106.0);
  EXPECT_EQ(d.EntBlockN, 0);
  EXPECT_EQ(d.EntBlockDefN, 0);
  EXPECT_EQ(d.Enthd.n2, 0);
  EXPECT_EQ(d.EntBlockTreeN, 0);
  EXPECT_EQ(d.EntBlockNum, 0);
}

TEST(BlockExplode, LayerRule) {
  Attr keep;
  keep.style = 0x40;
  keep.layer = 3;
  keep.glayer = 4;
  Attr move;
  move.layer = 3;
  move.glayer = 4;
  TJwwData d = Drawing({{0, 0, 1, 1, 0, 1, keep}, {0, 0, 1, 1, 0, 1, move}}, {{1, 1}}, [](Stream& s, uint32_t) {
    Attr a;
    a.layer = 1;
    a.glayer = 2;
    a.color = 5;
    s.Line(a, 0, 0, 1, 0);
  });
  ASSERT_TRUE(d.BlockExplode());
  ASSERT_EQ(d.EntLineN, 3);
  EXPECT_EQ(d.EntLine[1].att.nLayer, 1);
  EXPECT_EQ(d.EntLine[1].att.nGLayer, 2);
  EXPECT_EQ(d.EntLine[2].att.nLayer, 3);
  EXPECT_EQ(d.EntLine[2].att.nGLayer, 4);
  EXPECT_EQ(d.EntLine[2].att.nPenColor, 5);
}

TEST(BlockExplode, ArcsAndTexts) {
  TJwwData d = Drawing({{0, 0, -1, 1, 0, 1}, {0, 0, 2, 1, 0, 2}}, {{1, 2}, {2, 1}}, [](Stream& s, uint32_t no) {
    if (no == 1) {
      s.Enko(Attr{}, 0, 0, 1, 0, kPi / 2, 0, 1, 0);  // quarter arc of the unit circle
      s.Moji(Attr{}, 0, 0, 10, 0, "AB", 3, 4, 1, 0, 1005);
    } else {
      s.Enko(Attr{}, 0, 0, 1, 0, 2 * kPi, 0, 1, 1);  // full circle
    }
  });
  ASSERT_TRUE(d.BlockExplode());
  ASSERT_EQ(d.EntEnkoN, 2);
  const TEntJwwEnko& m = d.EntEnko[0];  // mirrored in x
  EXPECT_NEAR(m.radKatamukiKaku, kPi, 1e-9);
  EXPECT_NEAR(m.radKaishiKaku, 3 * kPi / 2, 1e-9);
  EXPECT_NEAR(m.radEnkoKaku, kPi / 2, 1e-9);
  const TEntJwwEnko& e = d.EntEnko[1];  // scaled 2 in x: an ellipse
  EXPECT_NEAR(e.dHankei, 2, 1e-9);
  EXPECT_NEAR(e.dHenpeiRitsu, 0.5, 1e-9);
  EXPECT_NEAR(e.radKatamukiKaku, 0, 1e-7);
  EXPECT_EQ(e.bZenEnFlg, 1u);
  ASSERT_EQ(d.EntMojiN, 1);
  const TEntJwwMoji& t = d.EntMoji[0];  // mirrored text still reads forward
  EXPECT_EQ(t.start_x, -10.0);
  EXPECT_EQ(t.end_x, 0.0);
  EXPECT_EQ(t.degKakudo, 0.0);
  EXPECT_EQ(t.dSizeX, 3.0);
  EXPECT_EQ(t.nMojiShu, 1000u);
}

TEST(BlockExplode, PointRotationRule) {
  TJwwData d = Drawing({{0, 0, 1, 1, kPi / 2, 1}, {0, 0, 1, 1, 0, 1}}, {{1, 2}}, [](Stream& s, uint32_t) {
    Attr p100;
    p100.style = 100;
    s.Ten(p100, 1, 0, 0, 5, 0.25, 3);
    s.Ten(Attr{}, 1, 0, 1, 0, 0, 1);
  });
  ASSERT_TRUE(d.BlockExplode());
  ASSERT_EQ(d.EntTenN, 4);
  EXPECT_NEAR(d.EntTen[0].radKaitenKaku, 0.25 + kPi / 2, 1e-12);
  EXPECT_EQ(d.EntTen[0].nCode, 5u);
  EXPECT_EQ(d.EntTen[0].dBairitsu, 3.0);
  EXPECT_NEAR(d.EntTen[0].start_y, 1.0, 1e-12);
  EXPECT_EQ(d.EntTen[1].nCode, 0u);
  EXPECT_EQ(d.EntTen[1].dBairitsu, 1.0);
  EXPECT_EQ(d.EntTen[1].bKariten, 1u);
  EXPECT_EQ(d.EntTen[2].radKaitenKaku, 0.25);
}

TEST(BlockExplode, DimensionValueText) {
  // F = 0x2002: recompute, 2 decimals; the definition's line lies on layer
  // group 0, whose scale is 2.
  auto members = [](Stream& s, uint32_t no) {
    Attr text;
    text.width = 0x2002;
    s.Sunpo(Attr{}, 0, 0, 100, 0, no == 1 ? "100" : "^@BMx,1", 0, text);
  };
  TJwwData d = Drawing({{0, 0, 1, 1, kPi / 2, 1}, {0, 0, 1, 1, kPi / 2, 2}}, {{1, 1}, {2, 1}}, members, 420);
  ASSERT_TRUE(d.BlockExplode());
  ASSERT_EQ(d.EntSunpoN, 2);
  const TEntJwwSunpo& r = d.EntSunpo[0];
  EXPECT_EQ(r.Moji.str, u"200");
  EXPECT_NEAR(r.Sen.end_y, 100, 1e-12);
  EXPECT_NEAR((r.Moji.start_y + r.Moji.end_y) / 2, 50, 1e-9);  // centred on the old text's middle
  EXPECT_NEAR(r.Moji.degKakudo, 90, 1e-9);
  EXPECT_EQ(r.Ho1.end_y, 0.0);  // not an extended dimension: auxiliary parts zeroed
  EXPECT_EQ(r.Kt1.dBairitsu, 0.0);
  EXPECT_EQ(d.EntSunpo[1].Moji.str, u"^@BMx,1");
}

TEST(BlockExplode, Solids) {
  TJwwData d = Drawing({{10, 0, 2, 2, 0, 1}}, {{1, 3}}, [](Stream& s, uint32_t) {
    s.Solid(Attr{}, 0, 0, 1, 0, 1, 1, 0, 1);
    Attr a101;
    a101.style = 101;
    s.Solid(a101, 0, 0, 5, 1, 0, 0, 1, 0);  // arc r 5, sweep 1, sector
    Attr a105;
    a105.style = 105;
    s.Solid(a105, 0, 0, 5, 1, 0, 0, 1, 3);  // ring, inner radius 3
  });
  ASSERT_TRUE(d.BlockExplode());
  ASSERT_EQ(d.EntSolidN, 3);
  EXPECT_EQ(d.EntSolid[0].DPoint2_x, 12.0);
  EXPECT_EQ(d.EntSolid[0].DPoint3_y, 2.0);
  EXPECT_EQ(d.EntSolid[1].start_x, 10.0);
  EXPECT_NEAR(d.EntSolid[1].end_x, 10, 1e-12);
  EXPECT_NEAR(d.EntSolid[1].DPoint3_x, 1, 1e-9);
  EXPECT_EQ(d.EntSolid[1].DPoint3_y, 0.0);
  EXPECT_NEAR(d.EntSolid[2].end_x, 10, 1e-12);
  EXPECT_NEAR(d.EntSolid[2].DPoint3_y, 6, 1e-12);
}
