#include "trim/clip_unit.h"

#include <gtest/gtest.h>

#include <random>

#include <cmath>
#include <limits>
#include <numbers>

namespace trim {
namespace {

constexpr double kPi = std::numbers::pi;
const Frame kFrame{0, 0, 10, 10};

struct PointCase {
  double x, y;
  int32_t code;
};

TEST(ClipOutCode, RegionBits) {
  const PointCase cases[] = {
      {5, 5, 0},
      {10, 5, 2},          // on the right edge counts as beyond it
      {10 - 1e-11, 5, 0},  // more than 1e-12 inside
      {10 - 5e-13, 5, 2},  // within 1e-12 of the edge
      {0, 5, 1},
      {1e-13, 5, 1},
      {5, 0, 4},
      {5, 10, 8},
      {-1, -1, 5},
      {11, 11, 10},
      {-1, 11, 9},
      {11, -1, 6},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClipOutCode(c.x, c.y, kFrame), c.code) << c.x << "," << c.y;
    EXPECT_EQ(ClipTenCheck(c.x, c.y, kFrame), c.code == 0 ? 0 : 2);
  }
}

struct SegmentCase {
  const char* name;
  double x1, y1, x2, y2;
  int32_t result;
};

TEST(ClipSenCheck, Table) {
  const SegmentCase cases[] = {
      {"inside", 2, 2, 8, 8, 0},
      {"leaves right", 5, 5, 15, 5, 1},
      {"both above", -5, 20, 15, 20, 2},
      {"through", -1, 5, 11, 5, 1},
      {"vertical through", 5, -5, 5, 15, 1},
      {"passes outside corner (0,0)", -1, 0.5, 0.5, -1, 2},
      {"touches corner (0,10)", -1, 8, 1, 12, 2},
      {"cuts corner (0,0)", -1, 1.5, 1.5, -1, 1},
      {"zero length inside", 5, 5, 5, 5, 0},
      {"zero length outside", 15, 5, 15, 5, 2},
      {"lies on the left edge", 0, -5, 0, 15, 2},
      {"lies on the bottom edge inside span", 2, 0, 8, 0, 2},
      {"diagonal across both corners", -1, -1, 11, 11, 1},
      {"left to top, missing", -2, 9, 1, 12.5, 2},
      {"left to top, crossing", -1, 9, 1, 10.5, 1},
      {"one end on edge, other inside", 0, 5, 5, 5, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClipSenCheck(c.x1, c.y1, c.x2, c.y2, kFrame), c.result) << c.name;
    EXPECT_EQ(ClipSenCheck(c.x2, c.y2, c.x1, c.y1, kFrame), c.result)
        << c.name << " reversed";
  }
}

struct ClipCase {
  const char* name;
  double x1, y1, x2, y2;
  int32_t result;
  double cx1, cy1, cx2, cy2;  // end points after clipping
};

TEST(ClipSen, MovesEndPointsOntoEdges) {
  const ClipCase cases[] = {
      {"inside stays", 2, 3, 8, 7, 0, 2, 3, 8, 7},
      {"right end clipped", 5, 5, 15, 5, 1, 5, 5, 10, 5},
      {"both clipped", -1, 5, 11, 5, 1, 0, 5, 10, 5},
      {"vertical", 5, -5, 5, 15, 1, 5, 0, 5, 10},
      {"diagonal from below left", -5, 0, 5, 10, 1, 0, 5, 5, 10},
      {"same edge: untouched", -5, 20, 15, 20, 2, -5, 20, 15, 20},
      {"corner pass ends on one point", -1, 0.5, 0.5, -1, 2, -0.5, 0, -0.5, 0},
  };
  for (const auto& c : cases) {
    double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    EXPECT_EQ(ClipSen(x1, y1, x2, y2, kFrame), c.result) << c.name;
    EXPECT_NEAR(x1, c.cx1, 1e-12) << c.name;
    EXPECT_NEAR(y1, c.cy1, 1e-12) << c.name;
    EXPECT_NEAR(x2, c.cx2, 1e-12) << c.name;
    EXPECT_NEAR(y2, c.cy2, 1e-12) << c.name;
  }
}

TEST(ClipSen, NonFiniteEndsReturn) {
  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ClipSenCheck(nan, nan, nan, nan, kFrame), 0);
  EXPECT_EQ(ClipSenCheck(inf, 5, inf, 6, kFrame), 2);
  EXPECT_NE(ClipSenCheck(-inf, 5, 5, 5, kFrame), 0);
}

struct ArcCase {
  const char* name;
  int32_t full;
  double cx, cy, r, f, start, sweep, tilt;
  int32_t result;
};

TEST(ClipEnkoCheck, Table) {
  // A circle of radius 4 about (5, -3) reaches into the frame only near its
  // top (angle pi/2); its bottom half lies wholly below the frame.
  const ArcCase cases[] = {
      {"bottom arc", 0, 5, -3, 4, 1, -kPi / 2 - 0.3, 0.6, 0, 2},
      {"top arc", 0, 5, -3, 4, 1, kPi / 2 - 0.3, 0.6, 0, 0},
      {"zero sweep is a full circle", 0, 5, -3, 4, 1, -kPi / 2, 0, 0, 0},
      {"tiny sweep is a full circle", 0, 5, -3, 4, 1, -kPi / 2, 5e-15, 0, 0},
      {"full flag", 1, 5, -3, 4, 1, -kPi / 2, 0.1, 0, 0},
      {"any nonzero full flag", -7, 5, -3, 4, 1, -kPi / 2, 0.1, 0, 0},
      {"sweep 4pi is 2pi", 0, 5, -3, 4, 1, -kPi / 2, 4 * kPi, 0, 0},
      {"sweep 3pi is pi: top half", 0, 5, -3, 4, 1, 0, 3 * kPi, 0, 0},
      {"sweep -3pi is -pi: bottom half", 0, 5, -3, 4, 1, 0, -3 * kPi, 0, 2},
      {"sweep -pi: bottom half", 0, 5, -3, 4, 1, 0, -kPi, 0, 2},
      {"sweep 2pi+0.1 is 0.1", 0, 5, -3, 4, 1, -kPi / 2, 2 * kPi + 0.1, 0, 2},
      {"many turns reduce turn by turn", 0, 5, -3, 4, 1, -kPi / 2,
       2000 * kPi + 0.1, 0, 2},
      {"circle around the frame", 0, 5, 5, 100, 1, 0, 0, 0, 2},
      {"circle cutting the frame", 0, 20, 5, 12, 1, 0, 0, 0, 0},
      {"flat ellipse above", 0, 5, 15, 20, 0.1, 0, 0, 0, 2},
      {"same ellipse tilted upright", 0, 5, 15, 20, 0.1, 0, 0, kPi / 2, 0},
      {"small circle inside", 0, 5, 5, 1, 1, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClipEnkoCheck(c.full, c.cx, c.cy, c.r, c.f, c.start, c.sweep,
                            c.tilt, kFrame),
              c.result)
        << c.name;
  }
}

TEST(ClipEnkoCheck, NonFiniteOrHugeSweepIsTestedAsFullEllipse) {
  const double inf = std::numeric_limits<double>::infinity();
  // Bottom arc that a full circle would leave for the frame.
  for (double sweep : {std::nan(""), inf, -inf, 1e300, -1e300, 1e7}) {
    EXPECT_EQ(ClipEnkoCheck(0, 5, -3, 4, 1, -kPi / 2, sweep, 0, kFrame), 0)
        << sweep;
  }
  // Without any part near the frame they stay outside.
  EXPECT_EQ(ClipEnkoCheck(0, 50, 50, 4, 1, 0, inf, 0, kFrame), 2);
}

TEST(ClipEnkoCheck, NonFiniteGeometryReturns) {
  const double nan = std::nan("");
  EXPECT_EQ(ClipEnkoCheck(0, nan, 5, 1, 1, 0, 1, 0, kFrame), 0);
  EXPECT_EQ(ClipEnkoCheck(1, 5, 5, nan, 1, nan, 1, nan, kFrame), 0);
}

struct BoxCase {
  const char* name;
  double x1, y1, x2, y2, h;
  int32_t result;
};

TEST(ClipMojiCheck, Table) {
  const BoxCase cases[] = {
      {"right of the frame", 12, 5, 20, 5, 3, 2},
      {"above the frame", 5, 12, 9, 12, 3, 2},
      {"leftward text hangs down into the frame", 9, 20, 1, 20, 15, 0},
      {"leftward text, short box", 9, 20, 1, 20, 9, 2},
      {"below, box reaches up", 1, -2, 5, -2, 3, 0},
      {"below, box too low", 1, -2, 5, -2, 1.5, 2},
      {"base line crosses", 5, 5, 15, 5, 1, 0},
      {"upward text left of frame, box to the left", -1, 2, -1, 8, 5, 2},
      {"downward text left of frame, box to the right", -1, 8, -1, 2, 5, 0},
      {"box spans the frame without an edge inside", -1, -1, 11, -1, 12, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClipMojiCheck(c.x1, c.y1, c.x2, c.y2, c.h, kFrame), c.result)
        << c.name;
  }
}

struct ImageCase {
  const char16_t* str;
  double x1, y1, x2, y2, h;
  int32_t result;
};

TEST(ClipImageCheck, Table) {
  const ImageCase cases[] = {
      {u"^@BMpic.bmp,4,2", 12, 5, 0, 0, 0, 2},
      {u"^@BMpic.bmp,0,3", -3, 4, 0, 0, 0, 0},      // width 0 becomes 100
      {u"^@BMpic.bmp,30", -20, -25, 0, 0, 0, 0},    // 30 x 30, top side crosses
      {u"^@BMpic.bmp,40", -15, -15, 0, 0, 0, 2},    // square around the frame
      {u"^@BMpic.bmp,4,2,0,0,1,90", 11, 5, 0, 0, 0, 0},  // turned into the frame
      {u"^@BMpic.bmp,4,2", 11, 5, 0, 0, 0, 2},      // same box unturned
      {u"^@BMpic.bmp,30", -20, -20, 0, 0, 0, 2},    // sides on the edges
      {u"^@BMpic.bmp,4,2,0,0,1", 11, 5, 0, 0, 0, 2},  // no sixth field: angle 0
      {u"^@BMpic.bmp,4,2,0,0,1,90,7", 11, 5, 0, 0, 0, 0},  // extra field ignored
      {u"^@BMpic.bmp, 4, 2,0,0,1, 90", 11, 5, 0, 0, 0, 0},  // leading spaces
      {u"^@BMpic.bmp,4,2,0,0,1,90 ", 11, 5, 0, 0, 0, 2},  // not wholly a number
      {u"^@BMpic.bmp,4,x", 5, 5, 0, 0, 0, 0},  // height 0: a line inside
      {u"^@BMpic.bmp,0", 5, 5, 0, 0, 0, 0},    // single 0 stays 0: a point
      {u"^@BMpic.bmp,0", -3, 4, 0, 0, 0, 2},
      {u"^@BMpic.bmp,", -3, 4, 0, 0, 0, 2},
      {u"^@BMpic.bmp,4,2", 12, 5, 5, 5, 3, 2},  // end point and h not used
      {u"^@BMpic.bmp,2,4,0,0,1,180", 11, 5, 0, 0, 0, 0},
      {u"^@BMpic.bmp,2,4,0,0,1,-90", 5, 11, 0, 0, 0, 0},
      {u"^@BMpic.bmp,2,4,0,0,1,-90", 5, 12, 0, 0, 0, 2},  // reaches the edge only
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClipImageCheck(c.str, c.x1, c.y1, c.x2, c.y2, c.h, kFrame),
              c.result)
        << jww::JString(c.str).size() << " at " << c.x1 << "," << c.y1;
  }
}

TEST(ClipImageCheck, WithoutCommaTestsTheTextBox) {
  // The text box of the base line reaches into the frame; an image box of
  // any size at (12, 5) would be outside.
  EXPECT_EQ(ClipImageCheck(u"^@BMpic.bmp", 12, 5, 2, 5, 3, kFrame), 0);
  EXPECT_EQ(ClipImageCheck(u"^@BMpic.bmp", 12, 5, 20, 5, 3, kFrame), 2);
}

}  // namespace
}  // namespace trim

// The arc test's shortcuts must agree with the plain 72-chord test everywhere,
// including arcs that graze the frame's edges and tiny arcs in the 1e-12 band.
TEST(ClipEnkoShortcuts, AgreeWithThePlainChordTest) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const trim::Frame fr{-210.00000001, -148.50000001, 210.00000001, 148.50000001};
  std::mt19937_64 rng(12345);
  auto unit = [&] { return static_cast<double>(rng() >> 11) * 0x1.0p-53; };
  auto pick = [&](std::initializer_list<double> v) { return *(v.begin() + rng() % v.size()); };
  int outside = 0, total = 80000;
  for (int i = 0; i < total; ++i) {
    double edgeX = pick({fr.xmin, fr.xmax, 0.0}), edgeY = pick({fr.ymin, fr.ymax, 0.0});
    double scale = pick({1e-13, 1e-9, 1e-3, 1.0, 50.0, 400.0, 2000.0});
    double cx = edgeX + (unit() - 0.5) * 2 * scale * pick({0.5, 1.0, 3.0});
    double cy = edgeY + (unit() - 0.5) * 2 * scale * pick({0.5, 1.0, 3.0});
    double r = scale * unit() * pick({1.0, -1.0});
    double f = pick({1.0, 0.5, 0.0, unit() * 3});
    double start = (unit() - 0.5) * 20, sweep = pick({0.0, 1e-13, unit() * 7, -unit() * 7, 20.0});
    double tilt = (unit() - 0.5) * 8;
    // Now and then one value is not a finite number.
    double* values[] = {&cx, &cy, &r, &f, &start, &sweep, &tilt};
    if (rng() % 8 == 0) *values[rng() % 7] = pick({kNaN, kInf, -kInf});
    int32_t full = static_cast<int32_t>(rng() % 3 == 0);
    int32_t plain = trim::ClipEnkoCheckPlain(full, cx, cy, r, f, start, sweep, tilt, fr);
    int32_t fast = trim::ClipEnkoCheck(full, cx, cy, r, f, start, sweep, tilt, fr);
    ASSERT_EQ(fast, plain) << cx << "," << cy << " r=" << r << " f=" << f << " s=" << start << " w=" << sweep
                           << " tilt=" << tilt << " full=" << full;
    outside += plain == 2;
  }
  // Both answers occur often enough for the comparison to mean something.
  EXPECT_GT(outside, total / 10);
  EXPECT_LT(outside, total * 9 / 10);
}

// An arc far beyond one edge, with one angle that is not a finite number:
// the plain test keeps it (every chord point is NaN), and so must the fast one.
TEST(ClipEnkoShortcuts, NonFiniteAnglesFarBeyondAnEdge) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const trim::Frame fr{-210.00000001, -148.50000001, 210.00000001, 148.50000001};
  struct Case { double start, sweep, tilt; };
  const Case cases[] = {{kNaN, 1, 0}, {kInf, 1, 0}, {-kInf, 1, 0}, {0, 1, kNaN},
                        {0, 1, kInf}, {0, kNaN, 0}, {0, kInf, 0}, {kNaN, kNaN, kNaN}};
  for (const Case& c : cases) {
    for (double cx : {1000.0, -1000.0}) {
      int32_t plain = trim::ClipEnkoCheckPlain(0, cx, 0, 5, 1, c.start, c.sweep, c.tilt, fr);
      EXPECT_EQ(trim::ClipEnkoCheck(0, cx, 0, 5, 1, c.start, c.sweep, c.tilt, fr), plain)
          << "start=" << c.start << " sweep=" << c.sweep << " tilt=" << c.tilt << " cx=" << cx;
    }
  }
}
