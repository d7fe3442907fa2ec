#include "trim/clip_unit.h"

#include <cmath>
#include <numbers>

#include "geom/func_2.h"
#include "geom/moji_geometry.h"

namespace trim {

using jww::JString;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Sweeps beyond this many turns wind round the whole ellipse anyway; they
// (and non-finite sweeps) are tested as full ellipses so that reducing them
// turn by turn stays bounded.
constexpr double kMaxSweepTurns = 65536;

// Moves one end point onto the edges its code names, each edge once, in the
// order left, right, bottom, top. The intersections are taken from the
// unmoved first end point (ox, oy) and the direction (dx, dy).
void ClipEnd(double& x, double& y, int32_t code, double ox, double oy,
             double dx, double dy, const Frame& fr) {
  if ((code & 1) != 0 && std::fabs(dx) > 1e-12) {
    x = fr.xmin;
    y = (fr.xmin - ox) * dy / dx + oy;
    code = ClipOutCode(x, y, fr);
  }
  if ((code & 2) != 0 && std::fabs(dx) > 1e-12) {
    x = fr.xmax;
    y = (fr.xmax - ox) * dy / dx + oy;
    code = ClipOutCode(x, y, fr);
  }
  if ((code & 4) != 0 && std::fabs(dy) > 1e-12) {
    y = fr.ymin;
    x = (fr.ymin - oy) * dx / dy + ox;
    code = ClipOutCode(x, y, fr);
  }
  if ((code & 8) != 0 && std::fabs(dy) > 1e-12) {
    y = fr.ymax;
    x = (fr.ymax - oy) * dx / dy + ox;
  }
}

double NormalizedSweep(int32_t full, double sweep) {
  if (full != 0) return kTwoPi;
  double a = sweep;
  if (!std::isfinite(a) || std::fabs(a) > kTwoPi * kMaxSweepTurns) return kTwoPi;
  while (a < -kTwoPi) a = a + kTwoPi;
  while (a > kTwoPi) a = a - kTwoPi;
  if (std::fabs(a) < 1e-14 || std::fabs(a - kTwoPi) < 1e-14) a = kTwoPi;
  return a;
}

geom::DPoint EllipsePoint(double cx, double cy, double r, double f, double th,
                          double tilt) {
  const double x = r * std::cos(th);
  const double y = r * f * std::sin(th);
  return {geom::RotateX(x, y, 0, 0, tilt) + cx,
          geom::RotateY(x, y, 0, 0, tilt) + cy};
}

// The points of one arc, with the tilt's cosine and sine taken once: the
// same values, in the same expressions, as EllipsePoint.
class ArcPoints {
 public:
  ArcPoints(double cx, double cy, double r, double f, double tilt)
      : cx_(cx), cy_(cy), r_(r), f_(f), c_(std::cos(tilt)), s_(std::sin(tilt)) {}
  geom::DPoint At(double th) const {
    const double x = r_ * std::cos(th);
    const double y = r_ * f_ * std::sin(th);
    return {0 + c_ * (x - 0) - s_ * (y - 0) + cx_, 0 + s_ * (x - 0) + c_ * (y - 0) + cy_};
  }

 private:
  double cx_, cy_, r_, f_, c_, s_;
};

// Shortcuts of the 72-chord arc test that provably give its answer. The
// margin dwarfs both the 1e-12 tolerance of the region codes and the rounding
// of coordinates up to 1e8, so no chord can fall into the tolerance band.
constexpr double kShortcutMargin = 1e-6;
constexpr double kShortcutLimit = 1e8;

bool Moderate(double v) { return std::fabs(v) < kShortcutLimit; }

bool FrameModerate(const Frame& fr) {
  return Moderate(fr.xmin) && Moderate(fr.xmax) && Moderate(fr.ymin) && Moderate(fr.ymax);
}

// A first chord that starts well inside the frame is never wholly outside:
// it either ends inside or is clipped to a point far from its start.
bool WellInside(const geom::DPoint& p, const Frame& fr) {
  if (!FrameModerate(fr) || !Moderate(p.x) || !Moderate(p.y)) return false;
  return p.x - fr.xmin > kShortcutMargin && fr.xmax - p.x > kShortcutMargin &&
         p.y - fr.ymin > kShortcutMargin && fr.ymax - p.y > kShortcutMargin;
}

// An ellipse that lies wholly and well inside has its first point well
// inside, whatever the start angle.
bool WhollyWellInside(double cx, double cy, double reach, const Frame& fr) {
  reach = reach * (1 + 1e-9);
  if (!FrameModerate(fr) || !Moderate(cx) || !Moderate(cy) || !Moderate(reach)) return false;
  return cx - reach - fr.xmin > kShortcutMargin && fr.xmax - (cx + reach) > kShortcutMargin &&
         cy - reach - fr.ymin > kShortcutMargin && fr.ymax - (cy + reach) > kShortcutMargin;
}

// An ellipse that lies wholly beyond one edge puts both ends of every chord
// beyond that edge, provided the chord points are points at all: a start or
// tilt that is not finite makes every point NaN, which no edge excludes.
bool WhollyBeyondOneEdge(double cx, double cy, double reach, double start, double tilt, const Frame& fr) {
  reach = reach * (1 + 1e-9);
  if (!std::isfinite(start) || !std::isfinite(tilt)) return false;
  if (!FrameModerate(fr) || !Moderate(cx) || !Moderate(cy) || !Moderate(reach)) return false;
  return cx + reach < fr.xmin - kShortcutMargin || cx - reach > fr.xmax + kShortcutMargin ||
         cy + reach < fr.ymin - kShortcutMargin || cy - reach > fr.ymax + kShortcutMargin;
}

bool Outside(const geom::DPoint& a, const geom::DPoint& b, const Frame& fr) {
  return ClipSenCheck(a.x, a.y, b.x, b.y, fr) == 2;
}

// Box with corner k0, side w along angle th and side h square to it:
// k0, k1, k2, k3 round the box.
std::array<geom::DPoint, 4> BoxCorners(geom::DPoint k0, double w, double h, double th) {
  const double ux = std::cos(th), uy = std::sin(th);
  const double nx = std::cos(th + kPi / 2), ny = std::sin(th + kPi / 2);
  const geom::DPoint k1{k0.x + w * ux, k0.y + w * uy};
  const geom::DPoint k3{k0.x + h * nx, k0.y + h * ny};
  const geom::DPoint k2{k1.x + h * nx, k1.y + h * ny};
  return {k0, k1, k2, k3};
}

int32_t ClipBox(const std::array<geom::DPoint, 4>& k, const Frame& fr) {
  if (!Outside(k[0], k[1], fr) || !Outside(k[0], k[3], fr) || !Outside(k[1], k[2], fr) ||
      !Outside(k[3], k[2], fr))
    return 0;
  return 2;
}

// The text up to its first comma (all of it when it has none).
JString Head(const JString& s) { return s.substr(0, s.find(u',')); }
// The text after its first comma; only called when it has one.
JString Tail(const JString& s) { return s.substr(s.find(u',') + 1); }
bool HasComma(const JString& s) { return s.find(u',') != JString::npos; }

// Size and angle fields of an image reference: width, height ratio, degrees.
struct ImageBox {
  double w = 0, q = 1, deg = 0;
};

ImageBox ReadImageBox(const JString& str) {
  ImageBox box;
  JString rest = Tail(str);
  if (!HasComma(rest)) {
    box.w = geom::StrToFloatZero(rest);
    return box;
  }
  box.w = geom::StrToFloatZero(Head(rest));
  if (std::fabs(box.w) <= 1e-14) box.w = 100;
  rest = Tail(rest);
  box.q = geom::StrToFloatZero(Head(rest)) / box.w;
  if (!HasComma(rest)) return box;
  rest = Tail(rest);
  for (int i = 0; i < 3; ++i) {
    if (!HasComma(rest)) return box;
    rest = Tail(rest);
  }
  box.deg = geom::StrToFloatZero(Head(rest));
  return box;
}

}  // namespace

int32_t ClipOutCode(double x, double y, const Frame& fr) {
  int32_t code = 0;
  if (x - fr.xmin < 1e-12) code |= 1;
  if (x - fr.xmax > -1e-12) code |= 2;
  if (y - fr.ymin < 1e-12) code |= 4;
  if (y - fr.ymax > -1e-12) code |= 8;
  return code;
}

int32_t ClipTenCheck(double x, double y, const Frame& fr) {
  return ClipOutCode(x, y, fr) != 0 ? 2 : 0;
}

int32_t ClipSen(double& x1, double& y1, double& x2, double& y2, const Frame& fr) {
  const int32_t c1 = ClipOutCode(x1, y1, fr);
  const int32_t c2 = ClipOutCode(x2, y2, fr);
  if (c1 == 0 && c2 == 0) return 0;
  if ((c1 & c2) != 0) return 2;
  const double ox = x1, oy = y1;
  const double dx = x2 - x1, dy = y2 - y1;
  ClipEnd(x1, y1, c1, ox, oy, dx, dy, fr);
  ClipEnd(x2, y2, c2, ox, oy, dx, dy, fr);
  if (std::fabs(x1 - x2) < 1e-12 && std::fabs(y1 - y2) < 1e-12) return 2;
  return 1;
}

int32_t ClipSenCheck(double x1, double y1, double x2, double y2, const Frame& fr) {
  return ClipSen(x1, y1, x2, y2, fr);
}

double EnkoSweep(int32_t full, double sweep) { return NormalizedSweep(full, sweep); }

geom::DPoint EnkoPoint(double cx, double cy, double r, double f, double th, double tilt) {
  return EllipsePoint(cx, cy, r, f, th, tilt);
}

std::vector<geom::DPoint> EnkoChordPoints(int32_t full, double cx, double cy, double r, double f, double start,
                                          double sweep, double tilt) {
  const double step = NormalizedSweep(full, sweep) / 72;
  std::vector<geom::DPoint> pts;
  pts.reserve(73);
  double th = start;
  pts.push_back(EllipsePoint(cx, cy, r, f, th, tilt));
  for (int i = 1; i <= 72; ++i) {
    th = th + step;
    pts.push_back(EllipsePoint(cx, cy, r, f, th, tilt));
  }
  return pts;
}

int32_t ClipEnkoCheckPlain(int32_t full, double cx, double cy, double r, double f,
                           double start, double sweep, double tilt, const Frame& fr) {
  const std::vector<geom::DPoint> pts = EnkoChordPoints(full, cx, cy, r, f, start, sweep, tilt);
  for (size_t i = 1; i < pts.size(); ++i)
    if (!Outside(pts[i - 1], pts[i], fr)) return 0;
  return 2;
}

int32_t ClipEnkoCheck(int32_t full, double cx, double cy, double r, double f,
                      double start, double sweep, double tilt, const Frame& fr) {
  // No point of the ellipse lies farther than this from its centre.
  const double reach = std::fabs(r) + std::fabs(r * f);
  if (WhollyWellInside(cx, cy, reach, fr)) return 0;
  if (WhollyBeyondOneEdge(cx, cy, reach, start, tilt, fr)) return 2;
  const ArcPoints arc(cx, cy, r, f, tilt);
  geom::DPoint prev = arc.At(start);
  if (WellInside(prev, fr)) return 0;
  const double step = NormalizedSweep(full, sweep) / 72;
  double th = start;
  for (int i = 1; i <= 72; ++i) {
    th = th + step;
    const geom::DPoint p = arc.At(th);
    if (!Outside(prev, p, fr)) return 0;
    prev = p;
  }
  return 2;
}

std::array<geom::DPoint, 4> MojiBoxCorners(double x1, double y1, double x2, double y2, double h) {
  const double th = geom::VectorAngle(x2 - x1, y2 - y1) + kPi / 2;
  const geom::DPoint p1{x1, y1}, p2{x2, y2};
  const geom::DPoint p3{x1 + h * std::cos(th), y1 + h * std::sin(th)};
  const geom::DPoint p4{x2 + h * std::cos(th), y2 + h * std::sin(th)};
  return {p1, p2, p3, p4};
}

int32_t ClipMojiCheck(double x1, double y1, double x2, double y2, double h,
                      const Frame& fr) {
  if (ClipSenCheck(x1, y1, x2, y2, fr) != 2) return 0;
  const auto [p1, p2, p3, p4] = MojiBoxCorners(x1, y1, x2, y2, h);
  if (!Outside(p1, p3, fr) || !Outside(p2, p4, fr) || !Outside(p3, p4, fr))
    return 0;
  return 2;
}

bool ImageBoxCorners(const JString& str, double x1, double y1, std::array<geom::DPoint, 4>& corners) {
  if (!HasComma(str)) return false;
  const ImageBox box = ReadImageBox(str);
  const double th = box.deg / 180 * kPi;
  corners = BoxCorners({x1, y1}, box.w, box.w * box.q, th);
  return true;
}

int32_t ClipImageCheck(const JString& str, double x1, double y1, double x2,
                       double y2, double h, const Frame& fr) {
  std::array<geom::DPoint, 4> k;
  if (!ImageBoxCorners(str, x1, y1, k)) return ClipMojiCheck(x1, y1, x2, y2, h, fr);
  return ClipBox(k, fr);
}

}  // namespace trim
