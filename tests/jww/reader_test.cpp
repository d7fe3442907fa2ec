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

Bytes Start(int ver) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  fixture::Header(b, o);
  return b;
}

bool Load(TJwwData& d, const Bytes& b) { return d.FileInMemory(b.b.data(), b.size()); }

bool Contains(const Bytes& b, std::vector<uint8_t> seq) {
  return std::search(b.b.begin(), b.b.end(), seq.begin(), seq.end()) != b.b.end();
}

}  // namespace

TEST(Reader, OneLineExactBytes) {
  Bytes b = Start(600);
  size_t headerEnd = b.size();
  b.raw("\x01\x00\xFF\xFF\x58\x02\x08\x00" "CDataSen", 16);
  Attr a;
  b.u32(a.group); b.u8(a.style); b.u16(a.color); b.u16(a.width); b.u16(0); b.u16(0); b.u16(0);
  b.f64(1); b.f64(2); b.f64(3); b.f64(4);
  b.u16(0);
  EXPECT_EQ(b.size() - headerEnd, 16u + 47u + 2u);
  TJwwData d;
  ASSERT_TRUE(Load(d, b));
  EXPECT_EQ(d.Enthd.n1, 1);
  ASSERT_EQ(d.EntNo.size(), 1u);
  EXPECT_EQ(d.EntNo[0].EntType, 1);
  EXPECT_EQ(d.EntNo[0].EntNo, 0);
  ASSERT_EQ(d.EntLineN, 1);
  EXPECT_EQ(d.EntLine[0].end_y, 4.0);
}

TEST(Reader, ClassNumberingAcrossListAndDefinitions) {
  Bytes b = Start(600);
  Stream s(b, 600);
  s.Count(4);
  s.Line(Attr{}, 0, 0, 1, 1);       // class 1, object 2
  s.Enko(Attr{}, 0, 0, 5, 0, 1, 0, 1, 0);  // class 3, object 4
  s.Line(Attr{}, 0, 0, 2, 2);       // tag 0x8001
  s.Enko(Attr{}, 0, 0, 6, 0, 1, 0, 1, 0);  // tag 0x8003
  s.Count(1);
  s.Def(Attr{}, 5, "blk", 1);
  s.Line(Attr{}, 9, 9, 8, 8);       // inside a definition, still 0x8001
  EXPECT_TRUE(Contains(b, {0x03, 0x80}));
  TJwwData d;
  ASSERT_TRUE(Load(d, b));
  ASSERT_EQ(d.EntLineN, 2);
  ASSERT_EQ(d.EntEnkoN, 2);
  EXPECT_EQ(d.EntEnko[1].dHankei, 6.0);
  EXPECT_EQ(d.EntNo[3].EntType, 2);
  ASSERT_EQ(d.EntBlockDefN, 1);
  EXPECT_EQ(d.Enthd.n2, 1);
  EXPECT_EQ(d.EntBlockDef[0].strName, u"blk");
  ASSERT_EQ(d.EntBlockDef[0].mLineN, 1);
  EXPECT_EQ(d.EntBlockDef[0].mLine[0].start_x, 9.0);
}

TEST(Reader, LargeCountsAndThirtyTwoBitClassReferences) {
  Bytes b = Start(600);
  Stream s(b, 600);
  const uint32_t lines = 40000;
  s.Count(lines + 2);
  for (uint32_t i = 0; i < lines; ++i) s.Line(Attr{}, i, 0, i, 1);
  s.Ten(Attr{}, 1, 2);  // its class index is above 0x7FFF
  s.Ten(Attr{}, 3, 4);  // so this one is tagged 0x7FFF + 32 bits
  s.Count(0);
  EXPECT_TRUE(Contains(b, {0xFF, 0x7F, 0x42, 0x9C, 0x00, 0x80}));  // 0x7FFF, then index 40002 with the top bit
  TJwwData d;
  ASSERT_TRUE(Load(d, b));
  EXPECT_EQ(d.Enthd.n1, static_cast<int32_t>(lines + 2));
  EXPECT_EQ(d.EntLineN, static_cast<int32_t>(lines));
  ASSERT_EQ(d.EntTenN, 2);
  EXPECT_EQ(d.EntTen[1].start_x, 3.0);
}

TEST(Reader, EmptyListAndObjectReferences) {
  Bytes b = Start(600);
  b.u16(0);
  b.u16(0);
  TJwwData d;
  ASSERT_TRUE(Load(d, b));
  EXPECT_EQ(d.Enthd.n1, 0);
  EXPECT_TRUE(d.EntNo.empty());

  // An object reference is consumed without being counted.
  Bytes c = Start(600);
  Stream s(c, 600);
  s.Count(1);
  c.u16(0x0002);
  s.Line(Attr{}, 1, 1, 2, 2);
  s.Count(0);
  TJwwData e;
  ASSERT_TRUE(Load(e, c));
  EXPECT_EQ(e.EntLineN, 1);
}

TEST(Reader, OldAndNewRecordForms) {
  for (int ver : {350, 351}) {
    Bytes b = Start(ver);
    Stream s(b, ver);
    s.Count(1);
    Attr a;
    a.width = 7;
    a.layer = 3;
    a.flg = 0x20;
    s.Line(a, 1, 2, 3, 4);
    s.Count(0);
    TJwwData d;
    ASSERT_TRUE(Load(d, b)) << ver;
    ASSERT_EQ(d.EntLineN, 1);
    EXPECT_EQ(d.EntLine[0].att.nPenWidth, ver == 350 ? 0 : 7);
    EXPECT_EQ(d.EntLine[0].att.nLayer, 3);
    EXPECT_EQ(d.EntLine[0].att.sFlg, 0x20);
    EXPECT_EQ(d.EntLine[0].end_y, 4.0);
  }
}

TEST(Reader, PointTailsSolidColoursAndTexts) {
  Bytes b = Start(600);
  Stream s(b, 600);
  s.Count(5);
  Attr p100;
  p100.style = 100;
  s.Ten(p100, 1, 1, 1, 42, 0.5, 2.5);
  s.Ten(Attr{}, 2, 2, 0, 99, 9, 9);  // no tail: code, angle, scale not stored
  Attr c10;
  c10.color = 10;
  s.Solid(c10, 0, 0, 1, 0, 1, 1, 0, 1, 0xABCDEF);
  s.Solid(Attr{}, 0, 0, 1, 0, 1, 1, 0, 1);
  s.Moji(Attr{}, 0, 0, 10, 0, "txt", std::nan(""), INFINITY, std::nan(""));
  s.Count(0);
  TJwwData d;
  ASSERT_TRUE(Load(d, b));
  ASSERT_EQ(d.EntTenN, 2);
  EXPECT_EQ(d.EntTen[0].nCode, 42u);
  EXPECT_EQ(d.EntTen[0].dBairitsu, 2.5);
  EXPECT_EQ(d.EntTen[1].nCode, 0u);
  EXPECT_EQ(d.EntTen[1].radKaitenKaku, 0.0);
  EXPECT_EQ(d.EntTen[1].dBairitsu, 1.0);
  ASSERT_EQ(d.EntSolidN, 2);
  EXPECT_EQ(d.EntSolid[0].Color, 0xABCDEFu);
  EXPECT_EQ(d.EntSolid[1].Color, 0u);
  ASSERT_EQ(d.EntMojiN, 1);
  EXPECT_EQ(d.EntMoji[0].dSizeX, 3.0);
  EXPECT_EQ(d.EntMoji[0].dSizeY, 3.0);
  EXPECT_EQ(d.EntMoji[0].dKankaku, 0.0);
  EXPECT_EQ(d.EntMoji[0].str, u"txt");
}

TEST(Reader, DimensionPartsByVersion) {
  for (int ver : {419, 420}) {
    Bytes b = Start(ver);
    Stream s(b, ver);
    s.Count(1);
    Attr a;
    a.layer = 5;
    a.style = 2;
    s.Sunpo(a, 0, 0, 100, 0, "100", 1);
    s.Count(0);
    TJwwData d;
    ASSERT_TRUE(Load(d, b)) << ver;
    ASSERT_EQ(d.EntSunpoN, 1);
    const TEntJwwSunpo& e = d.EntSunpo[0];
    EXPECT_EQ(e.Moji.str, u"100");
    EXPECT_EQ(e.Sen.end_x, 100.0);
    if (ver == 419) {
      EXPECT_EQ(e.bSxfMode, 0);
      EXPECT_EQ(e.Ho1.att.nLayer, 5);
      EXPECT_EQ(e.Ho1.end_y, 0.0);
      EXPECT_EQ(e.Te1.att.nPenStyle, 0);
      EXPECT_EQ(e.Kt2.dBairitsu, 0.0);
    } else {
      EXPECT_EQ(e.bSxfMode, 1);
      EXPECT_EQ(e.Ho2.start_x, 100.0);
      EXPECT_EQ(e.Te1.dBairitsu, 0.0);  // no tail: zero, unlike a plain point
      EXPECT_EQ(e.Kt2.nCode, 7u);
      EXPECT_EQ(e.Kt2.dBairitsu, 2.0);
    }
  }
}

TEST(Reader, DefinitionTimeMarker) {
  Bytes b = Start(600);
  Stream s(b, 600);
  s.Count(0);
  s.Count(2);
  s.Def(Attr{}, 1, "a", 0, 1234);
  s.Def(Attr{}, 2, "b", 0, 0xFFFFFFFF);
  TJwwData d;
  ASSERT_TRUE(Load(d, b));
  ASSERT_EQ(d.EntBlockDefN, 2);
  EXPECT_EQ(d.EntBlockDef[0].dtime, 1234u);
  EXPECT_EQ(d.EntBlockDef[1].dtime, 2u);
  EXPECT_EQ(d.EntBlockDef[1].strName, u"b");
}

TEST(Reader, BadInputFailsButKeepsWhatWasRead) {
  // Unknown class name.
  {
    Bytes b = Start(600);
    Stream s(b, 600);
    s.Count(2);
    s.Line(Attr{}, 0, 0, 1, 1);
    s.Tag("CDataFoo");
    b.fill(0, 47);
    TJwwData d;
    EXPECT_FALSE(Load(d, b));
    EXPECT_EQ(d.EntLineN, 1);
    EXPECT_EQ(d.EntNo[0].EntType, 1);
    EXPECT_EQ(d.EntNo[1].EntType, 0);
  }
  // The file ends right after a tag: that element is dropped.
  {
    Bytes b = Start(600);
    Stream s(b, 600);
    s.Count(3);
    s.Line(Attr{}, 0, 0, 1, 1);
    s.Tag("CDataSen");
    TJwwData d;
    EXPECT_FALSE(Load(d, b));
    EXPECT_EQ(d.EntLineN, 1);
    EXPECT_EQ(d.Enthd.n1, 3);
  }
  // A class name longer than any buffer is refused like any unknown name.
  {
    Bytes b = Start(600);
    b.u16(1);
    b.u16(0xFFFF); b.u16(600); b.u16(5000);
    b.fill('A', 5000);
    TJwwData d;
    EXPECT_FALSE(Load(d, b));
    EXPECT_EQ(d.EntLineN, 0);
  }
  // A definition list cut inside a definition's fixed part.
  {
    Bytes b = Start(600);
    Stream s(b, 600);
    s.Count(0);
    s.Count(2);
    s.Def(Attr{}, 1, std::string(80, 'a'), 0);
    s.Tag("CDataList");
    TJwwData d;
    EXPECT_FALSE(Load(d, b));
    EXPECT_EQ(d.EntBlockDefN, 2);
    EXPECT_EQ(d.EntBlockDef[0].strName.size(), 80u);
    EXPECT_EQ(d.EntBlockDef[1].nNumber, 0u);
  }
}

TEST(Reader, HugeDeclaredCountsFailFast) {
  for (int where = 0; where < 3; ++where) {
    Bytes b = Start(700);
    Stream s(b, 700);
    if (where == 0) {
      s.Count(2000000000u);
    } else if (where == 1) {
      s.Count(0);
      s.Count(2000000000u);
    } else {
      s.Count(0);
      s.Count(0);
      b.i32(2000000000);
    }
    b.fill(0, 60);
    TJwwData d;
    EXPECT_FALSE(Load(d, b)) << where;
    EXPECT_LT(d.EntNo.capacity(), 1000u);
    EXPECT_LT(d.EntBlockDef.capacity(), 1000u);
    EXPECT_LT(d.BindImage.capacity(), 1000u);
  }
}

TEST(Reader, NonFiniteCoordinatesAreKept) {
  Bytes b = Start(600);
  Stream s(b, 600);
  s.Count(1);
  s.Line(Attr{}, std::nan(""), INFINITY, 0, 0);
  s.Count(0);
  TJwwData d;
  ASSERT_TRUE(Load(d, b));
  EXPECT_TRUE(std::isnan(d.EntLine[0].start_x));
  EXPECT_TRUE(std::isinf(d.EntLine[0].start_y));
}
