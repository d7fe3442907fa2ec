#include "geom/func_2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace geom {
namespace {

constexpr double kPi = std::numbers::pi;

struct AngleCase {
  double dx, dy, expected;
};

TEST(Func2VectorAngle, DirectionsInHalfOpenTurn) {
  const AngleCase cases[] = {
      {0, 0, 0},
      {1, 0, 0},
      {0, 1, kPi / 2},
      {-1, 0, kPi},
      {-1, -0.0, kPi},  // negative zero must not give -pi
      {0, -1, 3 * kPi / 2},
      {1e-15, 1, kPi / 2},       // one tiny part is not a null vector
      {1e-15, -1e-15, 0},        // both below 1e-14: null vector
      {-9.9e-15, 9.9e-15, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(VectorAngle(c.dx, c.dy), c.expected, 1e-15)
        << c.dx << "," << c.dy;
  }
}

TEST(Func2VectorAngle, TinyNegativeWrapsToJustBelowTwoPi) {
  EXPECT_EQ(VectorAngle(1, -1e-20), 6.283185307179586);
  EXPECT_EQ(VectorAngle(-1, -0.0), kPi);
}

TEST(Func2VectorAngle, AlwaysBelowTwoPi) {
  for (int i = 0; i < 3600; ++i) {
    const double a = i * kPi / 1800;
    const double v = VectorAngle(std::cos(a), std::sin(a));
    EXPECT_GE(v, 0);
    EXPECT_LT(v, 2 * kPi);
  }
}

struct RotateCase {
  double X, Y, cx, cy, th, x, y;
};

TEST(Func2Rotate, TurnsAboutCentre) {
  const RotateCase cases[] = {
      {2, 1, 1, 1, kPi / 2, 1, 2},
      {2, 1, 1, 1, kPi, 0, 1},
      {2, 1, 1, 1, -kPi / 2, 1, 0},
      {3, 4, 0, 0, 2 * kPi, 3, 4},
      {1, 0, 0, 0, kPi / 6, std::sqrt(3.0) / 2, 0.5},
      {5, 5, 5, 5, 1.234, 5, 5},  // the centre stays where it is
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(RotateX(c.X, c.Y, c.cx, c.cy, c.th), c.x, 1e-14);
    EXPECT_NEAR(RotateY(c.X, c.Y, c.cx, c.cy, c.th), c.y, 1e-14);
  }
}

TEST(Func2Distance, PointDistanceAndSamePoint) {
  EXPECT_EQ(PointDistance(0, 0, 3, 4), 5);
  EXPECT_EQ(PointDistance(-1, -1, -1, -1), 0);
  EXPECT_EQ(PointDistance(1, 2, -2, -2), 5);

  struct SameCase {
    double x1, y1, x2, y2;
    bool same;
  };
  const SameCase cases[] = {
      {1, 1, 1, 1, true},
      {0, 0, 1e-12, 0, true},  // the tolerance itself still counts as equal
      {0, 0, 0, -1e-12, true},
      {0, 0, 1.1e-12, 0, false},
      {0, 0, 0, 2e-12, false},
      {5, 5, 5 + 5e-13, 5 - 5e-13, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SamePoint(c.x1, c.y1, c.x2, c.y2), c.same)
        << c.x2 << "," << c.y2;
  }
}

struct RoundCase {
  double v;
  int32_t digits, mode;
  double expected;
};

TEST(Func2RoundDigits, ModesAndDigitCounts) {
  const RoundCase cases[] = {
      {2.375, 2, 2, 2.38},
      {-2.375, 2, 2, -2.38},  // symmetric about zero
      {2.341, 2, 1, 2.35},
      {-2.341, 2, 1, -2.35},
      {2.349, 2, 0, 2.34},
      {-2.349, 2, 0, -2.34},
      {2.5, 0, 2, 3},
      {2.4999, 0, 2, 2},
      {2.7, 0, 0, 2},
      {2.1, 0, 1, 3},
      {2.0, 0, 1, 2},
      {3.000000000005, 0, 1, 3},  // less than 1e-10 above a whole: not raised
      {3.0000000002, 0, 1, 4},
      {2.6, 12, 2, 3},  // digits outside 1..9 behave as 0
      {2.6, 10, 0, 2},
      {-2.6, -3, 2, -3},
      {1.23456789, 9, 0, 1.23456789},
      {0.123456789012, 9, 2, 0.123456789},
      {12.34567, 4, 2, 12.3457},
      {0.00004, 4, 2, 0},
      {0.00005, 4, 2, 0.0001},
      {7, 3, 7, 7},  // any other mode rounds half up
      {0.125, 2, -1, 0.13},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundDigits(c.v, c.digits, c.mode), c.expected)
        << c.v << " d=" << c.digits << " m=" << c.mode;
  }
}

TEST(Func2RoundDigits, NonFiniteAndHugeValuesPassThrough) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(RoundDigits(std::nan(""), 2, 2)));
  EXPECT_EQ(RoundDigits(inf, 2, 2), inf);
  EXPECT_EQ(RoundDigits(-inf, 2, 0), -inf);
  EXPECT_EQ(RoundDigits(1e300, 0, 2), 1e300);
  EXPECT_EQ(RoundDigits(-1e20, 0, 1), -1e20);
}

TEST(Func2SwapValues, Exchanges) {
  double a = 1.5, b = -2.5;
  SwapValues(a, b);
  EXPECT_EQ(a, -2.5);
  EXPECT_EQ(b, 1.5);
}

struct LineDistanceCase {
  double x1, y1, x2, y2, px, py, expected;
};

TEST(Func2PointLineDistance, MeasuresSquareToTheLine) {
  const LineDistanceCase cases[] = {
      {0, 0, 10, 0, 5, 3, 3},
      {0, 0, 10, 0, 50, -3, 3},   // beyond the end: the line, not the segment
      {2, 0, 2, 10, 5, 7, 3},
      {0, 0, 1, 1, 0, 2, std::sqrt(2.0)},
      {1, 1, 1, 1, 4, 5, 4},      // equal points: distance in y only
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(PointLineDistance(c.x1, c.y1, c.x2, c.y2, c.px, c.py),
                c.expected, 1e-14);
  }
}

struct SpanCase {
  double x1, y1, x2, y2, px, py;
  bool within;
  double offset;
};

TEST(Func2WithinSegmentSpan, EndsWithinTolerance) {
  const SpanCase cases[] = {
      {0, 0, 10, 0, 5, 2, true, 2},
      {0, 0, 10, 0, 5, -2, true, -2},
      {0, 0, 10, 0, -1e-13, 1, true, 1},
      {0, 0, 10, 0, -1e-11, 1, false, 1},
      {0, 0, 10, 0, 10 + 5e-13, 0, true, 0},
      {0, 0, 10, 0, 11, 0, false, 0},
      {10, 0, 0, 0, 5, 2, true, -2},  // reversed direction flips the side
      {0, 0, 3, 4, 3, 4, true, 0},
      {0, 0, 3, 4, -4, 3, true, 5},
      {0, 0, 3, 4, 6, 8, false, 0},
  };
  for (const auto& c : cases) {
    double offset = 99;
    EXPECT_EQ(WithinSegmentSpan(c.x1, c.y1, c.x2, c.y2, c.px, c.py, offset),
              c.within)
        << c.px << "," << c.py;
    EXPECT_NEAR(offset, c.offset, 1e-13);
  }
}

struct IntersectionCase {
  const char* name;
  DPoint a1, a2, b1, b2;
  int32_t result;
  DPoint p;
};

TEST(Func2LineIntersection, Table) {
  const IntersectionCase cases[] = {
      {"crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, 1, {1, 1}},
      {"meets beyond", {0, 0}, {1, 0}, {5, -1}, {6, 1}, 2, {5.5, 0}},
      {"a steep", {1, -5}, {1, 5}, {0, 0}, {2, 2}, 1, {1, 1}},
      {"b steep", {0, 0}, {2, 2}, {1, -5}, {1, 5}, 1, {1, 1}},
      {"a nearly steep", {1, 0}, {1 + 1e-11, 10}, {0, 5}, {2, 5}, 1, {1, 5}},
      {"steep beyond", {3, 0}, {3, 1}, {0, 0}, {1, 1}, 2, {3, 3}},
      {"touching end", {0, 0}, {1, 0}, {1, 0}, {2, 3}, 1, {1, 0}},
  };
  for (const auto& c : cases) {
    DPoint p{-7, -7};
    EXPECT_EQ(LineIntersection(c.a1, c.a2, c.b1, c.b2, p), c.result) << c.name;
    EXPECT_NEAR(p.x, c.p.x, 1e-12) << c.name;
    EXPECT_NEAR(p.y, c.p.y, 1e-12) << c.name;
  }
}

TEST(Func2LineIntersection, ParallelLeavesPointUntouched) {
  struct Case {
    const char* name;
    DPoint a1, a2, b1, b2;
  };
  const Case cases[] = {
      {"both vertical", {1, 0}, {1, 5}, {3, 0}, {3, 5}},
      {"same vertical", {1, 0}, {1, 5}, {1, 2}, {1, 9}},
      {"parallel", {0, 0}, {1, 1}, {0, 1}, {1, 2}},
      {"slopes within 1e-10", {0, 0}, {1, 1}, {0, 1}, {1, 2 + 5e-11}},
      {"collinear", {0, 0}, {1, 1}, {2, 2}, {3, 3}},
  };
  for (const auto& c : cases) {
    DPoint p{-7, 8};
    EXPECT_EQ(LineIntersection(c.a1, c.a2, c.b1, c.b2, p), 0) << c.name;
    EXPECT_EQ(p.x, -7) << c.name;
    EXPECT_EQ(p.y, 8) << c.name;
  }
}

struct ArcEndCase {
  const char* name;
  double cx, cy, r, f, s, w, tau;
  DPoint start, end, apex;
};

TEST(Func2ArcEndPoints, EndsAndTangentApex) {
  const ArcEndCase cases[] = {
      {"quarter", 0, 0, 2, 1, 0, kPi / 2, 0, {2, 0}, {0, 2}, {2, 2}},
      {"moved quarter", 10, 20, 2, 1, 0, kPi / 2, 0, {12, 20}, {10, 22}, {12, 22}},
      {"half circle: apex is the centre", 3, 4, 1, 1, 0, kPi, 0, {4, 4}, {2, 4}, {3, 4}},
      {"tilted ellipse", 1, 1, 2, 0.5, 0, kPi / 2, kPi / 2, {1, 3}, {0, 1}, {0, 3}},
      {"clockwise quarter", 0, 0, 1, 1, kPi / 2, -kPi / 2, 0, {0, 1}, {1, 0}, {1, 1}},
  };
  for (const auto& c : cases) {
    DPoint s, e, a;
    ArcEndPoints(c.cx, c.cy, c.r, c.f, c.s, c.w, c.tau, s, e, a);
    EXPECT_NEAR(s.x, c.start.x, 1e-12) << c.name;
    EXPECT_NEAR(s.y, c.start.y, 1e-12) << c.name;
    EXPECT_NEAR(e.x, c.end.x, 1e-12) << c.name;
    EXPECT_NEAR(e.y, c.end.y, 1e-12) << c.name;
    EXPECT_NEAR(a.x, c.apex.x, 1e-12) << c.name;
    EXPECT_NEAR(a.y, c.apex.y, 1e-12) << c.name;
  }
}

TEST(Func2ArcEndPoints, HalfCircleApexIsExactlyTheCentre) {
  DPoint s, e, a;
  ArcEndPoints(3, 4, 1, 1, 0, kPi, 0, s, e, a);
  EXPECT_EQ(a.x, 3);
  EXPECT_EQ(a.y, 4);
}

TEST(Func2Transform, MapsAndRecognisesIdentity) {
  const Transform t{10, 20, 1, 2, 3, 4};
  const DPoint p = t.Map(5, 6);
  EXPECT_EQ(p.x, 10 + 5 + 12);
  EXPECT_EQ(p.y, 20 + 15 + 24);

  struct Case {
    Transform t;
    bool identity;
  };
  const Case cases[] = {
      {{5, -3, 1, 0, 0, 1}, true},
      {{0, 0, 1 + 1e-14, -1e-14, 1e-14, 1 - 1e-14}, true},
      {{0, 0, 1 + 1e-13, 0, 0, 1}, false},
      {{0, 0, 1, 2e-14, 0, 1}, false},
      {{0, 0, -1, 0, 0, 1}, false},
      {{0, 0, 1, 0, 0, -1}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.t.IsIdentity(), c.identity);
}

}  // namespace
}  // namespace geom
