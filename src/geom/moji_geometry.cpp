#include "geom/moji_geometry.h"

#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "jww/jww_strings.h"

namespace geom {

using jww::JString;

namespace {

constexpr double kPi = std::numbers::pi;

// Sizes and spacing are kept to 4 decimals; sizes never vanish.
double RoundSpacing(double v) { return RoundDigits(v, 4, 2); }
double RoundSize(double v) {
  const double r = RoundDigits(v, 4, 2);
  return r < 0.0001 ? 0.0001 : r;
}

bool IsFullWidthLead(uint8_t c) {
  return (c >= 0x80 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFD);
}

// Distance of T(s + len * (cos th, sin th)) from the mapped s.
double MappedLength(const Transform& t, const DPoint& s, const DPoint& sm,
                    double len, double th) {
  const DPoint p = t.Map(s.x + len * std::cos(th), s.y + len * std::sin(th));
  return PointDistance(p.x, p.y, sm.x, sm.y);
}

}  // namespace

double MojiWidth(const JString& s, double size, double spacing) {
  const std::string b = jww::EncodeAnsiBytes(s);
  double w = 0;
  size_t i = 0;
  while (i < b.size()) {
    const bool full = IsFullWidthLead(static_cast<uint8_t>(b[i]));
    w = w + (full ? size : size / 2);
    i += full ? 2 : 1;
    if (i < b.size()) w = w + (full ? spacing : spacing / 2);
  }
  return w;
}

MojiPlace TransformMoji(uint32_t kind, const DPoint& s, const DPoint& e,
                        double along, double across, double spacing,
                        const Transform& t) {
  MojiPlace out{t.Map(s), t.Map(e), along, across, spacing, kind};
  if (!t.IsIdentity()) {
    const double th = VectorAngle(e.x - s.x, e.y - s.y);
    out.along = MappedLength(t, s, out.s, along, th);
    out.spacing = MappedLength(t, s, out.s, spacing, th);
    const double n = th + kPi / 2;
    const DPoint h = t.Map(s.x + across * std::cos(n), s.y + across * std::sin(n));
    out.across = PointLineDistance(out.s.x, out.s.y, out.e.x, out.e.y, h.x, h.y);
    if (t.r1 * t.r4 < 0) std::swap(out.s, out.e);
    out.kind = kind - kind % 1000;
  }
  out.along = RoundSize(out.along);
  out.across = RoundSize(out.across);
  out.spacing = RoundSpacing(out.spacing);
  return out;
}

MojiPlace TransformSunpoMoji(uint32_t kind, const JString& text, const DPoint& s,
                             const DPoint& e, double along, double across,
                             double spacing, const Transform& t) {
  MojiPlace out = TransformMoji(kind, s, e, along, across, spacing, t);
  if (t.IsIdentity()) return out;
  const DPoint m{(out.s.x + out.e.x) / 2, (out.s.y + out.e.y) / 2};
  const double phi = VectorAngle(out.e.x - out.s.x, out.e.y - out.s.y);
  const double h = MojiWidth(text, out.along, out.spacing) / 2;
  out.s = {m.x + h * std::cos(phi + kPi), m.y + h * std::sin(phi + kPi)};
  out.e = {m.x + h * std::cos(phi), m.y + h * std::sin(phi)};
  return out;
}

bool IsVerticalMoji(const jww::TEntJwwMoji& m) { return (m.att.sFlg & 0x20) != 0; }

bool IsImageMoji(const JString& str) {
  return str.starts_with(u"^@BM") && str.find(u',') != JString::npos;
}

MojiPlace MojiPlaceOf(const jww::TEntJwwMoji& m) {
  const bool v = IsVerticalMoji(m);
  return {{m.start_x, m.start_y},
          {m.end_x, m.end_y},
          v ? m.dSizeY : m.dSizeX,
          v ? m.dSizeX : m.dSizeY,
          m.dKankaku,
          m.nMojiShu};
}

void StoreMojiPlace(jww::TEntJwwMoji& m, const MojiPlace& p) {
  const bool v = IsVerticalMoji(m);
  m.start_x = p.s.x;
  m.start_y = p.s.y;
  m.end_x = p.e.x;
  m.end_y = p.e.y;
  m.nMojiShu = p.kind;
  m.dSizeX = v ? p.across : p.along;
  m.dSizeY = v ? p.along : p.across;
  m.dKankaku = p.spacing;
}

}  // namespace geom
