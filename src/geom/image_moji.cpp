// Image-reference texts through a block transform: the size fields follow
// the scale, the angle field follows the turn, and the text itself is laid
// horizontally from its start point.
#include <cmath>
#include <numbers>
#include <vector>

#include "geom/moji_geometry.h"

namespace geom {

using jww::JString;

namespace {

constexpr double kPi = std::numbers::pi;

// The parts of an image reference: name and the values of the comma
// separated fields. Form 0 has one field, form 1 width and height, form 2
// all six.
struct ImageRef {
  JString name;
  double w = 0, q = 1, f3 = 0, f4 = 0, f5 = 1, f6 = 0;
  int form = 0;
};

std::vector<JString> SplitFields(const JString& s) {
  std::vector<JString> parts;
  size_t from = 0;
  for (;;) {
    const size_t comma = s.find(u',', from);
    parts.push_back(s.substr(from, comma == JString::npos ? JString::npos : comma - from));
    if (comma == JString::npos) return parts;
    from = comma + 1;
  }
}

ImageRef ParseImageRef(const JString& str) {
  ImageRef ref;
  const size_t comma = str.find(u',');
  ref.name = str.substr(4, comma - 4);
  const std::vector<JString> f = SplitFields(str.substr(comma + 1));
  if (f.size() == 1) {
    ref.w = StrToFloatZero(f[0]);
    return ref;
  }
  ref.w = StrToFloatZero(f[0]);
  if (std::fabs(ref.w) <= 1e-14) ref.w = 100;
  ref.q = StrToFloatZero(f[1]) / ref.w;
  if (f.size() >= 3) ref.f3 = StrToFloatZero(f[2]);
  if (f.size() >= 4) ref.f4 = StrToFloatZero(f[3]);
  if (f.size() >= 5) ref.f5 = StrToFloatZero(f[4]);
  ref.form = f.size() >= 6 ? 2 : 1;
  if (f.size() >= 6) ref.f6 = StrToFloatZero(f[5]);
  return ref;
}

double AtLeastTenThousandth(double v) { return v < 0.0001 ? 0.0001 : v; }

// Builds the new reference string for the mapped placement `out` of the
// text whose old base line ran s -> e.
JString RebuildImageRef(ImageRef ref, const MojiPlace& out, const DPoint& s,
                        const DPoint& e, const Transform& t) {
  const DPoint o = t.Map(0, 0);
  const DPoint wEnd = t.Map(ref.w, 0);
  const double w = AtLeastTenThousandth(
      RoundDigits(PointDistance(o.x, o.y, wEnd.x, wEnd.y), 4, 2));
  const double h = AtLeastTenThousandth(RoundDigits(w * ref.q, 4, 2));
  JString r = u"^@BM" + ref.name + u"," + FormatGeneral(w);
  if (ref.form == 0) return r;
  const double turn = (VectorAngle(out.e.x - out.s.x, out.e.y - out.s.y) -
                       VectorAngle(e.x - s.x, e.y - s.y)) *
                      180 / kPi;
  const double delta = RoundDigits(turn, 2, 2);
  if (std::fabs(delta) > 1e-12) ref.form = 2;
  r += u"," + FormatGeneral(h);
  if (ref.form == 1) return r;
  double f6 = ref.f6 + delta;
  if (f6 < 0) f6 = f6 + 360;
  if (f6 > 360) f6 = f6 - 360;
  return r + u"," + FormatGeneral(ref.f3) + u"," + FormatGeneral(ref.f4) + u"," +
         FormatGeneral(ref.f5) + u"," + FormatGeneral(f6);
}

}  // namespace

void TransformMojiElement(jww::TEntJwwMoji& m, const Transform& t) {
  const MojiPlace in = MojiPlaceOf(m);
  MojiPlace out =
      TransformMoji(in.kind, in.s, in.e, in.along, in.across, in.spacing, t);
  if (IsImageMoji(m.str)) {
    m.str = RebuildImageRef(ParseImageRef(m.str), out, in.s, in.e, t);
    out.e = {out.s.x + MojiWidth(m.str, out.along, out.spacing), out.s.y + 0};
    m.degKakudo = 0;
  } else {
    m.degKakudo = VectorAngle(out.e.x - out.s.x, out.e.y - out.s.y) * 180 / kPi;
  }
  StoreMojiPlace(m, out);
}

}  // namespace geom
