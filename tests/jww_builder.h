// Byte-level builder for JWW fixtures. It knows the file layout on its own,
// independently of the reader and writer under test.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

// Code page 932 bytes of "図面" and of an ideographic space.
#define FIXTURE_ZUMEN "\x90\x7D\x96\xCA"
#define FIXTURE_IDEOGRAPHIC_SPACE "\x81\x40"

namespace fixture {

struct Bytes {
  std::vector<uint8_t> b;
  void raw(const void* p, size_t n) {
    const uint8_t* q = static_cast<const uint8_t*>(p);
    b.insert(b.end(), q, q + n);
  }
  void u8(uint8_t v) { b.push_back(v); }
  void u16(uint16_t v) { raw(&v, 2); }
  void u32(uint32_t v) { raw(&v, 4); }
  void i32(int32_t v) { raw(&v, 4); }
  void f64(double v) { raw(&v, 8); }
  void fill(uint8_t v, size_t n) { b.insert(b.end(), n, v); }
  // Archive strings: ANSI (bytes as given) or UTF-16.
  void ansi(const std::string& s) {
    if (s.size() < 255) {
      u8(static_cast<uint8_t>(s.size()));
    } else {
      u8(0xFF);
      u16(static_cast<uint16_t>(s.size()));
    }
    raw(s.data(), s.size());
  }
  void utf16(const std::u16string& s) {
    u8(0xFF);
    u16(0xFFFE);
    if (s.size() < 255) {
      u8(static_cast<uint8_t>(s.size()));
    } else {
      u8(0xFF);
      u16(static_cast<uint16_t>(s.size()));
    }
    for (char16_t c : s) u16(c);
  }
  // Text given as code page 932 bytes; the UTF-16 form knows ASCII and the
  // few double-byte characters the fixtures use.
  void str(const std::string& cp932, bool asUtf16) {
    if (asUtf16) utf16(Widen(cp932));
    else ansi(cp932);
  }
  static std::u16string Widen(const std::string& s) {
    std::u16string r;
    for (size_t i = 0; i < s.size(); ++i) {
      uint8_t c = static_cast<uint8_t>(s[i]);
      if (c < 0x80 || i + 1 == s.size()) { r.push_back(c); continue; }
      uint16_t pair = static_cast<uint16_t>(c << 8 | static_cast<uint8_t>(s[++i]));
      switch (pair) {
        case 0x907D: r.push_back(u'\u56F3'); break;  // 図
        case 0x96CA: r.push_back(u'\u9762'); break;  // 面
        case 0x8140: r.push_back(u'\u3000'); break;  // ideographic space
        default: r.push_back(u'?'); break;
      }
    }
    return r;
  }
  size_t size() const { return b.size(); }
};

// Header values; the defaults are ones the writer writes back unchanged.
struct HeaderOptions {
  int32_t ver = 600;
  std::string memo = "memo";
  int32_t zumen = 3;
  int32_t maxDrawWid = 1;
  int32_t printValue = -1;  // item 31; -1: a value the writer keeps
  bool utf16 = false;
  double styleHeight0 = 3.0;
  double tenkuu = 7.5;
  int32_t solidColor = 0x123;
  double lastValue = 9.25;  // the header's final Double
  std::string layerName0;
  double scale0 = 1.0;  // adScale of layer group 0
};

inline void Header(Bytes& b, const HeaderOptions& o) {
  const int v = o.ver;
  b.raw("JwwData.", 8);
  b.i32(v);
  b.str(o.memo, o.utf16);
  b.i32(o.zumen);
  b.i32(0);
  for (int g = 0; g < 16; ++g) {
    b.i32(1); b.i32(0); b.f64(g == 0 ? o.scale0 : 1.0); b.i32(0);
    for (int l = 0; l < 16; ++l) { b.i32(2); b.i32(0); }
  }
  b.fill(0x20, 56);
  for (int i = 0; i < 5; ++i) b.i32(i);
  b.fill(0, 4);
  b.i32(o.maxDrawWid);
  b.f64(0); b.f64(0); b.f64(1.0);
  b.i32(0); b.i32(0);
  b.f64(1.0); b.f64(1.0); b.f64(1.0); b.f64(0); b.f64(0);
  for (int i = 0; i < 256; ++i) b.str(i == 0 ? o.layerName0 : "", o.utf16);
  for (int i = 0; i < 16; ++i) b.str("", o.utf16);
  b.f64(0); b.f64(0); b.i32(0); b.f64(0);
  if (v >= 300) { b.f64(o.tenkuu); b.f64(0); }
  b.i32(0);
  b.f64(1.0); b.f64(0); b.f64(0); b.f64(1.0); b.f64(0); b.f64(0);
  if (v >= 231) {
    for (int i = 1; i <= 8; ++i) { b.f64(1.5 * i); b.f64(0); b.f64(0); b.i32(i); }
    for (int i = 0; i < 3; ++i) b.f64(0);
    b.i32(0);
    for (int i = 0; i < 3; ++i) b.f64(0);
    b.i32(0);
  } else {
    for (int i = 1; i <= 4; ++i) { b.f64(1.5 * i); b.f64(0); b.f64(0); }
  }
  for (int i = 0; i < 10; ++i) b.f64(i);
  b.f64(0);
  for (int i = 0; i < 10; ++i) { b.i32(0x10 * i); b.i32(1); }
  for (int i = 0; i < 10; ++i) { b.i32(i == 0 ? 0xFFFFFF : 0); b.i32(1); b.f64(0.5); }
  for (int i = 0; i < 8; ++i) { b.i32(1); b.i32(0); b.i32(0); b.i32(0); }
  for (int i = 0; i < 5; ++i) { b.i32(1); b.i32(0); b.i32(0); b.i32(0); b.i32(0); }
  for (int i = 0; i < 4; ++i) { b.i32(1); b.i32(0); b.i32(0); b.i32(0); }
  for (int i = 0; i < 10; ++i) b.i32(0);
  b.i32(o.printValue != -1 ? o.printValue : (v >= 600 ? 6001 : 1));
  if (v >= 223) {
    for (int i = 0; i < 5; ++i) b.i32(0);
    for (int i = 0; i < 5; ++i) b.f64(0);
  }
  if (v >= 225) for (int i = 0; i < 4; ++i) b.f64(0);
  if (v >= 230) { b.i32(0); b.i32(o.solidColor); }
  if (v >= 420) {
    for (int i = 0; i <= 256; ++i) { b.i32(i); b.i32(1); }
    for (int i = 0; i <= 256; ++i) {
      b.str("Color_" + std::to_string(i), o.utf16);
      b.i32(i); b.i32(1); b.f64(0.5);
    }
    for (int i = 0; i <= 32; ++i) { b.i32(1); b.i32(0); b.i32(0); b.i32(0); }
    for (int i = 0; i <= 32; ++i) {
      b.str("LType_" + std::to_string(i), o.utf16);
      b.i32(2);
      for (int k = 1; k <= 10; ++k) b.f64(k <= 2 ? 1.0 : 0.0);
    }
  }
  for (int i = 0; i < 10; ++i) { b.f64(3.0); b.f64(i == 0 ? o.styleHeight0 : 3.0); b.f64(0); b.i32(1); }
  b.f64(3.0); b.f64(3.0); b.f64(0);
  b.i32(1); b.i32(1);
  b.f64(0); b.f64(0);
  b.i32(0);
  for (int i = 0; i < 5; ++i) b.f64(0);
  b.f64(o.lastValue);
}

struct Attr {
  uint32_t group = 0;
  uint8_t style = 1;
  uint16_t color = 1;
  uint16_t width = 1;
  uint16_t layer = 0;
  uint16_t glayer = 0;
  uint16_t flg = 0;
};

// The element and definition lists with the archive's class numbering.
class Stream {
 public:
  Stream(Bytes& b, int ver, bool utf16 = false) : b_(b), ver_(ver), utf16_(utf16) {}

  void Count(uint32_t n) {
    if (n < 0xFFFF) {
      b_.u16(static_cast<uint16_t>(n));
    } else {
      b_.u16(0xFFFF);
      b_.u32(n);
    }
  }
  void Tag(const std::string& cls) {
    uint32_t& s = slots_[cls];
    if (s == 0) {
      b_.u16(0xFFFF);
      b_.u16(static_cast<uint16_t>(ver_));
      b_.u16(static_cast<uint16_t>(cls.size()));
      b_.raw(cls.data(), cls.size());
      s = counter_++;
    } else if (s < 0x7FFF) {
      b_.u16(static_cast<uint16_t>(0x8000 + s));
    } else {
      b_.u16(0x7FFF);
      b_.u32(0x80000000u + s);
    }
  }
  void AttrBytes(const Attr& a) {
    b_.u32(a.group); b_.u8(a.style); b_.u16(a.color);
    if (ver_ >= 351) b_.u16(a.width);
    b_.u16(a.layer); b_.u16(a.glayer); b_.u16(a.flg);
  }
  void LineBody(const Attr& a, double x1, double y1, double x2, double y2) {
    AttrBytes(a); b_.f64(x1); b_.f64(y1); b_.f64(x2); b_.f64(y2);
  }
  void Line(const Attr& a, double x1, double y1, double x2, double y2) {
    Tag("CDataSen"); LineBody(a, x1, y1, x2, y2); ++counter_;
  }
  void Enko(const Attr& a, double cx, double cy, double r, double s, double w, double tilt, double f,
            uint32_t full) {
    Tag("CDataEnko");
    AttrBytes(a);
    b_.f64(cx); b_.f64(cy); b_.f64(r); b_.f64(s); b_.f64(w); b_.f64(tilt); b_.f64(f); b_.u32(full);
    ++counter_;
  }
  void TenBody(const Attr& a, double x, double y, uint32_t kariten = 0, uint32_t code = 0,
               double rot = 0, double scale = 1) {
    AttrBytes(a); b_.f64(x); b_.f64(y); b_.u32(kariten);
    if (a.style == 100) { b_.u32(code); b_.f64(rot); b_.f64(scale); }
  }
  void Ten(const Attr& a, double x, double y, uint32_t kariten = 0, uint32_t code = 0, double rot = 0,
           double scale = 1) {
    Tag("CDataTen"); TenBody(a, x, y, kariten, code, rot, scale); ++counter_;
  }
  void MojiBody(const Attr& a, double x1, double y1, double x2, double y2, const std::string& text,
                double sx = 3, double sy = 3, double gap = 0, double deg = 0, uint32_t kind = 1,
                const std::string& font = "MS Gothic") {
    AttrBytes(a);
    b_.f64(x1); b_.f64(y1); b_.f64(x2); b_.f64(y2); b_.u32(kind);
    b_.f64(sx); b_.f64(sy); b_.f64(gap); b_.f64(deg);
    b_.str(font, utf16_);
    b_.str(text, utf16_);
  }
  void Moji(const Attr& a, double x1, double y1, double x2, double y2, const std::string& text,
            double sx = 3, double sy = 3, double gap = 0, double deg = 0, uint32_t kind = 1) {
    Tag("CDataMoji"); MojiBody(a, x1, y1, x2, y2, text, sx, sy, gap, deg, kind); ++counter_;
  }
  // A dimension along (x1, y1)-(x2, y2) with its value text; sxf adds the
  // auxiliary parts (written from version 420 on whatever sxf holds).
  void Sunpo(const Attr& a, double x1, double y1, double x2, double y2, const std::string& text,
             uint16_t sxf = 0, const Attr& textAttr = Attr{}) {
    Tag("CDataSunpou");
    AttrBytes(a);
    LineBody(a, x1, y1, x2, y2);
    MojiBody(textAttr, x1, y1, x2, y1, text);
    if (ver_ >= 420) {
      b_.u16(sxf);
      LineBody(a, x1, y1 - 5, x1, y1);
      LineBody(a, x2, y2 - 5, x2, y2);
      Attr p = a;
      p.style = 1;
      TenBody(p, x1, y1); TenBody(p, x2, y2);
      Attr q = a;
      q.style = 100;
      TenBody(q, x1, y1, 0, 7, 0.5, 2.0); TenBody(q, x2, y2, 0, 7, 0.5, 2.0);
    }
    ++counter_;
  }
  void Solid(const Attr& a, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
             double y4, uint32_t color = 0) {
    Tag("CDataSolid");
    AttrBytes(a);
    b_.f64(x1); b_.f64(y1); b_.f64(x2); b_.f64(y2); b_.f64(x3); b_.f64(y3); b_.f64(x4); b_.f64(y4);
    if (a.color == 10) b_.u32(color);
    ++counter_;
  }
  void Block(const Attr& a, double x, double y, double sx, double sy, double rot, uint32_t number) {
    Tag("CDataBlock");
    AttrBytes(a);
    b_.f64(x); b_.f64(y); b_.f64(sx); b_.f64(sy); b_.f64(rot); b_.u32(number);
    ++counter_;
  }
  // Starts a definition; its members follow through the element calls.
  void Def(const Attr& a, uint32_t number, const std::string& name, uint32_t members, uint32_t dtime = 0,
           uint32_t referred = 0) {
    Tag("CDataList");
    AttrBytes(a);
    b_.u32(number); b_.u32(referred); b_.u32(dtime);
    if (dtime >= 0x80000000u) b_.fill(0xAB, 8);
    b_.str(name, utf16_);
    Count(members);
    ++counter_;
  }
  uint32_t counter() const { return counter_; }

 private:
  Bytes& b_;
  int ver_;
  bool utf16_;
  uint32_t counter_ = 1;
  std::map<std::string, uint32_t> slots_;
};

// Image section of a version 700 drawing.
struct Image {
  std::string name;
  std::string payload;
};
inline void Images(Bytes& b, const std::vector<Image>& images, bool utf16 = false) {
  b.i32(static_cast<int32_t>(images.size()));
  for (const auto& im : images) {
    b.str(im.name, utf16);
    b.i32(static_cast<int32_t>(im.payload.size()));
    b.raw(im.payload.data(), im.payload.size());
  }
}

// A file that starts with a complete header of version ver.
inline Bytes HeaderBytes(int ver) {
  Bytes b;
  HeaderOptions o;
  o.ver = ver;
  Header(b, o);
  return b;
}

// One element of every kind, a point and an arc solid with their tails, two
// definitions nested in a cycle, and from version 700 an image: a small
// drawing that reaches every path of the reader.
inline Bytes EveryKind(int ver, bool utf16 = false) {
  Bytes b;
  HeaderOptions o;
  o.ver = ver;
  o.utf16 = utf16;
  Header(b, o);
  Stream s(b, ver, utf16);
  Attr p100;
  p100.style = 100;
  Attr arc;
  arc.style = 101;
  s.Count(8);
  s.Line(Attr{}, 0, 0, 10, 10);
  s.Enko(Attr{}, 0, 0, 5, 0, 1, 0, 1, 0);
  s.Ten(p100, 1, 1, 0, 1, 0.5, 2);
  s.Moji(Attr{}, 0, 0, 10, 0, "^@BM%temp%a.png,10,10");
  s.Sunpo(Attr{}, 0, 0, 50, 0, "50", 1);
  s.Solid(arc, 0, 0, 5, 1, 0, 0, 1, 0);
  s.Block(Attr{}, 10, 10, 2, -1, 0.3, 1);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 2);
  s.Count(2);
  s.Def(Attr{}, 1, "one", 2);
  s.Line(Attr{}, 0, 0, 1, 0);
  s.Block(Attr{}, 1, 1, 1, 1, 1, 2);
  s.Def(Attr{}, 2, "two", 2);
  s.Enko(Attr{}, 0, 0, 1, 0, 0, 0, 1, 1);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 1);  // a cycle back to one
  if (ver >= 700) Images(b, {{"a.png.gz", "PAYLOAD"}}, utf16);
  return b;
}

}  // namespace fixture
