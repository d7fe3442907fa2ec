#include "synthetic_drawing.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "jww/bind_image.h"
#include "jww/element_lists.h"
#include "jww/jww_strings.h"
#include "jww_builder.h"
#include "trim/file_conv.h"

namespace synth {

using namespace jww;
namespace fs = std::filesystem;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Every value comes from the raw 64-bit outputs of the engine through plain
// integer and double arithmetic, so a seed gives the same file everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : g_(seed) {}
  uint64_t Next() { return g_(); }
  // [0, 1) with 53 random bits.
  double Unit() { return static_cast<double>(g_() >> 11) * 0x1.0p-53; }
  double Range(double a, double b) { return a + (b - a) * Unit(); }
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(g_() % n); }
  bool Chance(double p) { return Unit() < p; }

 private:
  std::mt19937_64 g_;
};

// Unit directions at multiples of 15 degrees, from literal constants so that
// no library sine enters the file.
struct Dir {
  double c, s, deg;
};
Dir DirAt(uint32_t k) {
  static const double kFirst[6][2] = {{1.0, 0.0},
                                      {0.9659258262890683, 0.25881904510252074},
                                      {0.8660254037844386, 0.5},
                                      {0.7071067811865476, 0.7071067811865476},
                                      {0.5, 0.8660254037844386},
                                      {0.25881904510252074, 0.9659258262890683}};
  k %= 24;
  double c = kFirst[k % 6][0], s = kFirst[k % 6][1];
  for (uint32_t q = 0; q < k / 6; ++q) {
    const double t = c;
    c = -s;
    s = t;
  }
  return {c, s, 15.0 * k};
}

enum class Where { kInside, kEdge, kOutside, kLocal };

// Where an element goes: its middle and the size it may spread to around it.
// Edge spots sit on a side of the frame; out is the outward normal there.
struct Spot {
  double x = 0, y = 0, s = 1;
  Where where = Where::kLocal;
  double outX = 0, outY = 0;
};

// Appends an element and its file-order row to the top level or a
// definition.
template <class V, class E>
void AddElement(ElementLists& l, int32_t kind, V& v, E&& e) {
  l.rows->push_back(TEntJwwNo{kind, static_cast<int32_t>(v.size())});
  v.push_back(std::forward<E>(e));
  ++*l.counts[kind];
}

struct ImageFile {
  std::string name;     // as stored
  std::string refName;  // as texts name it (".gz" dropped)
};

class Generator {
 public:
  // Images draw from a stream of their own, and every other draw happens
  // whatever the version, so one seed gives the same elements in every
  // version.
  Generator(TJwwData& d, const Options& o, Stats& st)
      : d_(d), o_(o), st_(st), rng_(o.seed), imageRng_(o.seed ^ 0x9E3779B97F4A7C15ull),
        newForm_(o.version >= 351) {
    const trim::PaperMm p = trim::PaperSize(o.zumen);
    hw_ = p.w / 2;
    hh_ = p.h / 2;
  }

  bool Images(const std::string& folder, std::string& err) {
    if (o_.version < 700 || o_.mix != Mix::kAll || o_.images <= 0) return true;
    static const char* const kExt[3] = {".png", ".bmp.gz", ".jpg"};
    for (int32_t i = 0; i < o_.images; ++i) {
      ImageFile f;
      f.name = "img" + std::to_string(i) + kExt[i % 3];
      f.refName = f.name.ends_with(".gz") ? f.name.substr(0, f.name.size() - 3) : f.name;
      std::vector<uint8_t> payload(256 + imageRng_.Below(4096));
      for (uint8_t& b : payload) b = static_cast<uint8_t>(imageRng_.Next() >> 56);
      std::FILE* fp = std::fopen((folder + f.name).c_str(), "wb");
      if (!fp || std::fwrite(payload.data(), 1, payload.size(), fp) != payload.size()) {
        if (fp) std::fclose(fp);
        err = "cannot write image payload into " + folder;
        return false;
      }
      if (std::fclose(fp) != 0) {
        err = "cannot write image payload into " + folder;
        return false;
      }
      TBindImageType e;
      e.Fname = FromUtf8(f.name);
      e.Fsize = static_cast<int32_t>(payload.size());
      d_.BindImage.push_back(e);
      images_.push_back(f);
    }
    d_.BindImageN = static_cast<int32_t>(d_.BindImage.size());
    return true;
  }

  void Definitions() {
    if (o_.insertions <= 0) return;
    const int32_t n = o_.definitions < 3 ? 3 : o_.definitions;
    leaves_ = n / 2;
    mids_ = n / 3;  // the rest are groups
    d_.EntBlockDef.resize(static_cast<size_t>(n));
    expanded_.assign(static_cast<size_t>(n), 0);
    // Leaves first: a definition only inserts definitions made before it.
    for (int32_t i = 0; i < n; ++i) {
      TEntJwwBlockDef& b = d_.EntBlockDef[static_cast<size_t>(i)];
      b.att = Att(1, 1);
      b.nNumber = static_cast<uint32_t>(i);
      b.bRefferd = 1;
      b.dtime = 1000u + static_cast<uint32_t>(i);
      const char* level = i < leaves_ ? "part" : i < leaves_ + mids_ ? "unit" : "group";
      b.strName = FromUtf8(std::string(level) + "-" + std::to_string(i));
      ElementLists l = DefinitionLists(b);
      int64_t own = 0;
      const int members = i < leaves_ ? 3 + static_cast<int>(rng_.Below(4)) : 1 + static_cast<int>(rng_.Below(2));
      for (int m = 0; m < members; ++m) {
        Spot sp;
        sp.x = rng_.Range(-8, 8);
        sp.y = rng_.Range(-8, 8);
        sp.s = rng_.Range(2, 6);
        Element(l, sp);
        ++own;
      }
      int64_t nested = 0;
      if (i >= leaves_) {
        // Units insert parts; groups insert units and now and then a part.
        const bool group = i >= leaves_ + mids_;
        const int count = group ? 2 + static_cast<int>(rng_.Below(2)) : 2;
        for (int k = 0; k < count; ++k) {
          int32_t child;
          if (group && k < 2) child = leaves_ + static_cast<int32_t>(rng_.Below(static_cast<uint32_t>(mids_)));
          else child = static_cast<int32_t>(rng_.Below(static_cast<uint32_t>(leaves_)));
          TEntJwwBlock ins = Insertion(child, rng_.Range(-15, 15), rng_.Range(-15, 15));
          nested += expanded_[static_cast<size_t>(child)];
          AddElement(l, kEntBlock, *l.block, ins);
        }
      }
      expanded_[static_cast<size_t>(i)] = own + nested;
      b.N = static_cast<int32_t>(b.mNo.size());
    }
    d_.EntBlockDefN = n;
    d_.Enthd.n2 = n;
  }

  void TopLevel() {
    ElementLists l = TopLevelLists(d_);
    const int64_t total = o_.elements + o_.insertions;
    d_.EntNo.reserve(static_cast<size_t>(total));
    int64_t insLeft = o_.insertions;
    for (int64_t i = 0; i < total; ++i) {
      const int64_t left = total - i;
      const bool insertion = static_cast<int64_t>(rng_.Next() % static_cast<uint64_t>(left)) < insLeft;
      if (insertion) {
        --insLeft;
        TopInsertion(l);
        continue;
      }
      Spot sp = TopSpot(rng_.Range(2, 30));
      (sp.where == Where::kInside ? st_.inside : sp.where == Where::kEdge ? st_.nearEdge : st_.outside)++;
      Element(l, sp);
    }
    d_.Enthd.n1 = static_cast<int32_t>(d_.EntNo.size());
    for (const TEntJwwNo& r : d_.EntNo) ++st_.byKind[r.EntType];
    st_.rows = static_cast<int64_t>(d_.EntNo.size());
    NameEveryImage();
  }

  // The first image references of the top level name the images in turn,
  // so that each image is referenced and the writer keeps them all.
  void NameEveryImage() {
    size_t k = 0;
    const JString temp = u"^@BM%temp%";
    for (const TEntJwwNo& r : d_.EntNo) {
      if (k >= images_.size()) return;
      if (r.EntType != kEntMoji) continue;
      JString& str = d_.EntMoji[static_cast<size_t>(r.EntNo)].str;
      const size_t comma = str.find(u',');
      if (!str.starts_with(temp) || comma == JString::npos) continue;
      str = temp + FromUtf8(images_[k++].refName) + str.substr(comma);
    }
  }

 private:
  // ---- attributes -------------------------------------------------------

  TEntJwwAttr Att(uint8_t style, uint16_t colour) {
    TEntJwwAttr a;
    a.lGroup = 0;
    a.nPenStyle = style;
    a.nPenColor = colour;
    const uint16_t width = static_cast<uint16_t>(rng_.Below(4));
    a.nPenWidth = newForm_ ? width : 0;  // older files do not store it
    a.nLayer = static_cast<uint16_t>(rng_.Below(16));
    a.nGLayer = static_cast<uint16_t>(rng_.Below(16));
    a.sFlg = 0;
    return a;
  }
  uint8_t LineStyle() { return rng_.Chance(0.7) ? 1 : static_cast<uint8_t>(2 + rng_.Below(8)); }
  uint16_t Colour() { return static_cast<uint16_t>(1 + rng_.Below(9)); }

  // ---- placement --------------------------------------------------------

  // A spot of size s relative to the paper frame: 60 % well inside, 15 % on
  // an edge, 25 % wholly outside.
  Spot TopSpot(double s) {
    Spot sp;
    sp.s = s;
    const double u = rng_.Unit();
    if (u < 0.60) {
      sp.where = Where::kInside;
      const double mx = hw_ - 1.5 * s > 1 ? hw_ - 1.5 * s : 1;
      const double my = hh_ - 1.5 * s > 1 ? hh_ - 1.5 * s : 1;
      sp.x = rng_.Range(-mx, mx);
      sp.y = rng_.Range(-my, my);
      return sp;
    }
    const uint32_t side = rng_.Below(4);
    const double sign = (side & 1) ? -1.0 : 1.0;
    if (u < 0.75) {
      sp.where = Where::kEdge;
      if (side < 2) {
        sp.x = sign * hw_;
        sp.y = rng_.Range(-hh_, hh_);
        sp.outX = sign;
      } else {
        sp.x = rng_.Range(-hw_, hw_);
        sp.y = sign * hh_;
        sp.outY = sign;
      }
      return sp;
    }
    sp.where = Where::kOutside;
    const double gap = 1.5 * s + 1;
    if (side < 2) {
      sp.x = sign * rng_.Range(hw_ + gap, 3 * hw_ + gap);
      sp.y = rng_.Range(-3 * hh_, 3 * hh_);
    } else {
      sp.x = rng_.Range(-3 * hw_, 3 * hw_);
      sp.y = sign * rng_.Range(hh_ + gap, 3 * hh_ + gap);
    }
    return sp;
  }

  // ---- elements ---------------------------------------------------------

  void Element(ElementLists& l, const Spot& sp) {
    if (o_.mix == Mix::kLines) {
      Line(l, sp);
      return;
    }
    const double u = rng_.Unit();
    if (u < 0.38) Line(l, sp);
    else if (u < 0.55) Arc(l, sp);
    else if (u < 0.63) Point(l, sp);
    else if (u < 0.79) Text(l, sp);
    else if (u < 0.86) Dimension(l, sp);
    else Solid(l, sp);
  }

  void Line(ElementLists& l, const Spot& sp) {
    TEntJwwLine e;
    e.att = Att(LineStyle(), Colour());
    if (sp.where == Where::kEdge) {
      // One end inside, the other outside: crosses the edge for sure.
      const double tx = sp.outY, ty = sp.outX;  // along the edge
      const double a = rng_.Range(1, sp.s), b = rng_.Range(1, sp.s);
      const double t1 = rng_.Range(-sp.s, sp.s), t2 = rng_.Range(-sp.s, sp.s);
      e.start_x = sp.x - sp.outX * a + tx * t1;
      e.start_y = sp.y - sp.outY * a + ty * t1;
      e.end_x = sp.x + sp.outX * b + tx * t2;
      e.end_y = sp.y + sp.outY * b + ty * t2;
    } else {
      e.start_x = sp.x + rng_.Range(-sp.s, sp.s);
      e.start_y = sp.y + rng_.Range(-sp.s, sp.s);
      e.end_x = sp.x + rng_.Range(-sp.s, sp.s);
      e.end_y = sp.y + rng_.Range(-sp.s, sp.s);
    }
    AddElement(l, kEntLine, *l.line, e);
  }

  void Arc(ElementLists& l, const Spot& sp) {
    TEntJwwEnko e;
    e.att = Att(LineStyle(), Colour());
    e.start_x = sp.x;
    e.start_y = sp.y;
    e.dHankei = rng_.Range(0.2 * sp.s, sp.s);
    switch (rng_.Below(4)) {
      case 0:  // circle
        e.radKaishiKaku = 0;
        e.radEnkoKaku = kTwoPi;
        e.dHenpeiRitsu = 1;
        e.bZenEnFlg = 1;
        break;
      case 1:  // arc
        e.radKaishiKaku = rng_.Range(0, kTwoPi);
        e.radEnkoKaku = rng_.Range(0.1, kTwoPi - 0.1);
        e.dHenpeiRitsu = 1;
        break;
      case 2:  // ellipse
        e.radKaishiKaku = 0;
        e.radEnkoKaku = kTwoPi;
        e.radKatamukiKaku = rng_.Range(0, kPi);
        e.dHenpeiRitsu = rng_.Range(0.3, 0.95);
        e.bZenEnFlg = 1;
        break;
      default:  // ellipse arc
        e.radKaishiKaku = rng_.Range(0, kTwoPi);
        e.radEnkoKaku = rng_.Range(0.1, kTwoPi - 0.1);
        e.radKatamukiKaku = rng_.Range(0, kPi);
        e.dHenpeiRitsu = rng_.Range(0.3, 0.95);
        break;
    }
    AddElement(l, kEntEnko, *l.enko, e);
  }

  void Point(ElementLists& l, const Spot& sp) {
    const bool marked = rng_.Chance(0.3);
    TEntJwwTen e;
    e.att = Att(marked ? 100 : 1, Colour());
    e.start_x = sp.x + rng_.Range(-sp.s, sp.s);
    e.start_y = sp.y + rng_.Range(-sp.s, sp.s);
    if (sp.where == Where::kEdge) {
      // A point cannot cross: put it on the edge itself or just beyond it.
      const double beyond = rng_.Chance(0.5) ? 0.0 : 0.001;
      if (sp.outX != 0) e.start_x = sp.x + sp.outX * beyond;
      else e.start_y = sp.y + sp.outY * beyond;
    }
    e.bKariten = rng_.Chance(0.1) ? 1 : 0;
    if (marked) {
      e.nCode = 1 + rng_.Below(20);
      e.radKaitenKaku = rng_.Range(0, kTwoPi);
      e.dBairitsu = rng_.Range(0.5, 2);
    } else {
      e.dBairitsu = 1;
    }
    AddElement(l, kEntTen, *l.ten, e);
  }

  // Width of a text as the element stores it: half the size per byte of its
  // code page 932 form, with spacing between characters.
  static double TextWidth(const JString& s, double size, double gap) {
    double w = 0;
    for (char16_t c : s) w += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? size / 2 + gap / 2 : size + gap;
    return w;
  }

  JString TextString() {
    static const char* const kForms[6] = {"図面", "通り芯X", "Room ", "A-", "GL+", "寸法確認"};
    const uint32_t f = rng_.Below(6);
    std::string s = kForms[f];
    if (f != 5) s += std::to_string(rng_.Below(1000));
    return FromUtf8(s);
  }
  JString FontName() {
    static const char* const kFonts[3] = {"ゴシック", "明朝", "Sans"};
    const uint32_t u = rng_.Below(10);
    return FromUtf8(kFonts[u < 7 ? 0 : u < 9 ? 1 : 2]);
  }

  // Lays a text of the given string on a base line through the spot.
  void PlaceText(TEntJwwMoji& e, const Spot& sp, bool vertical) {
    double size = rng_.Range(2.5, 5);
    e.dKankaku = rng_.Chance(0.7) ? 0 : 0.5;
    double w = TextWidth(e.str, size, e.dKankaku);
    if (w > 2 * sp.s) {
      size = size * 2 * sp.s / w;
      w = 2 * sp.s;
    }
    e.dSizeX = size;
    e.dSizeY = size;
    e.nMojiShu = rng_.Chance(0.1) ? 10000 + 1 + rng_.Below(10) : 1 + rng_.Below(10);
    Dir dir = vertical ? DirAt(18) : (rng_.Chance(0.6) ? DirAt(0) : DirAt(rng_.Below(24)));
    if (vertical) e.att.sFlg = static_cast<uint16_t>(e.att.sFlg | 0x20);
    double sx = sp.x - dir.c * w / 2, sy = sp.y - dir.s * w / 2;
    if (sp.where == Where::kEdge) {
      // Start inside near the edge, running out of the frame.
      sx = sp.x - sp.outX * w / 2;
      sy = sp.y - sp.outY * w / 2;
      if (sp.outX != 0) dir = sp.outX > 0 ? DirAt(0) : DirAt(12);
      else dir = sp.outY > 0 ? DirAt(6) : DirAt(18);
    }
    e.start_x = sx;
    e.start_y = sy;
    e.end_x = sx + dir.c * w;
    e.end_y = sy + dir.s * w;
    e.degKakudo = dir.deg;
  }

  void Text(ElementLists& l, const Spot& sp) {
    const double u = rng_.Unit();
    if (u < 0.12) {
      const uint32_t pick = rng_.Below(1000);
      ImageText(l, sp, pick, images_.empty() ? std::string() : images_[pick % images_.size()].refName);
      return;
    }
    TEntJwwMoji e;
    e.att = Att(static_cast<uint8_t>(rng_.Chance(0.8) ? 1 : 2 + rng_.Below(8)), Colour());
    e.strFontName = FontName();
    e.str = TextString();
    PlaceText(e, sp, u < 0.3);
    AddElement(l, kEntMoji, *l.moji, std::move(e));
  }

  // An image reference: to an embedded image when a name is given, else to
  // an outside file numbered by pick.
  void ImageText(ElementLists& l, const Spot& sp, uint32_t pick, const std::string& name) {
    TEntJwwMoji e;
    e.att = Att(1, Colour());
    e.strFontName = FontName();
    const int32_t maxW = static_cast<int32_t>(1.2 * sp.s) > 1 ? static_cast<int32_t>(1.2 * sp.s) : 1;
    const int32_t w = 1 + static_cast<int32_t>(rng_.Below(static_cast<uint32_t>(maxW)));
    const int32_t h = 1 + static_cast<int32_t>(rng_.Below(static_cast<uint32_t>(maxW)));
    std::string s = name.empty() ? "^@BMphoto" + std::to_string(pick % 50) + ".jpg"
                                 : "^@BM%temp%" + name;
    s += "," + std::to_string(w) + "," + std::to_string(h);
    if (rng_.Chance(0.4)) s += ",0,0,1," + std::to_string(15 * rng_.Below(24));
    e.str = FromUtf8(s);
    e.dSizeX = e.dSizeY = 2.5;
    e.nMojiShu = 1;
    e.start_x = sp.x - w / 2.0;
    e.start_y = sp.y - h / 2.0;
    e.end_x = e.start_x + TextWidth(e.str, 2.5, 0);
    e.end_y = e.start_y;
    AddElement(l, kEntMoji, *l.moji, std::move(e));
  }

  TEntJwwTen DimPoint(uint8_t style, double x, double y, double angle) {
    TEntJwwTen t;
    t.att = Att(style, 1);
    t.start_x = x;
    t.start_y = y;
    if (style == 100) {
      t.nCode = 7;
      t.radKaitenKaku = angle;
      t.dBairitsu = 1;
    }
    return t;
  }

  void Dimension(ElementLists& l, const Spot& sp) {
    TEntJwwSunpo e;
    e.att = Att(1, Colour());
    const Dir dir = rng_.Chance(0.7) ? DirAt(6 * rng_.Below(2)) : DirAt(rng_.Below(24));
    const double len = rng_.Range(0.5 * sp.s, 2 * sp.s);
    double px = sp.x - dir.c * len / 2, py = sp.y - dir.s * len / 2;
    if (sp.where == Where::kEdge) {
      // Measure from inside to a point beyond the edge.
      px = sp.x - sp.outX * len / 2;
      py = sp.y - sp.outY * len / 2;
    }
    const Dir run = sp.where == Where::kEdge
                        ? (sp.outX != 0 ? (sp.outX > 0 ? DirAt(0) : DirAt(12)) : (sp.outY > 0 ? DirAt(6) : DirAt(18)))
                        : dir;
    const double qx = px + run.c * len, qy = py + run.s * len;
    const double ex = -run.s, ey = run.c;  // towards the value text
    e.Sen.att = Att(1, Colour());
    e.Sen.start_x = px;
    e.Sen.start_y = py;
    e.Sen.end_x = qx;
    e.Sen.end_y = qy;
    // Value text above the middle; some ask to be rebuilt from the length.
    TEntJwwMoji& m = e.Moji;
    m.att = Att(1, Colour());
    static const uint16_t kFormats[3] = {0, 0x2002, 0x0022};
    m.att.nPenWidth = kFormats[rng_.Below(3)];
    m.strFontName = FontName();
    m.str = FromUtf8(std::to_string(static_cast<int64_t>(len + 0.5)));
    m.dSizeX = m.dSizeY = 2.5;
    m.nMojiShu = 1;
    const double w = TextWidth(m.str, 2.5, 0);
    const double mx = (px + qx) / 2 + ex * 0.5, my = (py + qy) / 2 + ey * 0.5;
    m.start_x = mx - run.c * w / 2;
    m.start_y = my - run.s * w / 2;
    m.end_x = m.start_x + run.c * w;
    m.end_y = m.start_y + run.s * w;
    m.degKakudo = run.deg;
    e.bSxfMode = rng_.Chance(0.4) ? 1 : 0;
    // Extension lines from the measured points, on the side away from the text.
    const double off = rng_.Range(1, 0.3 * sp.s + 1);
    e.Ho1.att = e.Sen.att;
    e.Ho1.start_x = px - ex * off;
    e.Ho1.start_y = py - ey * off;
    e.Ho1.end_x = px;
    e.Ho1.end_y = py;
    e.Ho2.att = e.Sen.att;
    e.Ho2.start_x = qx - ex * off;
    e.Ho2.start_y = qy - ey * off;
    e.Ho2.end_x = qx;
    e.Ho2.end_y = qy;
    const double ang = run.deg / 180 * kPi;
    e.Te1 = DimPoint(1, px, py, 0);
    e.Te2 = DimPoint(1, qx, qy, 0);
    e.Kt1 = DimPoint(100, px, py, ang);
    e.Kt2 = DimPoint(100, qx, qy, ang + kPi);
    AddElement(l, kEntSunpo, *l.sunpo, std::move(e));
  }

  void Solid(ElementLists& l, const Spot& sp) {
    TEntJwwSolid e;
    const bool ownColour = rng_.Chance(0.3);
    const uint16_t colour = ownColour ? 10 : Colour();
    const double u = rng_.Unit();
    auto corner = [&](double& x, double& y) {
      x = sp.x + rng_.Range(-sp.s, sp.s);
      y = sp.y + rng_.Range(-sp.s, sp.s);
    };
    if (u < 0.55) {
      // Plain solids: any style up to 100; quadrilaterals, triangles and the
      // two-corner form.
      e.att = Att(rng_.Chance(0.8) ? 1 : static_cast<uint8_t>(rng_.Below(101)), colour);
      corner(e.start_x, e.start_y);
      corner(e.end_x, e.end_y);
      corner(e.DPoint2_x, e.DPoint2_y);
      corner(e.DPoint3_x, e.DPoint3_y);
      const double k = rng_.Unit();
      if (k < 0.35) {
        e.DPoint3_x = e.DPoint2_x;  // triangle
        e.DPoint3_y = e.DPoint2_y;
      } else if (k < 0.42) {
        e.DPoint2_x = e.end_x;  // two corners
        e.DPoint2_y = e.end_y;
      }
    } else {
      static const uint8_t kStyles[4] = {101, 105, 106, 111};
      const uint32_t pick = rng_.Below(10);
      const uint8_t style = kStyles[pick < 4 ? 0 : pick < 6 ? 1 : pick < 8 ? 2 : 3];
      e.att = Att(style, colour);
      const double r = rng_.Range(0.3 * sp.s, sp.s);
      e.start_x = sp.x;
      e.start_y = sp.y;
      e.end_x = r;
      e.end_y = rng_.Chance(0.5) ? 1.0 : rng_.Range(0.4, 1.0);
      e.DPoint2_x = rng_.Range(0, kPi);
      e.DPoint2_y = rng_.Range(0, kTwoPi);
      e.DPoint3_x = rng_.Range(0.2, kTwoPi);
      if (style == 101) {
        static const double kModes[4] = {0, 5, 100, 3};
        e.DPoint3_y = kModes[rng_.Below(4)];
      } else if (style == 111) {
        e.DPoint3_y = rng_.Chance(0.3) ? 1 : 0;
      } else {
        e.DPoint3_y = r * rng_.Range(0.3, 0.8);  // inner radius of the ring
      }
    }
    if (ownColour) e.Color = static_cast<uint32_t>(rng_.Next() & 0xFFFFFF);
    AddElement(l, kEntSolid, *l.solid, e);
  }

  // ---- insertions -------------------------------------------------------

  // Rotated, mirrored and non-uniformly scaled in a fixed mix.
  TEntJwwBlock Insertion(int32_t def, double x, double y) {
    TEntJwwBlock b;
    b.att = Att(rng_.Chance(0.05) ? 0x41 : 1, 1);
    b.DPKijunTen_x = x;
    b.DPKijunTen_y = y;
    const double r = rng_.Range(0.5, 2);
    const double u = rng_.Unit();
    if (u < 0.6) {
      b.dBairitsuX = b.dBairitsuY = r;
    } else if (u < 0.75) {
      b.dBairitsuX = -r;  // mirrored
      b.dBairitsuY = r;
    } else {
      b.dBairitsuX = r;
      b.dBairitsuY = r * rng_.Range(0.4, 2.5);
    }
    const double v = rng_.Unit();
    b.radKaitenKaku = v < 0.3 ? 0 : v < 0.7 ? kPi / 12 * rng_.Below(24) : rng_.Range(0, kTwoPi);
    b.nNumber = static_cast<uint32_t>(def);
    return b;
  }

  void TopInsertion(ElementLists& l) {
    const uint32_t n = static_cast<uint32_t>(d_.EntBlockDef.size());
    const double u = rng_.Unit();
    const uint32_t tops = n - static_cast<uint32_t>(leaves_ + mids_);
    int32_t def;
    if (u < 0.3) def = leaves_ + mids_ + static_cast<int32_t>(rng_.Below(tops));
    else if (u < 0.7) def = leaves_ + static_cast<int32_t>(rng_.Below(static_cast<uint32_t>(mids_)));
    else def = static_cast<int32_t>(rng_.Below(static_cast<uint32_t>(leaves_)));
    const Spot sp = TopSpot(40);
    AddElement(l, kEntBlock, *l.block, Insertion(def, sp.x, sp.y));
    st_.placed += expanded_[static_cast<size_t>(def)];
  }

  TJwwData& d_;
  const Options& o_;
  Stats& st_;
  Rng rng_;
  Rng imageRng_;
  bool newForm_;
  double hw_ = 0, hh_ = 0;
  std::vector<ImageFile> images_;
  int32_t leaves_ = 0, mids_ = 0;
  std::vector<int64_t> expanded_;  // plain elements one placement unfolds into
};

// Images some text names; the writer carries only those.
int64_t ReferencedImages(const TJwwData& d) {
  std::vector<bool> used(d.BindImage.size(), false);
  auto mark = [&](const std::vector<TEntJwwNo>& rows, const std::vector<TEntJwwMoji>& texts) {
    for (const TEntJwwNo& r : rows) {
      if (r.EntType != kEntMoji) continue;
      const JString ref = ImageReferenceName(texts[static_cast<size_t>(r.EntNo)].str);
      if (ref.empty()) continue;
      for (size_t k = 0; k < used.size(); ++k)
        if (UpperName(d.BindImage[k].Fname).starts_with(UpperName(ref))) used[k] = true;
    }
  };
  mark(d.EntNo, d.EntMoji);
  for (const auto& def : d.EntBlockDef) mark(def.mNo, def.mMoji);
  int64_t n = 0;
  for (bool u : used) n += u ? 1 : 0;
  return n;
}

// A complete header of the chosen version with empty lists, read back so the
// document holds every header value the writer needs.
std::vector<uint8_t> EmptyDrawing(const Options& o) {
  fixture::Bytes b;
  fixture::HeaderOptions h;
  h.ver = o.version;
  h.zumen = o.zumen;
  h.memo = "synthetic drawing";
  fixture::Header(b, h);
  b.u16(0);                        // elements
  b.u16(0);                        // definitions
  if (o.version >= 700) b.i32(0);  // images
  return b.b;
}

}  // namespace

bool Build(TJwwData& doc, const Options& o, const std::string& imageFolder, Stats& st, std::string& err) {
  st = Stats{};
  if (o.version < 220 || o.version > 700) {
    err = "version must lie between 220 and 700";
    return false;
  }
  if (o.elements < 0 || o.insertions < 0 || o.elements + o.insertions > INT32_MAX) {
    err = "element and insertion counts must be between 0 and 2^31-1 together";
    return false;
  }
  const std::vector<uint8_t> head = EmptyDrawing(o);
  if (!doc.FileInMemory(head.data(), head.size())) {
    err = "the empty drawing of version " + std::to_string(o.version) + " does not read back";
    return false;
  }
  doc.BindImageFolder = imageFolder;
  Generator g(doc, o, st);
  if (!g.Images(imageFolder, err)) return false;
  g.Definitions();
  g.TopLevel();
  doc.MakeBlockTree();
  st.treeNodes = doc.EntBlockTreeN;
  for (const auto& def : doc.EntBlockDef)
    if (def.ref_flag) ++st.definitions;
  st.images = ReferencedImages(doc);
  doc.SetFileOutOption(o.utf16 ? 32 : 0);
  return true;
}

std::string MakeScratchFolder(const std::string& tag) {
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) base = "/tmp";
  std::string tmpl = (base / (tag + ".XXXXXX")).string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) return "";
  return std::string(buf.data()) + "/";
}

bool WriteFile(const Options& o, const std::string& path, Stats& st, std::string& err) {
  const std::string images = MakeScratchFolder("orvantis-images");
  if (images.empty()) {
    err = "cannot make a temporary folder";
    return false;
  }
  bool ok = false;
  {
    TJwwData doc;
    if (Build(doc, o, images, st, err)) {
      std::error_code ec;
      fs::remove(path, ec);
      ok = doc.FileOut(path, o.version);
      if (!ok) err = "cannot write " + path;
    }
  }
  std::error_code ec;
  fs::remove_all(images, ec);
  return ok;
}

}  // namespace synth
