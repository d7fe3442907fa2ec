#include "geom/func_2.h"

#include <cmath>
#include <numbers>

namespace geom {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Turns the vector (vx, vy) by th about the origin.
DPoint Turn(double vx, double vy, double th) {
  const double c = std::cos(th);
  const double s = std::sin(th);
  return {c * vx - s * vy, s * vx + c * vy};
}

}  // namespace

bool Transform::IsIdentity() const {
  return std::fabs(r1 - 1) <= 1e-14 && std::fabs(r2) <= 1e-14 &&
         std::fabs(r3) <= 1e-14 && std::fabs(r4 - 1) <= 1e-14;
}

double VectorAngle(double dx, double dy) {
  if (std::fabs(dx) < 1e-14 && std::fabs(dy) < 1e-14) return 0;
  double a = std::atan2(dy, dx);
  if (a < 0) a = a + kTwoPi;
  return a;
}

double RotateX(double X, double Y, double cx, double cy, double th) {
  return cx + std::cos(th) * (X - cx) - std::sin(th) * (Y - cy);
}

double RotateY(double X, double Y, double cx, double cy, double th) {
  return cy + std::sin(th) * (X - cx) + std::cos(th) * (Y - cy);
}

double PointDistance(double x1, double y1, double x2, double y2) {
  const double dx = x1 - x2;
  const double dy = y1 - y2;
  return std::sqrt(dx * dx + dy * dy);
}

bool SamePoint(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) <= 1e-12 && std::fabs(y1 - y2) <= 1e-12;
}

double RoundDigits(double v, int32_t digits, int32_t mode) {
  static constexpr double kFactor[10] = {1,   1e1, 1e2, 1e3, 1e4,
                                         1e5, 1e6, 1e7, 1e8, 1e9};
  const double factor = (digits >= 1 && digits <= 9) ? kFactor[digits] : 1;
  const double a = std::fabs(v) * factor;
  double n;
  if (mode == 0) {
    n = std::trunc(a);
  } else if (mode == 1) {
    n = std::trunc(a + 0.9999999999);
  } else {
    n = std::trunc(a + 0.5);
  }
  const double r = n / factor;
  return v < 0 ? -r : r;
}

void SwapValues(double& a, double& b) {
  const double t = a;
  a = b;
  b = t;
}

double PointLineDistance(double x1, double y1, double x2, double y2, double px,
                         double py) {
  const double th = VectorAngle(x2 - x1, y2 - y1);
  return std::fabs(RotateY(px, py, x1, y1, -th) - y1);
}

bool WithinSegmentSpan(double x1, double y1, double x2, double y2, double px,
                       double py, double& offset) {
  const double th = VectorAngle(x2 - x1, y2 - y1);
  const double u = RotateX(px, py, x1, y1, -th);
  const double v = RotateX(x2, y2, x1, y1, -th);
  offset = RotateY(px, py, x1, y1, -th) - y1;
  return x1 - 1e-12 <= u && u <= v + 1e-12;
}

int32_t LineIntersection(const DPoint& a1, const DPoint& a2, const DPoint& b1,
                         const DPoint& b2, DPoint& p) {
  const bool steepA = std::fabs(a1.x - a2.x) <= 1e-10;
  const bool steepB = std::fabs(b1.x - b2.x) <= 1e-10;
  if (steepA && steepB) return 0;
  double X, Y;
  if (steepA) {
    const double mB = (b2.y - b1.y) / (b2.x - b1.x);
    X = a1.x;
    Y = b1.y + (a1.x - b1.x) * mB;
  } else if (steepB) {
    const double mA = (a2.y - a1.y) / (a2.x - a1.x);
    X = b1.x;
    Y = a1.y + (b1.x - a1.x) * mA;
  } else {
    const double mA = (a2.y - a1.y) / (a2.x - a1.x);
    const double mB = (b2.y - b1.y) / (b2.x - b1.x);
    const double cA = a1.y - mA * a1.x;
    const double cB = b1.y - mB * b1.x;
    if (std::fabs(mA - mB) <= 1e-10) return 0;
    X = (cB - cA) / (mA - mB);
    Y = mA * X + cA;
  }
  p = {X, Y};
  double offset;
  const bool onA = WithinSegmentSpan(a1.x, a1.y, a2.x, a2.y, X, Y, offset);
  const bool onB = WithinSegmentSpan(b1.x, b1.y, b2.x, b2.y, X, Y, offset);
  return (onA && onB) ? 1 : 2;
}

void ArcEndPoints(double cx, double cy, double r, double f, double s, double w,
                  double tau, DPoint& start, DPoint& end, DPoint& apex) {
  const DPoint p1{r * std::cos(s), r * f * std::sin(s)};
  const DPoint p2{r * std::cos(s + w), r * f * std::sin(s + w)};
  const DPoint t1{p1.x + r * std::cos(s + kPi / 2),
                  p1.y + r * f * std::sin(s + kPi / 2)};
  const DPoint t2{p2.x + r * std::cos(s + w - kPi / 2),
                  p2.y + r * f * std::sin(s + w - kPi / 2)};
  DPoint a;
  if (LineIntersection(p1, t1, p2, t2, a) == 0) a = {0, 0};
  auto place = [&](const DPoint& q) {
    return DPoint{RotateX(q.x, q.y, 0, 0, tau) + cx,
                  RotateY(q.x, q.y, 0, 0, tau) + cy};
  };
  start = place(p1);
  end = place(p2);
  apex = place(a);
}

namespace {

// The source ellipse arc, its image under a transform and the distances the
// axis search works with.
class EnkoMapper {
 public:
  EnkoMapper(double cx, double cy, double r, double f, double tau,
             const Transform& t)
      : cx_(cx), cy_(cy), r_(r), b_(r * f), cosTau_(std::cos(tau)),
        sinTau_(std::sin(tau)), t_(t), centre_(t.Map(cx, cy)) {}

  const DPoint& Centre() const { return centre_; }
  // T(Z + Rot(tau) * v) - Z'.
  DPoint FromCentre(double vx, double vy) const {
    // Turn(vx, vy, tau) with its cosine and sine taken once per arc: the
    // axis search evaluates hundreds of points of the same ellipse.
    const DPoint d{cosTau_ * vx - sinTau_ * vy, sinTau_ * vx + cosTau_ * vy};
    const DPoint p = t_.Map(cx_ + d.x, cy_ + d.y);
    return {p.x - centre_.x, p.y - centre_.y};
  }
  // Mapped point of parameter a, relative to the new centre.
  DPoint At(double a) const {
    return FromCentre(r_ * std::cos(a), b_ * std::sin(a));
  }
  double Distance(double a) const {
    const DPoint d = At(a);
    return std::sqrt(d.x * d.x + d.y * d.y);
  }
  double MinorB() const { return b_; }

 private:
  double cx_, cy_, r_, b_, cosTau_, sinTau_;
  Transform t_;
  DPoint centre_;
};

// A map that scales both axes alike (mirrored or turned by 180 degrees at
// most) keeps the ellipse's own axes.
bool KeepsAxes(const Transform& t) {
  return std::fabs(std::fabs(t.r1) - std::fabs(t.r4)) <= 1e-14 &&
         std::fabs(t.r2) <= 1e-14 && std::fabs(t.r3) <= 1e-14;
}

// Parameter of the major axis: coarse-to-fine search for the largest mapped
// radius; the first of equal maxima wins.
double SearchMajorAxis(const EnkoMapper& m) {
  constexpr double kStep = kPi / 10;
  double best = 0;
  double tBest = 0;
  double t = 0;
  double k = 1;
  for (int pass = 0; pass < 16; ++pass) {
    const int samples = pass == 0 ? 11 : 21;
    for (int i = 0; i < samples; ++i) {
      const double d = m.Distance(t);
      if (d > best) {
        best = d;
        tBest = t;
      }
      t = t + kStep * k;
    }
    t = tBest - kStep * k;
    k = k / 10;
  }
  return tBest;
}

// New parameter angle of the source parameter a on the mapped ellipse.
double NewParameter(const EnkoMapper& m, double a, double tauNew, double fNew) {
  const DPoint d = m.At(a);
  const DPoint uv = Turn(d.x, d.y, -tauNew);
  return VectorAngle(uv.x, uv.y / fNew);
}

double Positive(double a) { return a < 0 ? a + kTwoPi : a; }

}  // namespace

EnkoArc TransformEnko(uint32_t full, double cx, double cy, double r, double f,
                      double s, double w, double tau, const Transform& t) {
  const EnkoMapper m(cx, cy, r, f, tau, t);
  EnkoArc out;
  out.cx = m.Centre().x;
  out.cy = m.Centre().y;

  const bool simple = KeepsAxes(t);
  const double tMajor = simple ? 0 : SearchMajorAxis(m);
  const DPoint p = m.At(tMajor);
  out.r = std::sqrt(p.x * p.x + p.y * p.y);
  out.tau = VectorAngle(p.x, p.y);

  const DPoint q = simple ? m.FromCentre(0, m.MinorB()) : m.At(tMajor + kPi / 2);
  const DPoint uv = Turn(q.x, q.y, -out.tau);
  double d = std::sqrt(std::fabs(out.r * out.r - uv.x * uv.x));
  if (d < 1e-12) d = 1e-12;
  out.f = std::fabs(uv.y) / d;

  if (full == 1) {
    out.s = s;
    out.w = w;
    return out;
  }
  const double a0 = w >= 0 ? s : s + w;
  const double a1 = w >= 0 ? s + w : s;
  const double am = s + w / 2;
  const double e0 = NewParameter(m, a0, out.tau, out.f);
  const double e1 = NewParameter(m, a1, out.tau, out.f);
  const double em = NewParameter(m, am, out.tau, out.f);
  const double d1 = Positive(e1 - e0);
  const double dm = Positive(em - e0);
  if (d1 >= dm) {
    out.s = e0;
    out.w = Positive(e1 - e0);
  } else {
    out.s = e1;
    out.w = Positive(e0 - e1);
  }
  return out;
}

}  // namespace geom
