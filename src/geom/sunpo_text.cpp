// Value texts of dimensions carried through a block transform.
#include <cmath>
#include <numbers>

#include "geom/moji_geometry.h"

namespace geom {

using jww::JString;

namespace {

constexpr double kPi = std::numbers::pi;

// Rounding mode from bits 0x0100 (truncate) and 0x0200 (round up); both or
// neither round half up.
int32_t RoundingMode(uint16_t F) {
  const bool down = (F & 0x0100) != 0;
  const bool up = (F & 0x0200) != 0;
  if (down && !up) return 0;
  if (up && !down) return 1;
  return 2;
}

JString StripTrailingZeros(JString s) {
  while (s.find(u'.') != JString::npos && !s.empty() && s.back() == u'0')
    s.pop_back();
  return s;
}

JString NumberText(uint16_t F, int32_t d, double v) {
  if ((F & 0x0040) != 0) {
    const JString g = FormatGrouped(d, v);
    return (F & 0x0080) != 0 ? g : StripTrailingZeros(g);
  }
  if ((F & 0x0080) != 0) return FormatFixed(d, v);
  return FormatGeneral(v);
}

JString Mark(uint16_t G) {
  if ((G & 0x0100) != 0) return u"R";
  if ((G & 0x0200) != 0) return u"\u03C6";
  return u"";
}

}  // namespace

JString MakeSunpoText(uint16_t F, uint16_t G, const DPoint& p, const DPoint& q,
                      const Transform& t, double scale) {
  if (!(scale > 0)) scale = 1;
  const DPoint tp = t.Map(p);
  const DPoint tq = t.Map(q);
  double v = PointDistance(tp.x, tp.y, tq.x, tq.y) * scale;
  if ((F & 0x0010) != 0) v = v / 1000;
  const int32_t d = (F >> 12) % 10;
  v = RoundDigits(v, d, RoundingMode(F));
  JString text = NumberText(F, d, v);
  if ((F & 0x0400) != 0) {
    text = Mark(G) + text;
  } else if ((F & 0x0800) != 0) {
    text = text + Mark(G);
  }
  if ((F & 0x0008) != 0) text = ToFullWidth(text);
  if ((F & 0x0020) != 0) text += (F & 0x0010) != 0 ? u"\uFF4D" : u"mm";
  return text;
}

void TransformSunpoMojiElement(jww::TEntJwwMoji& m, const Transform& t,
                               const DPoint& p, const DPoint& q, double scale) {
  const uint16_t F = m.att.nPenWidth;
  const MojiPlace in = MojiPlaceOf(m);
  MojiPlace out;
  if (!t.IsIdentity() && (F & 0x0002) != 0 && !m.str.starts_with(u"^@BM")) {
    m.str = MakeSunpoText(F, m.att.sFlg, p, q, t, scale);
    out = TransformSunpoMoji(in.kind, m.str, in.s, in.e, in.along, in.across,
                             in.spacing, t);
  } else {
    out = TransformMoji(in.kind, in.s, in.e, in.along, in.across, in.spacing, t);
  }
  StoreMojiPlace(m, out);
  m.degKakudo = VectorAngle(out.e.x - out.s.x, out.e.y - out.s.y) * 180 / kPi;
}

}  // namespace geom
