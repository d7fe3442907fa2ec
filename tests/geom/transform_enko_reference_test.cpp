// TransformEnko against a direct transcription of its definition: the axis
// search evaluated point by point with every rotation taken afresh. The
// production code shares work between points; its results must not differ
// in a single bit.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "geom/func_2.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct P {
  double x, y;
};

P Rot(double th, double vx, double vy) {
  return {std::cos(th) * vx - std::sin(th) * vy, std::sin(th) * vx + std::cos(th) * vy};
}

P MapT(const geom::Transform& t, double X, double Y) { return {t.x + t.r1 * X + t.r2 * Y, t.y + t.r3 * X + t.r4 * Y}; }

// T(E(a)) - Z'
P Image(const geom::Transform& t, double cx, double cy, double r, double b, double tau, double a) {
  P v = Rot(tau, r * std::cos(a), b * std::sin(a));
  P m = MapT(t, cx + v.x, cy + v.y);
  P z = MapT(t, cx, cy);
  return {m.x - z.x, m.y - z.y};
}

double Angle(double dx, double dy) {
  if (std::fabs(dx) < 1e-14 && std::fabs(dy) < 1e-14) return 0;
  double a = std::atan2(dy, dx);
  return a < 0 ? a + 2 * kPi : a;
}

geom::EnkoArc Reference(uint32_t full, double cx, double cy, double r, double f, double s, double w, double tau,
                        const geom::Transform& t) {
  const double b = r * f;
  geom::EnkoArc o;
  P z = MapT(t, cx, cy);
  o.cx = z.x;
  o.cy = z.y;
  bool simple = std::fabs(std::fabs(t.r1) - std::fabs(t.r4)) <= 1e-14 && std::fabs(t.r2) <= 1e-14 &&
                std::fabs(t.r3) <= 1e-14;
  double tStar = 0;
  if (!simple) {
    double best = 0, tt = 0, k = 1;
    for (int pass = 0; pass < 16; ++pass) {
      for (int i = 0; i < (pass == 0 ? 11 : 21); ++i) {
        P d = Image(t, cx, cy, r, b, tau, tt);
        double dist = std::sqrt(d.x * d.x + d.y * d.y);
        if (dist > best) {
          best = dist;
          tStar = tt;
        }
        tt = tt + kPi / 10 * k;
      }
      tt = tStar - kPi / 10 * k;
      k = k / 10;
    }
  }
  P p = Image(t, cx, cy, r, b, tau, tStar);
  o.r = std::sqrt(p.x * p.x + p.y * p.y);
  o.tau = Angle(p.x, p.y);
  P q;
  if (simple) {
    P v = Rot(tau, 0, b);
    P m = MapT(t, cx + v.x, cy + v.y);
    q = {m.x - z.x, m.y - z.y};
  } else {
    q = Image(t, cx, cy, r, b, tau, tStar + kPi / 2);
  }
  P uv = Rot(-o.tau, q.x, q.y);
  double d = std::sqrt(std::fabs(o.r * o.r - uv.x * uv.x));
  if (d < 1e-12) d = 1e-12;
  o.f = std::fabs(uv.y) / d;
  if (full == 1) {
    o.s = s;
    o.w = w;
    return o;
  }
  double a0 = w >= 0 ? s : s + w, a1 = w >= 0 ? s + w : s, am = s + w / 2;
  auto param = [&](double a) {
    P pp = Image(t, cx, cy, r, b, tau, a);
    P e = Rot(-o.tau, pp.x, pp.y);
    return Angle(e.x, e.y / o.f);
  };
  double e0 = param(a0), e1 = param(a1), em = param(am);
  auto pos = [](double v) { return v < 0 ? v + 2 * kPi : v; };
  if (pos(e1 - e0) >= pos(em - e0)) {
    o.s = e0;
    o.w = pos(e1 - e0);
  } else {
    o.s = e1;
    o.w = pos(e0 - e1);
  }
  return o;
}

}  // namespace

TEST(TransformEnkoReference, BitForBitOnRandomArcsAndMaps) {
  std::mt19937_64 rng(777);
  auto unit = [&] { return static_cast<double>(rng() >> 11) * 0x1.0p-53; };
  for (int i = 0; i < 3000; ++i) {
    double rot = (unit() - 0.5) * 8, sx = (unit() - 0.3) * 4, sy = (unit() - 0.3) * 4;
    if (i % 5 == 0) sy = sx;           // uniform scales, mirrored or not
    if (i % 7 == 0) rot = 0;
    geom::Transform t{(unit() - 0.5) * 1000, (unit() - 0.5) * 1000, std::cos(rot) * sx, -std::sin(rot) * sy,
                      std::sin(rot) * sx, std::cos(rot) * sy};
    double cx = (unit() - 0.5) * 500, cy = (unit() - 0.5) * 500, r = unit() * 100, f = unit() * 2;
    double s = (unit() - 0.5) * 10, w = (unit() - 0.5) * 14, tau = (unit() - 0.5) * 10;
    uint32_t full = static_cast<uint32_t>(rng() % 3);
    geom::EnkoArc a = geom::TransformEnko(full, cx, cy, r, f, s, w, tau, t);
    geom::EnkoArc b = Reference(full, cx, cy, r, f, s, w, tau, t);
    ASSERT_EQ(a.cx, b.cx) << i;
    ASSERT_EQ(a.cy, b.cy) << i;
    ASSERT_EQ(a.r, b.r) << i;
    ASSERT_EQ(a.tau, b.tau) << i;
    ASSERT_EQ(a.f, b.f) << i;
    ASSERT_EQ(a.s, b.s) << i;
    ASSERT_EQ(a.w, b.w) << i;
  }
}
