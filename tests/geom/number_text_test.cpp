#include "geom/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "jww/jww_strings.h"

namespace geom {
namespace {

using jww::JString;

std::string Utf8(const JString& s) { return jww::ToUtf8(s); }

struct ParseCase {
  const char16_t* text;
  double value;
};

TEST(MojiGeomStrToFloatZero, Table) {
  const ParseCase cases[] = {
      {u"", 0},
      {u"12.5", 12.5},
      {u"  7", 7},
      {u"-3.25", -3.25},
      {u"+4", 4},
      {u"5.", 5},
      {u".5", 0.5},
      {u"1E-6", 1e-6},
      {u"1.5E20", 1.5e20},
      {u"2e+3", 2000},
      {u"0.1", 0.1},
      {u"abc", 0},
      {u"12a", 0},
      {u"1.2.3", 0},
      {u".", 0},
      {u"-", 0},
      {u"1e", 0},
      {u"1e+", 0},
      {u"7 ", 0},       // trailing space: not wholly a number
      {u"\t7", 0},      // only spaces are skipped
      {u"1e999", 0},    // not representable
      {u"nan", 0},
      {u"inf", 0},
      {u"0x10", 0},
      {u"1,5", 0},
      {u"\uFF11\uFF12", 0},  // full-width digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrToFloatZero(c.text), c.value) << Utf8(c.text);
  }
}

struct FormatCase {
  double v;
  const char* text;
};

TEST(MojiGeomFormatGeneral, ShortestUpToFifteenDigits) {
  const FormatCase cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {100, "100"},
      {1234.5, "1234.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.00001, "0.00001"},
      {0.000012345, "0.000012345"},
      {1e-6, "1E-6"},
      {-1e-6, "-1E-6"},
      {1.5e-7, "1.5E-7"},
      {999999999999999, "999999999999999"},
      {1e15, "1E15"},
      {1.5e20, "1.5E20"},
      {-2.25e15, "-2.25E15"},
      {123456789012345678.0, "1.23456789012346E17"},
      {1e100, "1E100"},
      {5e-324, "4.94065645841247E-324"},
      // Notation follows the value rounded to 15 digits.
      {999999999999999.9, "1E15"},
      {9.999999999999999e-6, "0.00001"},
      {std::nan(""), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8(FormatGeneral(c.v)), c.text) << c.v;
  }
}

TEST(MojiGeomFormatGeneral, ReadsBackThroughStrToFloatZero) {
  for (double v : {1e-6, 1.5e20, 1234.5, 0.0001, 2.5e-300, 40.0, 1e15}) {
    EXPECT_EQ(StrToFloatZero(FormatGeneral(v)), v) << v;
  }
}

struct FixedCase {
  int32_t d;
  double v;
  const char* fixed;
  const char* grouped;
};

TEST(MojiGeomFormatFixed, FixedAndGrouped) {
  const FixedCase cases[] = {
      {2, 1234.5, "1234.50", "1,234.50"},
      {0, 2, "2", "2"},
      {0, 123, "123", "123"},
      {0, 1234567, "1234567", "1,234,567"},
      {0, 100000, "100000", "100,000"},
      {3, -1.5, "-1.500", "-1.500"},
      {2, -1234567.89, "-1234567.89", "-1,234,567.89"},
      {2, 0.5, "0.50", "0.50"},
      {9, 0.1, "0.100000000", "0.100000000"},
      {2, -0.0, "0.00", "0.00"},
      {2, -0.001, "0.00", "0.00"},  // no sign without a nonzero digit
      {-1, 2.4, "2", "2"},           // fewer than 0 decimals: none
      {1, 1000, "1000.0", "1,000.0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8(FormatFixed(c.d, c.v)), c.fixed) << c.v;
    EXPECT_EQ(Utf8(FormatGrouped(c.d, c.v)), c.grouped) << c.v;
  }
}

TEST(MojiGeomToFullWidth, AsciiToFullWidthForms) {
  EXPECT_EQ(ToFullWidth(u"R12.5"), u"\uFF32\uFF11\uFF12\uFF0E\uFF15");
  EXPECT_EQ(ToFullWidth(u"!~ "), u"\uFF01\uFF5E\u3000");
  EXPECT_EQ(ToFullWidth(u"\"'\\"), u"\u201D\u2019\uFFE5");
  EXPECT_EQ(ToFullWidth(u"a,b"), u"\uFF41\uFF0C\uFF42");
  // Characters outside "!".."~" stay as they are.
  EXPECT_EQ(ToFullWidth(u"\u03C6\uFF4D\u3042\t"), u"\u03C6\uFF4D\u3042\t");
  EXPECT_EQ(ToFullWidth(u""), u"");
}

}  // namespace
}  // namespace geom
