#include <gtest/gtest.h>

#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "jww/jww_strings.h"

using namespace jww;

namespace {

std::vector<uint8_t> Written(const JString& s, bool utf16) {
  TJwwData d;
  d.SetFileOutOption(utf16 ? 32 : 0);
  JwwOut out;
  out.OpenMemory();
  WriteArchiveString(d, out, s);
  return out.Memory();
}

JString ReadBack(const std::vector<uint8_t>& bytes, bool* utf16 = nullptr, bool clean = false) {
  TJwwData d;
  JwwIn in;
  in.OpenMemory(bytes.data(), bytes.size());
  JString s = clean ? ReadCleanString(d, in) : ReadArchiveString(d, in);
  if (utf16) *utf16 = d.MojiEncode;
  return s;
}

}  // namespace

TEST(ArchiveString, KnownForms) {
  EXPECT_EQ(Written(u"abc", false), (std::vector<uint8_t>{3, 'a', 'b', 'c'}));
  EXPECT_EQ(Written(u"abc", true), (std::vector<uint8_t>{0xFF, 0xFE, 0xFF, 3, 'a', 0, 'b', 0, 'c', 0}));
  EXPECT_EQ(Written(u"", false), (std::vector<uint8_t>{0}));
  EXPECT_EQ(Written(u"", true), (std::vector<uint8_t>{0xFF, 0xFE, 0xFF, 0}));
}

TEST(ArchiveString, LengthPrefixesAtTheBoundaries) {
  struct Case { size_t n; std::vector<uint8_t> ansiHead; std::vector<uint8_t> utfHead; };
  const Case cases[] = {
      {254, {0xFE}, {0xFF, 0xFE, 0xFF, 0xFE}},
      {255, {0xFF, 0xFF, 0x00}, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
      {300, {0xFF, 0x2C, 0x01}, {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}},
  };
  for (const Case& c : cases) {
    JString s(c.n, u'x');
    for (bool utf16 : {false, true}) {
      auto bytes = Written(s, utf16);
      const auto& head = utf16 ? c.utfHead : c.ansiHead;
      ASSERT_GE(bytes.size(), head.size());
      EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin())) << c.n << " utf16=" << utf16;
      EXPECT_EQ(bytes.size(), head.size() + (utf16 ? 2 : 1) * c.n);
      bool wide = false;
      EXPECT_EQ(ReadBack(bytes, &wide), s);
      EXPECT_EQ(wide, utf16);
    }
  }
}

TEST(ArchiveString, ShiftJisBothWays) {
  JString s = u"図面\u3000ｱ~\\";  // kanji, ideographic space, half-width kana, ASCII
  auto bytes = Written(s, false);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{9, 0x90, 0x7D, 0x96, 0xCA, 0x81, 0x40, 0xB1, '~', '\\'}));
  EXPECT_EQ(ReadBack(bytes), s);
  EXPECT_EQ(AnsiByteLength(s), 9u);
}

TEST(ArchiveString, ReadingStopsAtNulAndMarksUtf16) {
  bool wide = true;
  EXPECT_EQ(ReadBack({3, 'A', 0, 'B'}, &wide), u"A");
  EXPECT_FALSE(wide);
  EXPECT_EQ(ReadBack({0}, &wide), u"");
  EXPECT_FALSE(wide);
  EXPECT_EQ(ReadBack({0xFF, 0xFE, 0xFF, 0}, &wide), u"");
  EXPECT_TRUE(wide);
  EXPECT_EQ(ReadBack({0xFF, 0xFE, 0xFF, 2, 'A', 0, 0, 0}), u"A");
}

TEST(ArchiveString, CleanReadDropsControlCharacters) {
  EXPECT_EQ(ReadBack({3, 'A', '\t', 'B'}, nullptr, true), u"AB");
  EXPECT_EQ(ReadBack({4, 'A', '\r', '\n', 'B'}), u"A\r\nB");
}

TEST(ArchiveString, TruncatedStringFails) {
  TJwwData d;
  for (std::vector<uint8_t> bytes : {std::vector<uint8_t>{5, 'a'}, std::vector<uint8_t>{},
                                      std::vector<uint8_t>{0xFF, 0xFE}, std::vector<uint8_t>{0xFF, 0xFE, 0xFF, 3, 'a'}}) {
    JwwIn in;
    in.OpenMemory(bytes.data(), bytes.size());
    EXPECT_THROW(ReadArchiveString(d, in), JwwIoError);
  }
}

TEST(ArchiveString, InvalidShiftJisDoesNotStopDecoding) {
  const uint8_t bad[] = {'a', 0x81, 0x20, 'b', 0xFF};
  JString s = DecodeAnsiBytes(bad, sizeof bad);
  EXPECT_EQ(s.front(), u'a');
  EXPECT_NE(s.find(u'b'), JString::npos);
}

TEST(ArchiveString, FiniteNumbers) {
  EXPECT_TRUE(IsFiniteNumber(1.5));
  EXPECT_FALSE(IsFiniteNumber(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(IsFiniteNumber(-std::numeric_limits<double>::infinity()));
}

TEST(ArchiveString, TextsTooLongForTheirFormAreCutNotCorrupted) {
  struct Case { JString text; bool utf16; size_t units; };
  const Case cases[] = {
      {JString(70000, u'x'), true, 65535},
      {JString(65534, u'x'), false, 65533},
      {JString(70000, u'x'), false, 65533},
      {JString(40000, u'\u56F3'), false, 32766},  // two bytes each: cut on a character boundary
  };
  for (const Case& c : cases) {
    auto bytes = Written(c.text, c.utf16);
    JString back = ReadBack(bytes);
    EXPECT_EQ(back.size(), c.units);
    EXPECT_EQ(back, c.text.substr(0, c.units));
  }
}

TEST(ArchiveString, BytesWithoutACharacterSurviveTheRoundTrip) {
  const uint8_t bytes[] = {'a', 0x80, 0xA0, 0xFD, 0xFE, 0xFF, 0xF0, 0x40, 'z'};  // F040: user-defined
  JString s = DecodeAnsiBytes(bytes, sizeof bytes);
  EXPECT_EQ(s, (JString{u'a', u'\u0080', u'\uF8F0', u'\uF8F1', u'\uF8F2', u'\uF8F3', u'\uE000', u'z'}));
  EXPECT_EQ(EncodeAnsiBytes(s), std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
}
