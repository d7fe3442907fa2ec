#include "trim/file_conv.h"

#include <cmath>

#include "geom/func_2.h"
#include "jww/jww_strings.h"

namespace trim {

using namespace jww;

namespace {

constexpr int kProgressEvery = 100;

bool Out(int32_t clipResult) { return clipResult == 2; }

bool SegOut(double x1, double y1, double x2, double y2, const Frame& fr) {
  return Out(ClipSenCheck(x1, y1, x2, y2, fr));
}
bool SegOut(const geom::DPoint& a, const geom::DPoint& b, const Frame& fr) {
  return SegOut(a.x, a.y, b.x, b.y, fr);
}

bool LineOut(const TEntJwwLine& e, const Frame& fr) {
  return SegOut(e.start_x, e.start_y, e.end_x, e.end_y, fr);
}

double BoxHeight(const TEntJwwMoji& e) { return (e.att.sFlg & 0x20) ? e.dSizeX : e.dSizeY; }

bool MojiBoxOut(const TEntJwwMoji& e, const Frame& fr) {
  return Out(ClipMojiCheck(e.start_x, e.start_y, e.end_x, e.end_y, BoxHeight(e), fr));
}

bool MojiOut(const TEntJwwMoji& e, const Frame& fr) {
  if (e.str.starts_with(u"^@BM"))
    return Out(ClipImageCheck(e.str, e.start_x, e.start_y, e.end_x, e.end_y, BoxHeight(e), fr));
  return MojiBoxOut(e, fr);
}

bool SunpoOut(const TEntJwwSunpo& e, const Frame& fr) {
  if (!LineOut(e.Sen, fr) || !MojiBoxOut(e.Moji, fr)) return false;
  return e.bSxfMode == 0 || (LineOut(e.Ho1, fr) && LineOut(e.Ho2, fr));
}

bool Same(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) < 1e-14 && std::fabs(y1 - y2) < 1e-14;
}

bool PlainSolidOut(const TEntJwwSolid& e, const Frame& fr) {
  const double x1 = e.start_x, y1 = e.start_y, x2 = e.end_x, y2 = e.end_y;
  const double x3 = e.DPoint2_x, y3 = e.DPoint2_y, x4 = e.DPoint3_x, y4 = e.DPoint3_y;
  if (Same(x2, y2, x3, y3)) return SegOut(x1, y1, x2, y2, fr);
  if (Same(x3, y3, x4, y4))
    return SegOut(x1, y1, x2, y2, fr) && SegOut(x2, y2, x3, y3, fr) && SegOut(x3, y3, x1, y1, fr);
  return SegOut(x1, y1, x2, y2, fr) && SegOut(x2, y2, x3, y3, fr) && SegOut(x3, y3, x4, y4, fr) &&
         SegOut(x4, y4, x1, y1, fr);
}

// One arc of an arc solid with its end points and apex.
struct SolidArc {
  double r, f;
  geom::DPoint ps, pe, apex;
};

SolidArc ArcOf(const TEntJwwSolid& e, double r, double f) {
  SolidArc a{r, f, {}, {}, {}};
  geom::ArcEndPoints(e.start_x, e.start_y, r, f, e.DPoint2_y, e.DPoint3_x, e.DPoint2_x, a.ps, a.pe, a.apex);
  return a;
}

bool ArcOut(const TEntJwwSolid& e, int32_t full, double r, double f, const Frame& fr) {
  return Out(ClipEnkoCheck(full, e.start_x, e.start_y, r, f, e.DPoint2_y, e.DPoint3_x, e.DPoint2_x, fr));
}

bool ArcSolidOut(const TEntJwwSolid& e, const Frame& fr) {
  const uint8_t style = e.att.nPenStyle;
  const double mode = std::trunc(e.DPoint3_y);
  const geom::DPoint c{e.start_x, e.start_y};
  if (style == 111) return ArcOut(e, mode != 0 ? 1 : 0, e.end_x, e.end_y, fr);
  if (style == 101) {
    if (mode == 100) return ArcOut(e, 1, e.end_x, e.end_y, fr);
    if (!ArcOut(e, 0, e.end_x, e.end_y, fr)) return false;
    SolidArc a = ArcOf(e, e.end_x, e.end_y);
    if (mode == 0) return SegOut(c, a.ps, fr) && SegOut(c, a.pe, fr);
    if (mode == 5) return SegOut(a.ps, a.pe, fr);
    return SegOut(a.apex, a.ps, fr) && SegOut(a.apex, a.pe, fr);
  }
  // Rings: 105, 106 and every other arc-solid style.
  const double r2 = e.DPoint3_y;
  const double f2 = style == 106 ? (e.end_x * e.end_y - e.end_x) / r2 + 1 : e.end_y;
  if (!ArcOut(e, 0, e.end_x, e.end_y, fr) || !ArcOut(e, 0, r2, f2, fr)) return false;
  SolidArc outer = ArcOf(e, e.end_x, e.end_y);
  SolidArc inner = ArcOf(e, r2, f2);
  return SegOut(outer.ps, inner.ps, fr) && SegOut(outer.pe, inner.pe, fr);
}

bool SolidOut(const TEntJwwSolid& e, const Frame& fr) {
  return e.att.nPenStyle < 101 ? PlainSolidOut(e, fr) : ArcSolidOut(e, fr);
}

template <class V>
const typename V::value_type* Row(const V& v, int32_t count, int32_t k) {
  if (k < 0 || k >= count || static_cast<size_t>(k) >= v.size()) return nullptr;
  return &v[k];
}

JString Decimal(int64_t v) { return Ascii(std::to_string(v).c_str()); }

}  // namespace

PaperMm PaperSize(int32_t nZumen) {
  static const PaperMm kPapers[15] = {{1189, 841}, {841, 594},  {594, 420},   {420, 297},    {297, 210},
                                    {1189, 841}, {1189, 841}, {1189, 841},  {1682, 1189},  {2378, 1682},
                                    {3364, 2378}, {4756, 3364}, {10000, 7073}, {50000, 35366}, {100000, 70732}};
  return (nZumen >= 0 && nZumen <= 14) ? kPapers[nZumen] : kPapers[0];
}

Frame PaperFrame(int32_t nZumen) {
  PaperMm p = PaperSize(nZumen);
  return Frame{-p.w / 2 - 1e-8, -p.h / 2 - 1e-8, p.w / 2 + 1e-8, p.h / 2 + 1e-8};
}

bool IsOutside(const TJwwData& d, const TEntJwwNo& row, const Frame& fr) {
  const int32_t k = row.EntNo;
  switch (row.EntType) {
    case kEntLine: {
      auto* e = Row(d.EntLine, d.EntLineN, k);
      return e && LineOut(*e, fr);
    }
    case kEntEnko: {
      auto* e = Row(d.EntEnko, d.EntEnkoN, k);
      return e && Out(ClipEnkoCheck(static_cast<int32_t>(e->bZenEnFlg), e->start_x, e->start_y, e->dHankei,
                                    e->dHenpeiRitsu, e->radKaishiKaku, e->radEnkoKaku, e->radKatamukiKaku, fr));
    }
    case kEntTen: {
      auto* e = Row(d.EntTen, d.EntTenN, k);
      return e && Out(ClipTenCheck(e->start_x, e->start_y, fr));
    }
    case kEntMoji: {
      auto* e = Row(d.EntMoji, d.EntMojiN, k);
      return e && MojiOut(*e, fr);
    }
    case kEntSunpo: {
      auto* e = Row(d.EntSunpo, d.EntSunpoN, k);
      return e && SunpoOut(*e, fr);
    }
    case kEntSolid: {
      auto* e = Row(d.EntSolid, d.EntSolidN, k);
      return e && SolidOut(*e, fr);
    }
    case kEntBlock:
      return true;  // left only when the explosion stopped early
    default:
      return false;
  }
}

bool FileConv(TJwwData& d, const StatusFn& status, std::string* why, TrimObserver* observer) {
  if (observer) observer->Read(d);
  if (status) status(u"ブロック分解中です");
  // A drawing without its blocks is not the drawing: a refused or failed
  // explosion fails the conversion.
  if (!d.BlockExplode(why)) return false;
  const Frame fr = PaperFrame(d.Enthd.nZumen);
  if (observer) observer->Exploded(d, fr);
  const int32_t n = d.Enthd.n1;
  const int32_t rows = std::min<int64_t>(n, static_cast<int64_t>(d.EntNo.size()));
  for (int32_t i = 0; i < rows; ++i) {
    if (i % kProgressEvery == 0 && status)
      status(u"ファイル変換中です（" + Decimal(int64_t{i} + 1) + u"／" + Decimal(n) + u"）");
    TEntJwwNo& row = d.EntNo[i];
    if (row.EntNo < 0 || row.EntType < 1 || row.EntType > 7) continue;
    const bool outside = IsOutside(d, row, fr);
    if (observer) observer->Row(d, row, outside);
    if (outside) row.EntType = 0;
  }
  d.EntBlockN = 0;
  if (observer) observer->Trimmed(d);
  return true;
}

}  // namespace trim
