// Block explosion: every placement in the block tree appends mapped copies of
// its definition's elements as plain top-level elements; afterwards the
// drawing holds no insertions, definitions or tree.
#include <array>
#include <cmath>
#include <new>
#include <numbers>
#include <string>
#include <vector>

#include "geom/func_2.h"
#include "geom/moji_geometry.h"
#include "jww/jww_data.h"
#include "jww/large_pages.h"

namespace jww {

namespace {

using geom::DPoint;
using geom::Transform;

constexpr double kPi = std::numbers::pi;
// A ring arc whose sweep is this close to a whole turn is drawn full.
constexpr double kFullTurn = 6.283185307179576;

void ApplyLayers(TEntJwwAttr& a, bool lf, int32_t l1, int32_t l2) {
  if (lf) return;
  a.nGLayer = static_cast<uint16_t>(l1);
  a.nLayer = static_cast<uint16_t>(l2);
}

void MapLine(TEntJwwLine& e, const Transform& t) {
  DPoint s = t.Map(e.start_x, e.start_y);
  DPoint n = t.Map(e.end_x, e.end_y);
  e.start_x = s.x;
  e.start_y = s.y;
  e.end_x = n.x;
  e.end_y = n.y;
}

// A point that carries a rotation turns with the block: by the direction of
// the mapped +x axis, plus a half turn when the block is mirrored in x.
void MapTen(TEntJwwTen& e, const Transform& t) {
  double X = e.start_x, Y = e.start_y;
  DPoint p = t.Map(X, Y);
  if (e.att.nPenStyle == 100) {
    DPoint q = t.Map(X + 10, Y);
    double a = geom::VectorAngle(q.x - p.x, q.y - p.y);
    if (t.r1 < 0) a = a + kPi;
    e.radKaitenKaku = e.radKaitenKaku + a;
  } else {
    e.nCode = 0;
    e.radKaitenKaku = 0;
    e.dBairitsu = 1.0;
  }
  e.start_x = p.x;
  e.start_y = p.y;
}

void MapEnko(TEntJwwEnko& e, const Transform& t) {
  geom::EnkoArc a = geom::TransformEnko(e.bZenEnFlg, e.start_x, e.start_y, e.dHankei, e.dHenpeiRitsu,
                                        e.radKaishiKaku, e.radEnkoKaku, e.radKatamukiKaku, t);
  e.start_x = a.cx;
  e.start_y = a.cy;
  e.dHankei = a.r;
  e.dHenpeiRitsu = a.f;
  e.radKaishiKaku = a.s;
  e.radEnkoKaku = a.w;
  e.radKatamukiKaku = a.tau;
}

// Arc solids hold an ellipse arc: centre start, radius end_x, flattening
// end_y, tilt DPoint2_x, start DPoint2_y, sweep DPoint3_x.
geom::EnkoArc SolidArc(const TEntJwwSolid& e, uint32_t full, double r, double f, const Transform& t) {
  return geom::TransformEnko(full, e.start_x, e.start_y, r, f, e.DPoint2_y, e.DPoint3_x, e.DPoint2_x, t);
}

void StoreSolidArc(TEntJwwSolid& e, const geom::EnkoArc& a) {
  e.start_x = a.cx;
  e.start_y = a.cy;
  e.end_x = a.r;
  e.end_y = a.f;
  e.DPoint2_x = a.tau;
  e.DPoint2_y = a.s;
  e.DPoint3_x = a.w;
}

void MapRingSolid(TEntJwwSolid& e, const Transform& t, bool constantWidth) {
  double w = e.DPoint3_x;
  uint32_t full = (std::fabs(w) <= 1e-14 || w >= kFullTurn || w <= -kFullTurn) ? 1 : 0;
  double fi = e.end_y;
  if (constantWidth) {
    fi = (e.end_x * e.end_y - e.end_x) / e.DPoint3_y + 1;
    if (fi <= 1e-14) fi = e.end_y;
  }
  geom::EnkoArc inner = SolidArc(e, full, e.DPoint3_y, fi, t);
  geom::EnkoArc outer = SolidArc(e, full, e.end_x, e.end_y, t);
  StoreSolidArc(e, outer);
  e.DPoint3_y = inner.r;
}

void MapSolid(TEntJwwSolid& e, const Transform& t) {
  const uint8_t style = e.att.nPenStyle;
  if (style <= 100) {
    DPoint p1 = t.Map(e.start_x, e.start_y), p2 = t.Map(e.end_x, e.end_y);
    DPoint p3 = t.Map(e.DPoint2_x, e.DPoint2_y), p4 = t.Map(e.DPoint3_x, e.DPoint3_y);
    e.start_x = p1.x; e.start_y = p1.y; e.end_x = p2.x; e.end_y = p2.y;
    e.DPoint2_x = p3.x; e.DPoint2_y = p3.y; e.DPoint3_x = p4.x; e.DPoint3_y = p4.y;
    return;
  }
  const double mode = std::trunc(e.DPoint3_y);
  if (style == 101 || style == 111) {
    uint32_t full = style == 101 ? (mode == 100 ? 1 : 0) : (mode != 0 ? 1 : 0);
    StoreSolidArc(e, SolidArc(e, full, e.end_x, e.end_y, t));
    return;
  }
  // 105, 106, and every other arc-solid style, which the trimming reads as a
  // ring in the manner of 105 as well.
  MapRingSolid(e, t, style == 106);
}

void MapSunpo(TEntJwwSunpo& e, const Transform& t, double scale) {
  const DPoint p{e.Sen.start_x, e.Sen.start_y};
  const DPoint q{e.Sen.end_x, e.Sen.end_y};
  MapLine(e.Sen, t);
  if (e.bSxfMode != 0) {
    MapLine(e.Ho1, t);
    MapLine(e.Ho2, t);
    for (TEntJwwTen* pt : {&e.Te1, &e.Te2, &e.Kt1, &e.Kt2}) MapTen(*pt, t);
  } else {
    for (TEntJwwLine* l : {&e.Ho1, &e.Ho2}) l->start_x = l->start_y = l->end_x = l->end_y = 0;
    for (TEntJwwTen* pt : {&e.Te1, &e.Te2, &e.Kt1, &e.Kt2}) {
      pt->start_x = pt->start_y = 0;
      pt->bKariten = 0;
      pt->nCode = 0;
      pt->radKaitenKaku = 0;
      pt->dBairitsu = 0;
    }
  }
  geom::TransformSunpoMojiElement(e.Moji, t, p, q, scale);
}

// Appends one element and its file-order row; false when storage cannot
// grow, with the counts as they were.
template <class V, class E>
bool Append(TJwwData& d, V& array, int32_t& count, int32_t kind, E&& e) {
  try {
    array.push_back(std::forward<E>(e));
  } catch (const std::bad_alloc&) {
    return false;
  }
  try {
    d.EntNo.push_back(TEntJwwNo{kind, count});
  } catch (const std::bad_alloc&) {
    array.pop_back();
    return false;
  }
  ++count;
  ++d.Enthd.n1;
  return true;
}

// The common course of every worker: copy, map, take the node's layers,
// append.
template <class E, class Map>
bool PlaceCopy(TJwwData& d, std::vector<E>& array, int32_t& count, int32_t kind, const E& e, const Transform& t,
               Map map, bool lf, int32_t l1, int32_t l2) {
  E c = e;
  map(c, t);
  ApplyLayers(c.att, lf, l1, l2);
  return Append(d, array, count, kind, std::move(c));
}

}  // namespace

bool TJwwData::BlockExplodeLine(double bx, double by, double b1, double b2, double b3, double b4,
                                const TEntJwwLine& e, bool lf, int32_t l1, int32_t l2) {
  return PlaceCopy(*this, EntLine, EntLineN, kEntLine, e, {bx, by, b1, b2, b3, b4}, MapLine, lf, l1, l2);
}

bool TJwwData::BlockExplodeEnko(double bx, double by, double b1, double b2, double b3, double b4,
                                const TEntJwwEnko& e, bool lf, int32_t l1, int32_t l2) {
  return PlaceCopy(*this, EntEnko, EntEnkoN, kEntEnko, e, {bx, by, b1, b2, b3, b4}, MapEnko, lf, l1, l2);
}

bool TJwwData::BlockExplodeTen(double bx, double by, double b1, double b2, double b3, double b4,
                               const TEntJwwTen& e, bool lf, int32_t l1, int32_t l2) {
  return PlaceCopy(*this, EntTen, EntTenN, kEntTen, e, {bx, by, b1, b2, b3, b4}, MapTen, lf, l1, l2);
}

bool TJwwData::BlockExplodeMoji(double bx, double by, double b1, double b2, double b3, double b4,
                                const TEntJwwMoji& e, bool lf, int32_t l1, int32_t l2) {
  return PlaceCopy(*this, EntMoji, EntMojiN, kEntMoji, e, {bx, by, b1, b2, b3, b4}, geom::TransformMojiElement, lf,
                   l1, l2);
}

bool TJwwData::BlockExplodeSunpo(double bx, double by, double b1, double b2, double b3, double b4,
                                 const TEntJwwSunpo& e, bool lf, int32_t l1, int32_t l2) {
  // The value text is scaled by the layer group of the definition's own line.
  double scale = 1;
  if (e.Sen.att.nGLayer < EntLgrp.size()) scale = EntLgrp[e.Sen.att.nGLayer].adScale;
  TEntJwwSunpo c = e;
  MapSunpo(c, Transform{bx, by, b1, b2, b3, b4}, scale);
  for (TEntJwwAttr* a : {&c.att, &c.Sen.att, &c.Moji.att, &c.Ho1.att, &c.Ho2.att, &c.Te1.att, &c.Te2.att,
                         &c.Kt1.att, &c.Kt2.att})
    ApplyLayers(*a, lf, l1, l2);
  return Append(*this, EntSunpo, EntSunpoN, kEntSunpo, std::move(c));
}

bool TJwwData::BlockExplodeSolid(double bx, double by, double b1, double b2, double b3, double b4,
                                 const TEntJwwSolid& e, bool lf, int32_t l1, int32_t l2) {
  return PlaceCopy(*this, EntSolid, EntSolidN, kEntSolid, e, {bx, by, b1, b2, b3, b4}, MapSolid, lf, l1, l2);
}

namespace {

template <class V>
bool InRange(const V& v, int32_t count, int32_t i) {
  return i >= 0 && i < count && static_cast<size_t>(i) < v.size();
}

// What the explosion needs of one tree node.
struct Placement {
  int32_t defno;
  bool lf;
  uint16_t l1, l2;
  double x, y, r1, r2, r3, r4;
};

bool Places(const TJwwData& d, const TEntJwwBlockTree& n) {
  return n.defno >= 0 && n.defno < static_cast<int32_t>(d.EntBlockDef.size());
}

Placement PlacementOf(const TEntJwwBlockTree& n) {
  return {n.defno, (n.att.nPenStyle & 0x40) != 0, n.att.nGLayer, n.att.nLayer, n.x, n.y, n.r1, n.r2, n.r3, n.r4};
}

// The placements in tree order; the tree itself, with a name per node, is
// released, so it and the copies never fill memory together.
std::vector<Placement> TakePlacements(TJwwData& d, int32_t nodes) {
  std::vector<Placement> p;
  p.reserve(static_cast<size_t>(nodes));
  for (int32_t k = 0; k < nodes; ++k)
    if (Places(d, d.EntBlockTree[k])) p.push_back(PlacementOf(d.EntBlockTree[k]));
  std::vector<TEntJwwBlockTree>().swap(d.EntBlockTree);
  d.EntBlockTreeN = 0;
  return p;
}

bool ExplodeNode(TJwwData& d, const Placement& n) {
  const TEntJwwBlockDef& def = d.EntBlockDef[n.defno];
  const bool lf = n.lf;
  const int32_t l1 = n.l1, l2 = n.l2;
  size_t rows = std::min<size_t>(std::max(def.N, 0), def.mNo.size());
  for (size_t i = 0; i < rows; ++i) {
    const TEntJwwNo& r = def.mNo[i];
    const int32_t k = r.EntNo;
    bool ok = true;
    switch (r.EntType) {
      case kEntLine:
        if (InRange(def.mLine, def.mLineN, k))
          ok = d.BlockExplodeLine(n.x, n.y, n.r1, n.r2, n.r3, n.r4, def.mLine[k], lf, l1, l2);
        break;
      case kEntEnko:
        if (InRange(def.mEnko, def.mEnkoN, k))
          ok = d.BlockExplodeEnko(n.x, n.y, n.r1, n.r2, n.r3, n.r4, def.mEnko[k], lf, l1, l2);
        break;
      case kEntTen:
        if (InRange(def.mTen, def.mTenN, k))
          ok = d.BlockExplodeTen(n.x, n.y, n.r1, n.r2, n.r3, n.r4, def.mTen[k], lf, l1, l2);
        break;
      case kEntMoji:
        if (InRange(def.mMoji, def.mMojiN, k))
          ok = d.BlockExplodeMoji(n.x, n.y, n.r1, n.r2, n.r3, n.r4, def.mMoji[k], lf, l1, l2);
        break;
      case kEntSunpo:
        if (InRange(def.mSunpo, def.mSunpoN, k))
          ok = d.BlockExplodeSunpo(n.x, n.y, n.r1, n.r2, n.r3, n.r4, def.mSunpo[k], lf, l1, l2);
        break;
      case kEntSolid:
        if (InRange(def.mSolid, def.mSolidN, k))
          ok = d.BlockExplodeSolid(n.x, n.y, n.r1, n.r2, n.r3, n.r4, def.mSolid[k], lf, l1, l2);
        break;
      default:
        break;  // nested insertions have nodes of their own
    }
    if (!ok) return false;
  }
  return true;
}

void RemoveBlockStructure(TJwwData& d) {
  std::vector<TEntJwwBlockTree>().swap(d.EntBlockTree);
  d.EntBlockTreeN = 0;
  d.EntBlockNum = 0;
  std::vector<TEntJwwBlockDef>().swap(d.EntBlockDef);
  d.EntBlockDefN = 0;
  d.Enthd.n2 = 0;
  std::vector<TEntJwwBlock>().swap(d.EntBlock);
  d.EntBlockN = 0;
  for (TEntJwwNo& r : d.EntNo)
    if (r.EntType == kEntBlock) r = TEntJwwNo{0, 0};
}

}  // namespace

namespace {

// 12345678 as "12,345,678".
std::string Grouped(int64_t v) {
  std::string digits = std::to_string(v), r;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) r += ',';
    r += digits[i];
  }
  return r;
}

// How many elements of each kind the explosion will append: every placed
// definition contributes its members once per placement.
std::array<int64_t, 7> ExplosionCounts(const TJwwData& d, int32_t nodes) {
  std::vector<std::array<int64_t, 7>> perDef(d.EntBlockDef.size());
  for (size_t i = 0; i < d.EntBlockDef.size(); ++i) {
    const TEntJwwBlockDef& def = d.EntBlockDef[i];
    size_t rows = std::min<size_t>(std::max(def.N, 0), def.mNo.size());
    for (size_t r = 0; r < rows; ++r) {
      int32_t t = def.mNo[r].EntType;
      if (t >= kEntLine && t <= kEntSolid) ++perDef[i][t];
    }
  }
  std::array<int64_t, 7> add{};
  for (int32_t k = 0; k < nodes; ++k) {
    int32_t defno = d.EntBlockTree[k].defno;
    if (defno < 0 || defno >= static_cast<int32_t>(perDef.size())) continue;
    for (int t = kEntLine; t <= kEntSolid; ++t) add[t] += perDef[defno][t];
  }
  return add;
}

// Refuses a drawing that would exceed the ceiling, before any memory is
// taken for it; else reserves exactly what the explosion appends, so the
// arrays never grow (and briefly double) on the way. "" when all is ready.
std::string ReserveForExplosion(TJwwData& d, const std::array<int64_t, 7>& add) {
  int64_t total = 0;
  for (int t = kEntLine; t <= kEntSolid; ++t) total += add[t];
  const int64_t after = std::max<int64_t>(d.Enthd.n1, 0) - std::max(d.EntBlockN, 0) + total;
  if (after > kMaxExplodedElements)
    return "the blocks would explode into " + Grouped(after) + " elements, more than the " +
           Grouped(kMaxExplodedElements) + " allowed";
  try {
    d.EntLine.reserve(d.EntLine.size() + add[kEntLine]);
    d.EntEnko.reserve(d.EntEnko.size() + add[kEntEnko]);
    d.EntTen.reserve(d.EntTen.size() + add[kEntTen]);
    d.EntMoji.reserve(d.EntMoji.size() + add[kEntMoji]);
    d.EntSunpo.reserve(d.EntSunpo.size() + add[kEntSunpo]);
    d.EntSolid.reserve(d.EntSolid.size() + add[kEntSolid]);
    d.EntNo.reserve(d.EntNo.size() + total);
  } catch (const std::exception&) {
    return "block explosion failed: out of memory";
  }
  AdviseLargePages(d.EntLine);
  AdviseLargePages(d.EntEnko);
  AdviseLargePages(d.EntTen);
  AdviseLargePages(d.EntMoji);
  AdviseLargePages(d.EntSunpo);
  AdviseLargePages(d.EntSolid);
  AdviseLargePages(d.EntNo);
  return "";
}

// Memory the copies will take, their file-order rows included.
int64_t PlacedBytes(const std::array<int64_t, 7>& add) {
  const int64_t size[7] = {0, sizeof(TEntJwwLine), sizeof(TEntJwwEnko), sizeof(TEntJwwTen), sizeof(TEntJwwMoji),
                           sizeof(TEntJwwSunpo), sizeof(TEntJwwSolid)};
  int64_t bytes = 0;
  for (int t = kEntLine; t <= kEntSolid; ++t) bytes += add[t] * (size[t] + int64_t{sizeof(TEntJwwNo)});
  return bytes;
}

bool Refuse(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return false;
}

}  // namespace

bool TJwwData::BlockExplode(std::string* why) {
  if (BlockTreeTooLarge)
    return Refuse(why, "the blocks nest into more than " + Grouped(static_cast<int64_t>(kMaxBlockTreeNodes)) +
                           " placements");
  if (EntBlockTreeN == 0) return true;
  // The file-order index always has exactly n1 rows while rows are appended.
  EntNo.resize(static_cast<size_t>(std::max(Enthd.n1, 0)));
  EntLine.resize(EntLineN);
  EntEnko.resize(EntEnkoN);
  EntTen.resize(EntTenN);
  EntMoji.resize(EntMojiN);
  EntSunpo.resize(EntSunpoN);
  EntSolid.resize(EntSolidN);
  const int32_t nodes = std::min<int64_t>(EntBlockTreeN, static_cast<int64_t>(EntBlockTree.size()));
  const std::array<int64_t, 7> add = ExplosionCounts(*this, nodes);
  std::string refused = ReserveForExplosion(*this, add);
  if (!refused.empty()) return Refuse(why, std::move(refused));
  const std::string outOfMemory = "block explosion failed: out of memory";
  // Releasing the tree first costs a compact copy of it; that pays when the
  // copies to be placed outweigh the compact copy.
  if (PlacedBytes(add) > int64_t{nodes} * int64_t{sizeof(Placement)}) {
    std::vector<Placement> placements;
    try {
      placements = TakePlacements(*this, nodes);
    } catch (const std::bad_alloc&) {
      return Refuse(why, outOfMemory);
    }
    for (const Placement& p : placements)
      if (!ExplodeNode(*this, p)) return Refuse(why, outOfMemory);
  } else {
    for (int32_t k = 0; k < nodes; ++k)
      if (Places(*this, EntBlockTree[k]) && !ExplodeNode(*this, PlacementOf(EntBlockTree[k])))
        return Refuse(why, outOfMemory);
  }
  RemoveBlockStructure(*this);
  return true;
}

}  // namespace jww
