#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "jww/jww_data.h"
#include "jww/jww_strings.h"
#include "jww_builder.h"
#include "trim/file_conv.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

namespace {

// Reads a drawing on A3 paper (nZumen 3: ±210 × ±148.5) whose element list
// the callback writes, runs the trimming and returns which rows survived.
template <class Elements>
std::vector<bool> Kept(uint32_t count, Elements elements, int32_t zumen = 3,
                       std::vector<JString>* statuses = nullptr) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = 600;
  o.zumen = zumen;
  fixture::Header(b, o);
  Stream s(b, 600);
  s.Count(count);
  elements(s);
  s.Count(0);
  TJwwData d;
  EXPECT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  trim::FileConv(d, [&](const JString& t) {
    if (statuses) statuses->push_back(t);
  });
  std::vector<bool> kept;
  for (int32_t i = 0; i < d.Enthd.n1; ++i) kept.push_back(d.EntNo[i].EntType != 0);
  return kept;
}

}  // namespace

TEST(FileConv, PaperFrames) {
  struct Case { int32_t zumen; double w, h; };
  for (Case c : {Case{0, 1189, 841}, Case{3, 420, 297}, Case{4, 297, 210}, Case{5, 1189, 841},
                 Case{6, 1189, 841}, Case{7, 1189, 841}, Case{8, 1682, 1189}, Case{14, 100000, 70732},
                 Case{15, 1189, 841}, Case{-1, 1189, 841}}) {
    trim::Frame f = trim::PaperFrame(c.zumen);
    EXPECT_EQ(f.xmax, c.w / 2 + 1e-8) << c.zumen;
    EXPECT_EQ(f.ymin, -c.h / 2 - 1e-8) << c.zumen;
  }
}

TEST(FileConv, BasicKinds) {
  auto kept = Kept(9, [](Stream& s) {
    s.Ten(Attr{}, 210, 0);               // on the paper edge: kept
    s.Ten(Attr{}, 210.001, 0);           // just beyond: deleted
    s.Line(Attr{}, 0, 0, 1000, 0);       // crosses the edge: kept whole
    s.Line(Attr{}, 300, 0, 400, 0);      // outside
    s.Enko(Attr{}, 0, 0, 260, 0, 0, 0, 1, 1);   // encloses the frame: deleted
    s.Enko(Attr{}, 300, 0, 100, 0, 0, 0, 1, 1); // reaches in: kept
    s.Moji(Attr{}, 0, -152, 10, -152, "below", 3, 5);  // box reaches up into the frame
    s.Moji(Attr{}, 0, -160, 10, -160, "far", 3, 5);
    s.Moji(Attr{}, -230, 0, -220, 0, "^@BMpic.bmp,30,10");  // image box reaches in
  });
  EXPECT_EQ(kept, (std::vector<bool>{true, false, true, false, false, true, true, false, true}));
}

TEST(FileConv, VerticalTextUsesItsWidthAsHeight) {
  auto kept = Kept(2, [](Stream& s) {
    Attr v;
    v.flg = 0x20;
    s.Moji(v, 0, -152, 10, -152, "v", 5, 1);     // height 5 across the base line
    s.Moji(Attr{}, 0, -152, 10, -152, "h", 5, 1);
  });
  EXPECT_EQ(kept, (std::vector<bool>{true, false}));
}

TEST(FileConv, Dimensions) {
  auto kept = Kept(4, [](Stream& s) {
    s.Sunpo(Attr{}, 0, 0, 50, 0, "50");
    s.Sunpo(Attr{}, 300, 0, 350, 0, "50");
    s.Sunpo(Attr{}, 100, 152, 150, 152, "50", 0);  // auxiliary lines not tested
    s.Sunpo(Attr{}, 100, 152, 150, 152, "50", 1);  // auxiliary lines reach down into the frame
  });
  EXPECT_EQ(kept, (std::vector<bool>{true, false, false, true}));
}

TEST(FileConv, SolidOutlines) {
  const double pi = std::numbers::pi;
  auto kept = Kept(11, [&](Stream& s) {
    s.Solid(Attr{}, -500, -500, 500, -500, 500, 500, -500, 500);  // covers the frame: deleted
    s.Solid(Attr{}, 300, 0, 0, 0, 0, 0, 5, 5);                    // C2 = C3: one side, reaches in
    s.Solid(Attr{}, 300, 0, 400, 0, 400, 10, 400, 10);            // triangle outside
    Attr a101;
    a101.style = 101;
    s.Solid(a101, 0, 0, 1000, 1, 0, -0.1, 0.2, 0);    // sector: radii cross the frame
    s.Solid(a101, 0, 0, 1000, 1, 0, -0.1, 0.2, 5);    // segment: chord outside
    s.Solid(a101, 0, 0, 1000, 1, 0, -0.1, 0.2, 100);  // full circle around the frame
    s.Solid(a101, 0, 0, 1000, 1, 0, -0.1, 0.2, 1);    // apex near the arc: outside
    Attr a111;
    a111.style = 111;
    s.Solid(a111, 300, 0, 150, 1, 0, -0.1, 0.2, 1);    // full: reaches in
    s.Solid(a111, 300, 0, 150, 1, 0, -0.1, 0.2, 0.5);  // arc only: outside
    Attr a105;
    a105.style = 105;
    s.Solid(a105, 0, 0, 1000, 1, 0, -0.1, 0.2, 100);   // inner arc inside
    s.Solid(a105, 0, 0, 1000, 1, 0, -0.1, 0.2, 500);   // both arcs outside
    (void)pi;
  });
  EXPECT_EQ(kept, (std::vector<bool>{false, true, false, true, false, false, false, true, false, true, false}));
}

TEST(FileConv, InsertionsExplodedAndDeleted) {
  Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  Stream s(b, 600);
  s.Count(2);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 1);
  s.Block(Attr{}, 1000, 0, 1, 1, 0, 1);
  s.Count(1);
  s.Def(Attr{}, 1, "b", 1);
  s.Line(Attr{}, 0, 0, 10, 0);
  TJwwData d;
  ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  trim::FileConv(d, nullptr);
  EXPECT_EQ(d.EntBlockN, 0);
  ASSERT_EQ(d.Enthd.n1, 4);
  EXPECT_EQ(d.EntNo[0].EntType, 0);
  EXPECT_EQ(d.EntNo[1].EntType, 0);
  EXPECT_EQ(d.EntNo[2].EntType, kEntLine);  // the copy on the paper
  EXPECT_EQ(d.EntNo[3].EntType, 0);         // the copy far away
}

TEST(FileConv, NegativeAndStaleIndicesAreLeftAlone) {
  Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  b.u16(0);
  b.u16(0);
  TJwwData d;
  ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  d.EntNo = {{1, -1}, {2, 5}, {9, 0}};
  d.Enthd.n1 = 3;
  trim::FileConv(d, nullptr);
  EXPECT_EQ(d.EntNo[0].EntType, 1);
  EXPECT_EQ(d.EntNo[1].EntType, 2);
  EXPECT_EQ(d.EntNo[2].EntType, 9);
}

TEST(FileConv, ProgressTexts) {
  for (uint32_t n : {0u, 1u, 100u, 101u, 250u}) {
    std::vector<JString> st;
    Kept(n, [&](Stream& s) {
      for (uint32_t i = 0; i < n; ++i) s.Ten(Attr{}, 0, 0);
    }, 3, &st);
    ASSERT_FALSE(st.empty());
    EXPECT_EQ(st.front(), u"ブロック分解中です");
    EXPECT_EQ(st.size() - 1, (n + 99) / 100) << n;
    if (n == 250) {
      EXPECT_EQ(st[1], u"ファイル変換中です（1／250）");
      EXPECT_EQ(st[2], u"ファイル変換中です（101／250）");
      EXPECT_EQ(st[3], u"ファイル変換中です（201／250）");
    }
  }
}
