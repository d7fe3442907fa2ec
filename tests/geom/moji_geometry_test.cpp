#include "geom/moji_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "jww/jww_strings.h"

namespace geom {
namespace {

using jww::JString;
using jww::TEntJwwMoji;

constexpr double kPi = std::numbers::pi;

std::string Utf8(const JString& s) { return jww::ToUtf8(s); }

Transform Rotation(double deg, double scale = 1) {
  const double a = deg / 180 * kPi;
  return {0, 0, scale * std::cos(a), -scale * std::sin(a), scale * std::sin(a),
          scale * std::cos(a)};
}
Transform Scale(double sx, double sy) { return {0, 0, sx, 0, 0, sy}; }

struct WidthCase {
  const char16_t* text;
  double size, spacing, width;
};

TEST(MojiGeomMojiWidth, HalfAndFullWidthCharacters) {
  const WidthCase cases[] = {
      {u"", 4, 1, 0},
      {u"A", 4, 1, 2},
      {u"AB", 4, 1, 4.5},
      {u"\u3042\u3044", 4, 1, 9},       // two full-width: 2*size + spacing
      {u"A\u3042", 4, 1, 6.5},          // half spacing after a half-width one
      {u"\u3042A", 4, 1, 7},            // full spacing after a full-width one
      {u"\uFF71", 4, 1, 2},             // half-width katakana is one byte
      {u"\u6F3E\u7464", 4, 0, 8},       // lead bytes from 0xE0
      {u"\u6F22\u5B57", 3, 0.5, 6.5},
      {u"12.5", 2, 0, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MojiWidth(c.text, c.size, c.spacing), c.width) << Utf8(c.text);
  }
}

void ExpectPoint(const DPoint& p, double x, double y, const char* what) {
  EXPECT_NEAR(p.x, x, 1e-12) << what;
  EXPECT_NEAR(p.y, y, 1e-12) << what;
}

struct PlaceCase {
  const char* name;
  Transform t;
  uint32_t kind;
  DPoint s, e;
  double along, across, spacing;
  // expected
  DPoint s2, e2;
  double along2, across2, spacing2;
  uint32_t kind2;
};

TEST(MojiGeomTransformMoji, Table) {
  const PlaceCase cases[] = {
      {"translation rounds, keeps kind", {3, 4, 1, 0, 0, 1}, 1005, {0, 0}, {10, 0},
       2.123456, 3.00004, 0.55556, {3, 4}, {13, 4}, 2.1235, 3, 0.5556, 1005},
      {"scale 2", Scale(2, 2), 1005, {1, 1}, {11, 1}, 2, 3, 0.5, {2, 2}, {22, 2},
       4, 6, 1, 1000},
      {"scale 2, kind 3", Scale(2, 2), 3, {0, 0}, {10, 0}, 2, 3, 0.5, {0, 0},
       {20, 0}, 4, 6, 1, 0},
      {"mirror in x reads forward", Scale(-1, 1), 2, {0, 0}, {10, 0}, 2, 3, 0.5,
       {-10, 0}, {0, 0}, 2, 3, 0.5, 0},
      {"mirror in y swaps too", Scale(1, -1), 0, {0, 0}, {10, 0}, 2, 3, 0.5,
       {10, 0}, {0, 0}, 2, 3, 0.5, 0},
      {"half turn keeps order", Scale(-1, -1), 0, {0, 0}, {10, 0}, 2, 3, 0.5,
       {0, 0}, {-10, 0}, 2, 3, 0.5, 0},
      {"tiny scale: sizes floor, spacing 0", Scale(1e-6, 1e-6), 7, {0, 0},
       {10, 0}, 5, 5, 5, {0, 0}, {1e-5, 0}, 0.0001, 0.0001, 0, 0},
      {"zero spacing stays zero", Scale(3, 3), 0, {0, 0}, {1, 0}, 1, 1, 0,
       {0, 0}, {3, 0}, 3, 3, 0, 0},
      {"unequal scale, horizontal", Scale(2, 3), 0, {0, 0}, {10, 0}, 1, 1, 1,
       {0, 0}, {20, 0}, 2, 3, 2, 0},
      {"unequal scale, upward", Scale(2, 3), 0, {0, 0}, {0, 10}, 1, 1, 1,
       {0, 0}, {0, 30}, 3, 2, 3, 0},
      {"shear: height square to base line", {0, 0, 1, 1, 0, 1}, 0, {0, 0},
       {10, 0}, 1, 1, 1, {0, 0}, {10, 0}, 1, 1, 1, 0},
  };
  for (const auto& c : cases) {
    const MojiPlace p =
        TransformMoji(c.kind, c.s, c.e, c.along, c.across, c.spacing, c.t);
    ExpectPoint(p.s, c.s2.x, c.s2.y, c.name);
    ExpectPoint(p.e, c.e2.x, c.e2.y, c.name);
    EXPECT_EQ(p.along, c.along2) << c.name;
    EXPECT_EQ(p.across, c.across2) << c.name;
    EXPECT_EQ(p.spacing, c.spacing2) << c.name;
    EXPECT_EQ(p.kind, c.kind2) << c.name;
  }
}

TEST(MojiGeomTransformSunpoMoji, CentresNewTextOnMappedMiddle) {
  // "10" at size 2 without spacing is 2 wide.
  const MojiPlace turned = TransformSunpoMoji(0, u"10", {0, 0}, {10, 0}, 2, 3, 0,
                                              Rotation(90));
  ExpectPoint(turned.s, 0, 4, "turned start");
  ExpectPoint(turned.e, 0, 6, "turned end");

  const MojiPlace mirrored = TransformSunpoMoji(0, u"1234", {0, 0}, {10, 0}, 2, 3,
                                                1, Scale(-1, 1));
  const double half = MojiWidth(u"1234", 2, 1) / 2;
  ExpectPoint(mirrored.s, -5 - half, 0, "mirrored start");
  ExpectPoint(mirrored.e, -5 + half, 0, "mirrored end");

  // A pure translation moves the base line as it is.
  const MojiPlace moved = TransformSunpoMoji(0, u"10", {0, 0}, {10, 0}, 2, 3, 0,
                                             {5, 5, 1, 0, 0, 1});
  ExpectPoint(moved.s, 5, 5, "moved start");
  ExpectPoint(moved.e, 15, 5, "moved end");
}

TEntJwwMoji Text(const char16_t* str, double ex, double ey, double sx,
                 double sy, uint16_t sFlg = 0) {
  TEntJwwMoji m;
  m.att.lGroup = 3;
  m.att.nPenStyle = 1;
  m.att.nPenColor = 2;
  m.att.nPenWidth = 0x2002;
  m.att.nLayer = 4;
  m.att.nGLayer = 5;
  m.att.sFlg = sFlg;
  m.start_x = 0;
  m.start_y = 0;
  m.end_x = ex;
  m.end_y = ey;
  m.nMojiShu = 1005;
  m.dSizeX = sx;
  m.dSizeY = sy;
  m.dKankaku = 0.5;
  m.degKakudo = 12;
  m.strFontName = u"Gothic";
  m.str = str;
  return m;
}

TEST(MojiGeomTransformMojiElement, PlainTextAngleAndAttributes) {
  struct Case {
    const char* name;
    Transform t;
    double ex, ey, deg;
  };
  const double c30 = std::cos(kPi / 6) * 10, s30 = std::sin(kPi / 6) * 10;
  const Case cases[] = {
      {"translation", {7, 8, 1, 0, 0, 1}, c30, s30, 30},
      {"turned 90", Rotation(90), 10, 0, 90},
      {"turned -90", Rotation(-90), 10, 0, 270},
      {"mirror", Scale(-1, 1), 10, 0, 0},
      {"begins ^@BM without comma", Rotation(45), 10, 0, 45},
  };
  for (const auto& c : cases) {
    TEntJwwMoji m = Text(u"abc", c.ex, c.ey, 2, 3);
    if (std::string(c.name).starts_with("begins")) m.str = u"^@BMpic.bmp";
    const JString str = m.str;
    TransformMojiElement(m, c.t);
    EXPECT_NEAR(m.degKakudo, c.deg, 1e-12) << c.name;
    EXPECT_EQ(m.str, str) << c.name;
    EXPECT_EQ(m.strFontName, u"Gothic") << c.name;
    EXPECT_EQ(m.att.lGroup, 3u);
    EXPECT_EQ(m.att.nPenStyle, 1);
    EXPECT_EQ(m.att.nPenColor, 2);
    EXPECT_EQ(m.att.nPenWidth, 0x2002);
    EXPECT_EQ(m.att.nLayer, 4);
    EXPECT_EQ(m.att.nGLayer, 5);
  }
}

TEST(MojiGeomTransformMojiElement, VerticalTextSwapsSizeRoles) {
  TEntJwwMoji horizontal = Text(u"abc", 10, 0, 1, 2);
  TransformMojiElement(horizontal, Scale(3, 1));
  EXPECT_EQ(horizontal.dSizeX, 3);
  EXPECT_EQ(horizontal.dSizeY, 2);

  TEntJwwMoji vertical = Text(u"abc", 10, 0, 1, 2, 0x20);
  TransformMojiElement(vertical, Scale(3, 1));
  EXPECT_EQ(vertical.dSizeY, 6);  // along the base line
  EXPECT_EQ(vertical.dSizeX, 1);
  EXPECT_EQ(vertical.dKankaku, 1.5);
  EXPECT_EQ(vertical.nMojiShu, 1000u);
}

struct ImageCase {
  const char* name;
  const char16_t* str;
  double ex, ey;  // old end point; start at the origin
  Transform t;
  const char* expected;
};

TEST(MojiGeomTransformMojiElement, ImageReferenceRebuilt) {
  const double c300 = std::cos(300.0 / 180 * kPi) * 10;
  const double s300 = std::sin(300.0 / 180 * kPi) * 10;
  const ImageCase cases[] = {
      {"scaled by 0.5", u"^@BMpic.bmp,40,20", 10, 0, Scale(0.5, 0.5),
       "^@BMpic.bmp,20,10"},
      {"turned by 90", u"^@BMpic.bmp,40,20", 10, 0, Rotation(90),
       "^@BMpic.bmp,40,20,0,0,1,90"},
      {"single field, scaled and turned", u"^@BMpic.bmp,40", 10, 0,
       Rotation(90, 0.5), "^@BMpic.bmp,20"},
      {"single field, turned", u"^@BMpic.bmp,40", 10, 0, Rotation(33), "^@BMpic.bmp,40"},
      {"single zero field", u"^@BMpic.bmp,0", 10, 0, Scale(2, 2), "^@BMpic.bmp,0.0001"},
      {"angle wraps below 0", u"^@BMpic.bmp,40,20,0,0,1,10", c300, s300,
       Rotation(90), "^@BMpic.bmp,40,20,0,0,1,100"},
      {"angle wraps above 360", u"^@BMpic.bmp,40,20,0,0,1,350", 10, 0,
       Rotation(90), "^@BMpic.bmp,40,20,0,0,1,80"},
      {"three fields grow to six", u"^@BMpic.bmp,40,20,5", 10, 0, Rotation(90),
       "^@BMpic.bmp,40,20,5,0,1,90"},
      {"three fields stay two unturned", u"^@BMpic.bmp,40,20,5", 10, 0,
       Scale(2, 2), "^@BMpic.bmp,80,40"},
      {"zero width becomes 100", u"^@BMa,0,10", 10, 0, {1, 1, 1, 0, 0, 1},
       "^@BMa,100,10"},
      {"after a sixth comma ignored", u"^@BMa,40,20,1,2,3,45,xyz", 10, 0,
       {1, 1, 1, 0, 0, 1}, "^@BMa,40,20,1,2,3,45"},
      {"fields rewritten", u"^@BMa,40.0,20,1.50, 2,3,45.00", 10, 0,
       {1, 1, 1, 0, 0, 1}, "^@BMa,40,20,1.5,2,3,45"},
      {"tiny scale floors sizes", u"^@BMa,40,20", 10, 0, Scale(1e-6, 1e-6),
       "^@BMa,0.0001,0.0001"},
      {"unequal scale follows x", u"^@BMa,40,20", 10, 0, Scale(0.5, 3),
       "^@BMa,20,10"},
      {"mirror keeps direction", u"^@BMa,40,20", 10, 0, Scale(-1, 1),
       "^@BMa,40,20"},
      {"carried image", u"^@BM%temp%pic.bmp,40,20", 10, 0, Scale(2, 2),
       "^@BM%temp%pic.bmp,80,40"},
  };
  for (const auto& c : cases) {
    TEntJwwMoji m = Text(c.str, c.ex, c.ey, 2, 3);
    TransformMojiElement(m, c.t);
    EXPECT_EQ(Utf8(m.str), c.expected) << c.name;
    EXPECT_EQ(m.degKakudo, 0) << c.name;
    // Laid horizontally from the start, as long as the new string.
    EXPECT_EQ(m.end_y, m.start_y) << c.name;
    EXPECT_EQ(m.end_x, m.start_x + MojiWidth(m.str, m.dSizeX, m.dKankaku))
        << c.name;
    EXPECT_EQ(m.strFontName, u"Gothic") << c.name;
  }
}

TEST(MojiGeomTransformMojiElement, MirroredImageStartsAtMappedEnd) {
  TEntJwwMoji m = Text(u"^@BMa,40,20", 10, 0, 2, 3);
  TransformMojiElement(m, Scale(-1, 1));
  EXPECT_EQ(m.start_x, -10);
  EXPECT_EQ(m.start_y, 0);
}

struct SunpoTextCase {
  uint16_t F, G;
  double length, scale;
  const char16_t* text;
};

TEST(MojiGeomMakeSunpoText, FormatBits) {
  const SunpoTextCase cases[] = {
      {0x2040, 0, 1234.5, 1, u"1,234.5"},
      {0x20C0, 0, 1234.5, 1, u"1,234.50"},
      {0x2080, 0, 1234.5, 1, u"1234.50"},
      {0x2000, 0, 1234.5, 1, u"1234.5"},
      {0xC080, 0, 1234.5, 1, u"1234.50"},  // decimals: 12 mod 10
      {0x0040, 0, 1234.5, 1, u"1,235"},    // no point: nothing stripped
      {0x0040, 0, 1230, 1, u"1,230"},
      {0x3040, 0, 12, 1, u"12."},          // the point stays
      {0x3040, 0, 12.5, 1, u"12.5"},
      {0x2100, 0, 1234.567, 1, u"1234.56"},  // truncate
      {0x2200, 0, 1234.561, 1, u"1234.57"},  // round up
      {0x2300, 0, 1234.565, 1, u"1234.57"},  // both: half up
      {0x2300, 0, 1234.561, 1, u"1234.56"},
      {0x2000, 0, 1234.564, 1, u"1234.56"},
      {0x0000, 0, 1234.5, 1, u"1235"},
      {0x0010, 0, 2500, 1, u"3"},
      {0x1010, 0, 2500, 1, u"2.5"},
      {0x1030, 0, 2500, 1, u"2.5\uFF4D"},
      {0x0020, 0, 2500, 1, u"2500mm"},
      {0x2400, 0x100, 1234.5, 1, u"R1234.5"},
      {0x2800, 0x200, 1234.5, 1, u"1234.5\u03C6"},
      {0x2400, 0x300, 1234.5, 1, u"R1234.5"},
      {0x2C00, 0x200, 1234.5, 1, u"\u03C61234.5"},  // front wins
      {0x2000, 0x100, 1234.5, 1, u"1234.5"},         // no place for the mark
      {0x2400, 0, 1234.5, 1, u"1234.5"},
      {0x2408, 0x100, 1234.5, 1, u"\uFF32\uFF11\uFF12\uFF13\uFF14\uFF0E\uFF15"},
      {0x2028, 0, 1234.5, 1, u"\uFF11\uFF12\uFF13\uFF14\uFF0E\uFF15mm"},
      {0x1038, 0x200, 2500, 1, u"\uFF12\uFF0E\uFF15\uFF4D"},
      {0x2848, 0x200, 1234.5, 1, u"\uFF11\uFF0C\uFF12\uFF13\uFF14\uFF0E\uFF15\u03C6"},
      {0x0000, 0, 1234.5, 2, u"2469"},
      {0x2000, 0, 1234.5, 0, u"1234.5"},   // scale 0 or below counts as 1
      {0x2000, 0, 1234.5, -5, u"1234.5"},
      {0x2000, 0, 1234.5, std::nan(""), u"1234.5"},
      {0x2000, 0, 0.000001, 1, u"0"},
      {0x6000, 0, 0.000001, 1, u"1E-6"},  // general format
      {0x6080, 0, 0.000001, 1, u"0.000001"},
      {0x5000, 0, 0.00002, 1, u"0.00002"},
  };
  for (const auto& c : cases) {
    const JString t = MakeSunpoText(c.F, c.G, {0, 0}, {c.length, 0},
                                    {0, 0, 1, 0, 0, 1}, c.scale);
    EXPECT_EQ(Utf8(t), Utf8(c.text)) << std::hex << c.F << " G " << c.G;
  }
}

TEST(MojiGeomMakeSunpoText, MeasuresTheMappedLine) {
  EXPECT_EQ(MakeSunpoText(0, 0, {0, 0}, {3, 4}, Rotation(90, 2), 1), u"10");
  EXPECT_EQ(MakeSunpoText(0, 0, {1, 1}, {4, 5}, Scale(-1, 1), 1), u"5");
  EXPECT_EQ(MakeSunpoText(0, 0, {0, 0}, {3, 4}, Scale(2, 1), 1), u"7");  // 7.21
}

TEST(MojiGeomTransformSunpoMojiElement, RebuildsValueTextWhenAsked) {
  struct Case {
    const char* name;
    const char16_t* str;
    uint16_t F, sFlg;
    Transform t;
    const char16_t* expected;
  };
  const Case cases[] = {
      {"turned, bit 0x2", u"5", 0x0002, 0, Rotation(90), u"10"},
      {"turned, no bit 0x2", u"5", 0x0000, 0, Rotation(90), u"5"},
      {"translation", u"5", 0x0002, 0, {4, 4, 1, 0, 0, 1}, u"5"},
      {"image text kept", u"^@BMa,4,2", 0x0002, 0, Rotation(90), u"^@BMa,4,2"},
      {"image mark without comma kept", u"^@BMa", 0x0002, 0, Rotation(90), u"^@BMa"},
      {"mark from sFlg", u"5", 0x0402, 0x100, Scale(2, 2), u"R20"},
  };
  for (const auto& c : cases) {
    TEntJwwMoji m = Text(c.str, 10, 0, 2, 3, c.sFlg);
    m.att.nPenWidth = c.F;
    TransformSunpoMojiElement(m, c.t, {0, -1}, {10, -1}, 1);
    EXPECT_EQ(m.str, c.expected) << c.name;
    EXPECT_EQ(m.att.nPenWidth, c.F) << c.name;
  }
}

TEST(MojiGeomTransformSunpoMojiElement, CentredPlacementAndAngle) {
  // "10" at size 2 without spacing is 2 wide.
  TEntJwwMoji m = Text(u"5", 10, 0, 2, 3);
  m.att.nPenWidth = 0x0002;
  m.dKankaku = 0;
  TransformSunpoMojiElement(m, Rotation(90), {0, -1}, {10, -1}, 1);
  EXPECT_EQ(m.str, u"10");
  EXPECT_NEAR(m.start_x, 0, 1e-12);
  EXPECT_NEAR(m.start_y, 4, 1e-12);
  EXPECT_NEAR(m.end_x, 0, 1e-12);
  EXPECT_NEAR(m.end_y, 6, 1e-12);
  EXPECT_NEAR(m.degKakudo, 90, 1e-12);

  // Vertical text: the size along the base line is dSizeY.
  TEntJwwMoji v = Text(u"5", 10, 0, 2, 4, 0x20);
  v.att.nPenWidth = 0x0002;
  v.dKankaku = 0;
  TransformSunpoMojiElement(v, Rotation(90), {0, -1}, {10, -1}, 3);
  EXPECT_EQ(v.str, u"30");
  EXPECT_NEAR(v.start_y, 3, 1e-12);
  EXPECT_NEAR(v.end_y, 7, 1e-12);
  EXPECT_EQ(v.dSizeY, 4);
  EXPECT_EQ(v.dSizeX, 2);

  // Not rebuilt: placed like a plain text, angle from the new base line.
  TEntJwwMoji kept = Text(u"5", 10, 0, 2, 3);
  kept.att.nPenWidth = 0;
  TransformSunpoMojiElement(kept, Rotation(90), {0, -1}, {10, -1}, 1);
  EXPECT_NEAR(kept.end_y, 10, 1e-12);
  EXPECT_NEAR(kept.degKakudo, 90, 1e-12);
}

}  // namespace
}  // namespace geom
