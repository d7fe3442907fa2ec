#include <gtest/gtest.h>

#include <numbers>

#include "jww/jww_data.h"
#include "jww_builder.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

namespace {

// Top-level insertions (x, y, sx, sy, rot, number), then definitions, each
// with its nested insertions given by number.
struct Ins { double x, y, sx, sy, rot; uint32_t no; };
struct Def { uint32_t no; std::vector<Ins> nested; uint16_t layer = 0; };

TJwwData Tree(const std::vector<Ins>& top, const std::vector<Def>& defs) {
  Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  Stream s(b, 600);
  s.Count(static_cast<uint32_t>(top.size()));
  for (const Ins& i : top) s.Block(Attr{}, i.x, i.y, i.sx, i.sy, i.rot, i.no);
  s.Count(static_cast<uint32_t>(defs.size()));
  for (const Def& d : defs) {
    Attr a;
    a.layer = d.layer;
    s.Def(a, d.no, "d" + std::to_string(d.no), static_cast<uint32_t>(d.nested.size()));
    for (const Ins& i : d.nested) s.Block(Attr{}, i.x, i.y, i.sx, i.sy, i.rot, i.no);
  }
  TJwwData d;
  EXPECT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  return d;
}

}  // namespace

TEST(BlockTree, NoInsertionNoTree) {
  TJwwData d = Tree({}, {{1, {}}, {2, {}}});
  EXPECT_EQ(d.EntBlockTreeN, 0);
  EXPECT_EQ(d.EntBlockNum, 0);
  for (const auto& def : d.EntBlockDef) {
    EXPECT_FALSE(def.ref_flag);
    EXPECT_EQ(def.ref_no, -1);
  }
}

TEST(BlockTree, PlacementMatrix) {
  TJwwData d = Tree({{10, 20, 2, 3, std::numbers::pi / 2, 1}}, {{1, {}}});
  ASSERT_EQ(d.EntBlockTreeN, 1);
  const auto& n = d.EntBlockTree[0];
  EXPECT_NEAR(n.r1, 0, 1e-15);
  EXPECT_DOUBLE_EQ(n.r2, -3);
  EXPECT_DOUBLE_EQ(n.r3, 2);
  EXPECT_NEAR(n.r4, 0, 1e-15);
  EXPECT_NEAR(n.x + n.r1 * 1, 10, 1e-12);
  EXPECT_NEAR(n.y + n.r3 * 1, 22, 1e-12);
  EXPECT_EQ(n.name, u"d1");
  EXPECT_EQ(n.parent, -1);
}

TEST(BlockTree, NestedBreadthFirstWithComposedTransforms) {
  // Top: A at (100, 0) rotated 90°, and B; A holds B at (10, 0); B holds C twice.
  const double q = std::numbers::pi / 2;
  TJwwData d = Tree({{100, 0, 1, 1, q, 1}, {0, 0, 1, 1, 0, 2}},
                    {{1, {{10, 0, 1, 1, 0, 2}}, 7}, {2, {{1, 0, 2, 2, 0, 3}, {0, 1, 1, 1, 0, 3}}}, {3, {}},
                     {4, {}}});
  // 0:A 1:B | children of A: 2:B | of B(1): 3:C 4:C | of B(2): 5:C 6:C
  ASSERT_EQ(d.EntBlockTreeN, 7);
  EXPECT_EQ(d.EntBlockTree[2].parent, 0);
  EXPECT_EQ(d.EntBlockTree[2].level, 1);
  EXPECT_EQ(d.EntBlockTree[2].att.nLayer, 7);  // attribute of the containing definition
  EXPECT_NEAR(d.EntBlockTree[2].x, 100, 1e-12);
  EXPECT_NEAR(d.EntBlockTree[2].y, 10, 1e-12);
  EXPECT_EQ(d.EntBlockTree[5].parent, 2);
  EXPECT_EQ(d.EntBlockTree[5].level, 2);
  EXPECT_NEAR(d.EntBlockTree[5].r3, 2, 1e-12);  // rotation then scale 2
  EXPECT_EQ(d.EntBlockNum, 3);
  EXPECT_EQ(d.EntBlockDef[2].ref_no, 2);
  EXPECT_FALSE(d.EntBlockDef[3].ref_flag);
}

TEST(BlockTree, UnmatchedAndDuplicateNumbers) {
  TJwwData d = Tree({{0, 0, 1, 1, 0, 9}, {0, 0, 1, 1, 0, 5}}, {{5, {}}, {5, {}}});
  ASSERT_EQ(d.EntBlockTreeN, 2);
  EXPECT_EQ(d.EntBlockTree[0].defno, -1);
  EXPECT_TRUE(d.EntBlockTree[0].name.empty());
  EXPECT_EQ(d.EntBlockTree[1].defno, 0);
  EXPECT_TRUE(d.EntBlockDef[0].ref_flag);
  EXPECT_FALSE(d.EntBlockDef[1].ref_flag);
  EXPECT_EQ(d.EntBlockNum, 1);
}

TEST(BlockTree, CyclesStopTheWalk) {
  // 1 inserts 2, 2 inserts 1 and 3; 3 inserts itself.
  TJwwData d = Tree({{0, 0, 1, 1, 0, 1}}, {{1, {{0, 0, 1, 1, 0, 2}}},
                                           {2, {{0, 0, 1, 1, 0, 1}, {0, 0, 1, 1, 0, 3}}},
                                           {3, {{0, 0, 1, 1, 0, 3}}}});
  // 0:1 → 1:2 → 2:1 (not expanded: 1 is on its chain), 3:3 → 4:3 (not expanded)
  EXPECT_EQ(d.EntBlockTreeN, 5);
  EXPECT_EQ(d.EntBlockNum, 3);
}
