#include <gtest/gtest.h>

#include <cmath>

#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "jww_builder.h"
#include "test_util.h"

using namespace jww;
using fixture::Bytes;
using fixture::HeaderOptions;

namespace {

Bytes HeaderBytes(const HeaderOptions& o) {
  Bytes b;
  fixture::Header(b, o);
  return b;
}

bool Read(const Bytes& b, TJwwData& d) {
  d.DataInit();
  JwwIn in;
  in.OpenMemory(b.b.data(), b.size());
  return ReadHeader(d, in);
}

}  // namespace

TEST(Header, AcceptedVersions) {
  testutil::TempDir dir;
  struct Case { int ver; bool ok; };
  for (Case c : {Case{219, false}, Case{220, true}, Case{600, true}, Case{700, true}, Case{701, false}}) {
    HeaderOptions o;
    o.ver = c.ver;
    Bytes b = HeaderBytes(o);
    std::string path = dir.file("v" + std::to_string(c.ver) + ".jww");
    testutil::WriteFile(path, b.b);
    EXPECT_EQ(TJwwData::FileCheck(path), c.ok) << c.ver;
    TJwwData d;
    EXPECT_EQ(Read(b, d), c.ok) << c.ver;
  }
}

TEST(Header, FileCheckRefusesWhatIsNotJww) {
  testutil::TempDir dir;
  Bytes good = HeaderBytes(HeaderOptions{});
  std::vector<std::vector<uint8_t>> bad = {
      {},
      {'J', 'w', 'w', 'D', 'a', 't', 'a', '.', 0x58},          // shorter than 12 bytes
      std::vector<uint8_t>(good.b.begin(), good.b.end()),      // wrong magic below
      std::vector<uint8_t>(100, 0x41),
  };
  bad[2][0] = 'j';
  for (size_t i = 0; i < bad.size(); ++i) {
    std::string path = dir.file("bad" + std::to_string(i));
    testutil::WriteFile(path, bad[i]);
    EXPECT_FALSE(TJwwData::FileCheck(path)) << i;
  }
  EXPECT_FALSE(TJwwData::FileCheck(dir.file("missing.jww")));
}

TEST(Header, VersionDependentItems) {
  struct Case { int ver; double zoom8; double zoom4; int32_t glay8; double tenkuu; int32_t solid; bool sxf; };
  const Case cases[] = {
      {220, 1.0, 6.0, -1, 0.0, 0, false},   {229, 1.0, 6.0, -1, 0.0, 0, false},
      {230, 1.0, 6.0, -1, 0.0, 0x123, false}, {231, 12.0, 6.0, 8, 0.0, 0x123, false},
      {299, 12.0, 6.0, 8, 0.0, 0x123, false}, {300, 12.0, 6.0, 8, 7.5, 0x123, false},
      {419, 12.0, 6.0, 8, 7.5, 0x123, false}, {420, 12.0, 6.0, 8, 7.5, 0x123, true},
  };
  for (const Case& c : cases) {
    HeaderOptions o;
    o.ver = c.ver;
    TJwwData d;
    ASSERT_TRUE(Read(HeaderBytes(o), d)) << c.ver;
    const auto& h = d.Enthd;
    EXPECT_EQ(h.jwVer, c.ver);
    EXPECT_EQ(h.dZoomJumpBairitsu[8], c.zoom8) << c.ver;
    EXPECT_EQ(h.dZoomJumpBairitsu[4], c.zoom4) << c.ver;
    EXPECT_EQ(h.nZoomJumpGLay[8], c.glay8) << c.ver;
    EXPECT_EQ(h.dTenkuuZuLevel, c.tenkuu) << c.ver;
    EXPECT_EQ(h.SolidColor, c.solid) << c.ver;
    ASSERT_EQ(d.EntColS.size(), 257u);
    ASSERT_EQ(d.EntLtpS.size(), 33u);
    EXPECT_EQ(d.EntColS[5].astrUDColorName, c.sxf ? u"Color_5" : u"") << c.ver;
    EXPECT_EQ(d.EntColS[5].aPenColor, c.sxf ? 5 : 0) << c.ver;
    // The final value proves every item before it was taken in order.
    EXPECT_EQ(h.adMojiKijunZureY2, 9.25) << c.ver;
  }
}

TEST(Header, DerivedLineWidthValues) {
  struct Case { int32_t v; bool b100; int32_t bak; };
  for (Case c : {Case{-450, true, -50}, Case{-250, true, 50}, Case{-150, true, -100}, Case{-100, false, -100},
                 Case{-401, true, -1}, Case{-500, true, -100}, Case{-201, true, 1}, Case{-501, true, -100},
                 Case{7, false, 7}}) {
    HeaderOptions o;
    o.maxDrawWid = c.v;
    TJwwData d;
    ASSERT_TRUE(Read(HeaderBytes(o), d));
    EXPECT_EQ(d.Enthd.bSenHaba100, c.b100) << c.v;
    EXPECT_EQ(d.Enthd.nMaxDrawWidBak, c.bak) << c.v;
  }
}

TEST(Header, PrintResolutionSplit) {
  struct Case { int32_t v; int32_t dpi; int32_t mode; };
  for (Case c : {Case{6001, 600, 1}, Case{0, 0, 0}, Case{-15, -1, -5}, Case{9, 0, 9}}) {
    HeaderOptions o;
    o.printValue = c.v;
    TJwwData d;
    ASSERT_TRUE(Read(HeaderBytes(o), d));
    EXPECT_EQ(d.Enthd.nPrtDpi, c.dpi) << c.v;
    EXPECT_EQ(d.Enthd.nPrtDispOnlyNonDraw, c.mode) << c.v;
  }
}

TEST(Header, NonFiniteTextSizesAreRepaired) {
  for (double bad : {std::nan(""), double{INFINITY}, -double{INFINITY}}) {
    HeaderOptions o;
    o.styleHeight0 = bad;
    TJwwData d;
    ASSERT_TRUE(Read(HeaderBytes(o), d));
    EXPECT_EQ(d.EntMoj[0].adMojiY, 3.0);
  }
}

TEST(Header, MemoKeepsLineBreaksNamesDoNot) {
  HeaderOptions o;
  o.memo = "a\r\nb";
  o.layerName0 = "L\t1\r\n";
  TJwwData d;
  ASSERT_TRUE(Read(HeaderBytes(o), d));
  EXPECT_EQ(d.Enthd.strMemo, u"a\r\nb");
  EXPECT_EQ(d.EntLay[0].aStrLayName, u"L1");
}

TEST(Header, TruncatedHeaderFails) {
  Bytes full = HeaderBytes(HeaderOptions{});
  for (size_t keep : {size_t{0}, size_t{8}, size_t{12}, size_t{400}, full.size() / 2, full.size() - 8}) {
    Bytes cut;
    cut.b.assign(full.b.begin(), full.b.begin() + keep);
    TJwwData d;
    EXPECT_FALSE(Read(cut, d)) << keep;
  }
  // The final Double is the one checked: part of it still counts as read.
  Bytes nearly;
  nearly.b.assign(full.b.begin(), full.b.end() - 1);
  TJwwData d;
  EXPECT_TRUE(Read(nearly, d));
}

TEST(Document, DataInitEmptiesAndSetsDefaults) {
  TJwwData d;
  d.BindImageFolder = "/tmp/x/";
  d.EntLine.resize(3);
  d.EntLineN = 3;
  d.EntBlockDef.resize(2);
  d.EntBlockDefN = 2;
  d.BindImage.resize(1);
  d.BindImageN = 1;
  d.MojiEncode = true;
  d.FileOutOpt = 32;
  d.Enthd.nZumen = 4;
  d.DataFree();
  EXPECT_EQ(d.EntLineN, 0);
  EXPECT_TRUE(d.EntLine.empty());
  EXPECT_TRUE(d.EntBlockDef.empty());
  EXPECT_EQ(d.BindImageN, 0);
  EXPECT_FALSE(d.MojiEncode);
  EXPECT_EQ(d.FileOutOpt, 0);
  EXPECT_EQ(d.Enthd.nZumen, 0);
  EXPECT_EQ(d.Enthd.dPrtBairitsu, 1.0);
  EXPECT_EQ(d.Enthd.dZoomJumpBairitsu[8], 1.0);
  EXPECT_EQ(d.Enthd.nZoomJumpGLay[1], -1);
  EXPECT_EQ(d.BindImageFolder, "/tmp/x/");
  d.DataFree();  // harmless on an empty document
  EXPECT_EQ(d.Enthd.dHanniBairitsu, 1.0);
}
