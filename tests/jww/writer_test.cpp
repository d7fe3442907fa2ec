#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>

#include "jww/jww_data.h"
#include "jww/jww_strings.h"
#include "jww_builder.h"
#include "failing_file_system.h"
#include "test_util.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;
namespace fs = std::filesystem;

namespace {

// A drawing whose every value is one the writer writes back unchanged: one
// element of each kind, two used definitions (numbered 0 and 1, one nested in
// the other) and, from version 700, two referenced images.
Bytes StableDrawing(int ver, bool utf16) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  o.utf16 = utf16;
  fixture::Header(b, o);
  Stream s(b, ver, utf16);
  Attr a;
  a.layer = 2;
  a.glayer = 3;
  a.group = 77;
  a.flg = 0x20;
  Attr p100;
  p100.style = 100;
  Attr c10;
  c10.color = 10;
  Attr sty101;
  sty101.style = 101;
  s.Count(11);
  s.Line(a, 1, 2, 3, 4);
  s.Enko(a, 0, 0, 5, 0.5, 1.5, 0.25, 0.5, 0);
  s.Ten(Attr{}, 1, 1, 1);
  s.Ten(p100, 2, 2, 0, 3, 0.75, 2);
  s.Moji(a, 0, 0, 30, 0, "^@BM%temp%pic.bmp,10,10", 2.5, 3.5, 0.5, 0, 1005);
  s.Moji(Attr{}, 0, 10, 30, 10, FIXTURE_ZUMEN FIXTURE_IDEOGRAPHIC_SPACE "A");
  s.Sunpo(a, 0, 0, 100, 0, "100", 1);
  s.Solid(c10, 0, 0, 1, 0, 1, 1, 0, 1, 0x00FF00);
  s.Solid(sty101, 0, 0, 5, 1, 0, 0, 3.14, 0);
  s.Block(a, 50, 50, 2, 2, 0.5, 0);
  s.Moji(Attr{}, 0, 20, 30, 20, "^@BM%temp%logo.png,5,5");
  s.Count(2);
  s.Def(Attr{}, 0, "outer", 2, 11);
  s.Line(Attr{}, 0, 0, 1, 0);
  s.Block(Attr{}, 1, 1, 1, 1, 0, 1);
  s.Def(Attr{}, 1, "inner", 1, 12);
  s.Enko(Attr{}, 0, 0, 1, 0, 0, 0, 1, 1);
  if (ver >= 700) fixture::Images(b, {{"pic.bmp.gz", "GZDATA"}, {"logo.png", std::string(3000, 'L')}}, utf16);
  return b;
}

std::vector<uint8_t> Rewrite(const std::vector<uint8_t>& in, const std::string& tmp, int32_t* ver = nullptr) {
  TJwwData d;
  d.BindImageFolder = tmp;
  EXPECT_TRUE(d.FileInMemory(in.data(), in.size()));
  d.SetFileOutOption(d.MojiEncode ? 32 : 0);
  std::vector<uint8_t> out;
  EXPECT_TRUE(d.FileOutMemory(out, d.Enthd.jwVer));
  if (ver) *ver = d.Enthd.jwVer;
  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  return out;
}

TJwwData ReadBack(const std::vector<uint8_t>& bytes) {
  TJwwData d;
  d.FileInMemory(bytes.data(), bytes.size());
  return d;
}

size_t AfterHeader(int ver) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  fixture::Header(b, o);
  return b.size();
}

}  // namespace

TEST(Writer, StableDrawingComesBackByteForByte) {
  testutil::TempDir tmp;
  for (int ver : {220, 230, 231, 300, 350, 351, 419, 420, 600, 700}) {
    for (bool utf16 : {false, true}) {
      Bytes b = StableDrawing(ver, utf16);
      std::vector<uint8_t> out = Rewrite(b.b, tmp.path() + "/");
      EXPECT_EQ(out.size(), b.b.size()) << ver << " utf16=" << utf16;
      EXPECT_TRUE(out == b.b) << ver << " utf16=" << utf16;
      EXPECT_TRUE(Rewrite(out, tmp.path() + "/") == out) << ver;
    }
  }
}

TEST(Writer, ClassNumberingExample) {
  TJwwData d;
  Bytes h;
  fixture::Header(h, fixture::HeaderOptions{});
  h.u16(0);
  h.u16(0);
  ASSERT_TRUE(d.FileInMemory(h.b.data(), h.size()));
  d.EntLine.resize(2);
  d.EntLineN = 2;
  d.EntEnko.resize(1);
  d.EntEnkoN = 1;
  d.EntLine[0].att.nPenStyle = d.EntLine[1].att.nPenStyle = d.EntEnko[0].att.nPenStyle = 1;
  d.EntLine[0].att.nPenColor = d.EntLine[1].att.nPenColor = d.EntEnko[0].att.nPenColor = 1;
  d.EntNo = {{1, 0}, {2, 0}, {1, 1}};
  d.Enthd.n1 = 3;
  std::vector<uint8_t> out;
  ASSERT_TRUE(d.FileOutMemory(out, 600));
  size_t p = AfterHeader(600);
  EXPECT_EQ(out[p], 3);
  EXPECT_EQ(out[p + 2], 0xFF);  // line class, 2 + 2 + 2 + 8 bytes, then 47 bytes
  size_t arc = p + 2 + 14 + 47;
  EXPECT_EQ(out[arc], 0xFF);
  size_t secondLine = arc + 2 + 2 + 2 + 9 + 75;
  EXPECT_EQ(out[secondLine], 0x01);
  EXPECT_EQ(out[secondLine + 1], 0x80);
}

TEST(Writer, LongCountsAndDeletedRows) {
  TJwwData d;
  Bytes h;
  fixture::Header(h, fixture::HeaderOptions{});
  h.u16(0);
  h.u16(0);
  ASSERT_TRUE(d.FileInMemory(h.b.data(), h.size()));
  const int n = 70000;
  d.EntLine.resize(n);
  d.EntLineN = n;
  d.EntNo.resize(n + 3);
  for (int i = 0; i < n; ++i) d.EntNo[i] = {1, i};
  d.EntNo[n] = {0, 0};       // deleted
  d.EntNo[n + 1] = {2, 0};   // no arc 0
  d.EntNo[n + 2] = {1, -1};  // negative index
  d.Enthd.n1 = n + 3;
  std::vector<uint8_t> out;
  ASSERT_TRUE(d.FileOutMemory(out, 600));
  size_t p = AfterHeader(600);
  EXPECT_EQ(std::vector<uint8_t>(out.begin() + p, out.begin() + p + 6),
            (std::vector<uint8_t>{0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
  TJwwData r = ReadBack(out);
  EXPECT_EQ(r.EntLineN, n);
  EXPECT_EQ(r.Enthd.n1, n);

  // Every row deleted: count 0, no class tag, the definition count follows.
  for (auto& row : d.EntNo) row.EntType = 0;
  ASSERT_TRUE(d.FileOutMemory(out, 700));
  EXPECT_EQ(out.size(), AfterHeader(700) + 2 + 2 + 4);
}

TEST(Writer, AttributesByVersion) {
  // SXF styles and colours map to standard ones below 420; out-of-range values
  // are replaced for every version.
  struct Case { int kind; uint8_t style; uint16_t color; int ver; uint8_t wstyle; uint16_t wcolor; };
  const Case cases[] = {
      {1, 31, 101, 419, 1, 2},   {1, 44, 116, 419, 17, 2}, {1, 50, 200, 419, 1, 1},
      {1, 31, 101, 420, 31, 101}, {1, 10, 0, 600, 1, 1},    {2, 20, 357, 600, 1, 1},
      {3, 100, 5, 600, 100, 5},  {3, 2, 10, 600, 1, 1},   {4, 10, 9, 600, 1, 9},
      {6, 77, 10, 600, 77, 10},  {6, 0, 11, 600, 0, 1},
  };
  for (const Case& c : cases) {
    TJwwData d;
    Bytes h;
    fixture::HeaderOptions o;
    o.ver = c.ver;
    fixture::Header(h, o);
    h.u16(0);
    h.u16(0);
    ASSERT_TRUE(d.FileInMemory(h.b.data(), h.size()));
    TEntJwwAttr a;
    a.nPenStyle = c.style;
    a.nPenColor = c.color;
    a.nLayer = 16;
    a.nGLayer = 15;
    a.nPenWidth = 30001;
    switch (c.kind) {
      case 1: d.EntLine.emplace_back().att = a; d.EntLineN = 1; break;
      case 2: d.EntEnko.emplace_back().att = a; d.EntEnkoN = 1; break;
      case 3: d.EntTen.emplace_back().att = a; d.EntTenN = 1; break;
      case 4: d.EntMoji.emplace_back().att = a; d.EntMojiN = 1; break;
      case 6: d.EntSolid.emplace_back().att = a; d.EntSolidN = 1; break;
    }
    d.EntNo = {{c.kind, 0}};
    d.Enthd.n1 = 1;
    std::vector<uint8_t> out;
    ASSERT_TRUE(d.FileOutMemory(out, c.ver));
    TJwwData r = ReadBack(out);
    TEntJwwAttr w;
    switch (c.kind) {
      case 1: w = r.EntLine.at(0).att; break;
      case 2: w = r.EntEnko.at(0).att; break;
      case 3: w = r.EntTen.at(0).att; break;
      case 4: w = r.EntMoji.at(0).att; break;
      case 6: w = r.EntSolid.at(0).att; break;
    }
    EXPECT_EQ(w.nPenStyle, c.wstyle) << c.kind << "/" << int(c.style) << "/" << c.ver;
    EXPECT_EQ(w.nPenColor, c.wcolor) << c.kind << "/" << c.color << "/" << c.ver;
    EXPECT_EQ(w.nLayer, 0);
    EXPECT_EQ(w.nGLayer, 15);
    EXPECT_EQ(w.nPenWidth, 0);
  }
}

TEST(Writer, HeaderClampsAndReplacements) {
  Bytes h;
  fixture::HeaderOptions o;
  o.ver = 420;
  o.maxDrawWid = -450;
  fixture::Header(h, o);
  h.u16(0);
  h.u16(0);
  TJwwData d;
  ASSERT_TRUE(d.FileInMemory(h.b.data(), h.size()));
  d.Enthd.jwID = u"garbage!";
  d.EntCol[1].anPenWidth = 0;
  d.EntCol[2].anPenWidth = 17;
  d.EntCol[3].anPrtPenWidth = 501;
  d.EntCol[4].aPenColor = 0x1000000;
  d.EntCol[0].aPrtPenColor = 5;
  d.EntCol[5].adPrtTenHankei = 11;
  d.EntColS[20].astrUDColorName = u"\u3000";
  d.EntColS[30].anPrtPenWidth = 900;  // extended rows keep their print values
  d.EntColS[30].adPrtTenHankei = 18.0;
  d.EntColS[30].aPrtPenColor = 1;      // rows above 16 print in their own colour
  d.EntLtpS[3].alLType = 0;
  d.EntLtpS[20].anUDLTypeSegment = 3;
  d.EntLtpS[20].astrUDLTypeName = u"mine";
  d.EntLay[0].aStrLayName = u"\t\r";
  d.EntLay[1].aStrLayName = u"a^mb\\nc";
  d.EntMoj[0].adMojiX = -2.5;
  d.EntMoj[0].adMojiY = 0;
  d.Enthd.nPrtDpi = 0;
  d.Enthd.nPrtDispOnlyNonDraw = 1;
  std::vector<uint8_t> out;
  ASSERT_TRUE(d.FileOutMemory(out, 420));
  EXPECT_EQ(d.Enthd.jwID, u"JwwData.");
  TJwwData r = ReadBack(out);
  EXPECT_EQ(r.Enthd.nMaxDrawWid, -101);
  EXPECT_EQ(r.EntCol[1].anPenWidth, 1);
  EXPECT_EQ(r.EntCol[2].anPenWidth, 16);
  EXPECT_EQ(r.EntCol[3].anPrtPenWidth, 500);
  EXPECT_EQ(r.EntCol[4].aPenColor, 0);
  EXPECT_EQ(r.EntCol[0].aPrtPenColor, 0xFFFFFF);
  EXPECT_EQ(r.EntCol[5].adPrtTenHankei, 10.0);
  EXPECT_EQ(r.EntColS[20].astrUDColorName, u"Color_20");
  EXPECT_EQ(r.EntColS[30].anPrtPenWidth, 900);
  EXPECT_EQ(r.EntColS[30].adPrtTenHankei, 18.0);
  EXPECT_EQ(r.EntColS[30].aPrtPenColor, 30);
  EXPECT_EQ(r.EntLtpS[3].alLType, -1);
  EXPECT_EQ(r.EntLtpS[20].alLType, static_cast<int32_t>(0xC3C3C3C3u));
  EXPECT_EQ(r.EntLtpS[20].astrUDLTypeName, u"LType_20");
  EXPECT_EQ(r.EntLtpS[20].anUDLTypeSegment, 2);
  EXPECT_EQ(r.EntLtpS[20].aadUDLTypePitch[2], 1.0);
  EXPECT_EQ(r.EntLay[0].aStrLayName, u" ");
  EXPECT_EQ(r.EntLay[1].aStrLayName, u"abc");
  EXPECT_EQ(r.EntLay[2].aStrLayName, u"");
  EXPECT_EQ(r.EntMoj[0].adMojiX, 2.5);
  EXPECT_EQ(r.EntMoj[0].adMojiY, 1e-10);
  // Below 600 only the mode is stored; from 600 a resolution of 0 counts as 1.
  EXPECT_EQ(r.Enthd.nPrtDpi, 0);
  EXPECT_EQ(r.Enthd.nPrtDispOnlyNonDraw, 1);
  ASSERT_TRUE(d.FileOutMemory(out, 600));
  TJwwData r600 = ReadBack(out);
  EXPECT_EQ(r600.Enthd.nPrtDpi, 1);
  EXPECT_EQ(r600.Enthd.nPrtDispOnlyNonDraw, 1);
  EXPECT_EQ(r600.Enthd.nMaxDrawWid, -450);  // kept above 420
}

TEST(Writer, OnlyReferencedDefinitionsAndImages) {
  testutil::TempDir tmp;
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = 700;
  fixture::Header(b, o);
  Stream s(b, 700);
  s.Count(4);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 20);
  s.Moji(Attr{}, 0, 0, 1, 0, "^@BM%temp%a.bmp,1,1");
  s.Moji(Attr{}, 0, 0, 1, 0, "^@BM%temp%A.BMP,2,2");
  s.Moji(Attr{}, 0, 0, 1, 0, "^@BM%temp%gone.bmp,2,2");
  s.Count(3);
  s.Def(Attr{}, 10, "unused", 1);
  s.Moji(Attr{}, 0, 0, 1, 0, "^@BM%temp%c.png,1,1");  // kept: any definition's texts count
  s.Def(Attr{}, 20, "used", 0);
  s.Def(Attr{}, 30, "unused2", 0);
  fixture::Images(b, {{"a.bmp.gz", "A"}, {"b.png", "B"}, {"c.png", "C"}, {"gone.bmp", ""}});
  TJwwData d;
  d.BindImageFolder = tmp.path() + "/";
  ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  std::vector<uint8_t> out;
  ASSERT_TRUE(d.FileOutMemory(out, 700));
  TJwwData r;
  testutil::TempDir tmp2;
  r.BindImageFolder = tmp2.path() + "/";
  ASSERT_TRUE(r.FileInMemory(out.data(), out.size()));
  ASSERT_EQ(r.EntBlockDefN, 1);
  EXPECT_EQ(r.EntBlockDef[0].strName, u"used");
  EXPECT_EQ(r.EntBlockDef[0].nNumber, 0u);
  EXPECT_EQ(r.EntBlock[0].nNumber, 0u);
  ASSERT_EQ(r.BindImageN, 2);
  EXPECT_EQ(r.BindImage[0].Fname, u"a.bmp.gz");
  EXPECT_EQ(r.BindImage[1].Fname, u"c.png");
  EXPECT_TRUE(d.BindImage[0].exf);
  EXPECT_FALSE(d.BindImage[1].exf);
}

TEST(Writer, NeverReplacesAndLeavesNothingOnFailure) {
  testutil::TempDir tmp;
  Bytes b = StableDrawing(600, false);
  TJwwData d;
  ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  std::string existing = tmp.file("there.jww");
  testutil::WriteFile(existing, {1, 2, 3});
  EXPECT_FALSE(d.FileOut(existing, 600));
  EXPECT_EQ(testutil::ReadFile(existing), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_FALSE(d.FileOut(tmp.file("no/such/folder.jww"), 600));
  EXPECT_TRUE(d.FileOut(tmp.file("fine.jww"), 600));
  EXPECT_EQ(testutil::ReadFile(tmp.file("fine.jww")), b.b);

  // A disk that fills up: the write fails, says so, and no file is left.
  std::string full = tmp.file("full.jww");
  {
    testutil::FailingFileSystem disk(1000);
    EXPECT_FALSE(d.FileOut(full, 600));
  }
  EXPECT_EQ(d.FileOutError, platform::IoErr::kNoSpace);
  EXPECT_FALSE(fs::exists(full));
}

TEST(Writer, SetFileOutOptionRange) {
  TJwwData d;
  for (auto [in, want] : {std::pair{32, 32}, std::pair{63, 63}, std::pair{64, 0}, std::pair{-1, 0}}) {
    d.SetFileOutOption(in);
    EXPECT_EQ(d.FileOutOpt, want);
  }
}
