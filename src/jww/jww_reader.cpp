// Reading a whole JWW file: header, the element list and the block
// definitions in the archive's class-tag scheme, then the embedded images.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "jww/element_lists.h"
#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "jww/jww_strings.h"
#include "jww/large_pages.h"

namespace jww {

namespace {

// A checked read of one element delivered no byte: that element is dropped,
// the read goes on.
struct ElementFailure {};
// The file holds no byte of a definition's fixed part: it fails the whole
// read, and a definition row made only for it goes again.
struct DefinitionMissing {};

const char* const kElementClasses[8] = {nullptr,     "CDataSen",    "CDataEnko",
                                        "CDataTen",  "CDataMoji",   "CDataSunpou",
                                        "CDataSolid", "CDataBlock"};

constexpr size_t kScratch = 2048;

// Decodes little-endian fields from a fixed part already read into memory.
class Cursor {
 public:
  explicit Cursor(const uint8_t* p) : p_(p) {}
  template <class T>
  void operator()(T& v) {
    std::memcpy(&v, p_, sizeof v);
    p_ += sizeof v;
  }

 private:
  const uint8_t* p_;
};

class Reader {
 public:
  Reader(TJwwData& d, JwwIn& in)
      : d_(d), in_(in), ver_(d.Enthd.jwVer), newForm_(ver_ >= 351), attSize_(newForm_ ? 15 : 13) {}

  void ElementList() {
    uint32_t c = ReadCount();
    d_.Enthd.n1 = 0;
    d_.Enthd.n2 = 0;
    d_.EntBlockDefN = 0;
    ElementLists t = TopLevelLists(d_);
    ReadList(c, t, d_.Enthd.n1);
  }

  void Definitions() {
    section_ = "block definitions";
    uint32_t n = ReadCount();
    if (n == 0) return;
    // Tag, fixed part, name and member count: at least 30 bytes each. A
    // count beyond that gets its rows only as definitions are read.
    const uint64_t backed = in_.Remaining() / 30;
    if (n <= backed) d_.EntBlockDef.assign(n, TEntJwwBlockDef{});
    else d_.EntBlockDef.reserve(backed);
    for (uint32_t j = 1; j <= n; ++j) {
      const bool added = d_.EntBlockDef.size() < j;
      if (added) d_.EntBlockDef.emplace_back();
      d_.EntBlockDefN = d_.Enthd.n2 = static_cast<int32_t>(d_.EntBlockDef.size());
      try {
        Definition(d_.EntBlockDef[j - 1], j);
      } catch (const DefinitionMissing&) {
        if (added) {
          d_.EntBlockDef.pop_back();
          d_.EntBlockDefN = d_.Enthd.n2 = static_cast<int32_t>(d_.EntBlockDef.size());
        }
        throw JwwIoError(kErrFileIo);
      }
    }
  }

  // Where the read is, for the reason of a stop.
  const char* Section() const { return section_; }
  void Enter(const char* section) { section_ = section; }

 private:
  uint32_t ReadCount() {
    uint32_t c = in_.U16();
    if (c == 0xFFFF) c = in_.U32();
    return c;
  }

  // Reads a class name after a new-class tag; returns the element kind, 0 when
  // the name is none of the element classes.
  int ReadClassName() {
    in_.U16();  // schema
    uint16_t len = in_.U16();
    if (len > kScratch || len > in_.Remaining()) return 0;
    in_.MustRead(scratch_, len);
    JString name = DecodeAnsiBytes(scratch_, len);
    for (int k = 1; k <= 7; ++k)
      if (name == Ascii(kElementClasses[k])) return k;
    return 0;
  }

  int KindOfIndex(uint32_t index) const {
    if (index == 0) return 0;
    for (int k = 1; k <= 7; ++k)
      if (slot_[k] == index) return k;
    return 0;
  }

  int ReadTag() {
    uint16_t tag = in_.U16();
    if (tag == 0xFFFF) {
      int kind = ReadClassName();
      if (kind == 0) throw JwwIoError(kErrFileIo);
      slot_[kind] = counter_++;
      return kind;
    }
    if (tag == 0x7FFF) return KindOfIndex(in_.U32() & 0x7FFFFFFFu);
    if (tag >= 0x8000) return KindOfIndex(tag - 0x8000u);
    return 0;  // an object reference names no class here
  }

  // Reserves room for as many elements of each kind as the rest of the file
  // could hold, so appending never moves an array. Only the address space is
  // taken: pages the elements never fill are never touched.
  void Reserve(uint32_t c, ElementLists& t) {
    const uint64_t left = in_.Remaining();
    auto room = [&](auto& v, uint64_t minBytes) {
      uint64_t n = std::min<uint64_t>(c, left / minBytes);
      try {
        v.reserve(v.size() + n);
        AdviseLargePages(v);
      } catch (const std::exception&) {
        // Without the reservation the arrays simply grow as they go.
      }
    };
    // Smallest stored form of each kind: tag, old-form fixed part, empty strings.
    room(*t.line, 2 + 45);
    room(*t.enko, 2 + 73);
    room(*t.ten, 2 + 33);
    room(*t.moji, 2 + 81 + 2);
    room(*t.sunpo, 2 + 13 + 45 + 81 + 2);
    room(*t.solid, 2 + 77);
    room(*t.block, 2 + 57);
  }

  // Reads c items into t. A count the rest of the file can back (each item
  // needs at least a tag) gets its rows at once, as the format has it; a
  // larger one gets rows only as items are really read, so it costs no
  // memory the file does not justify. When the read fails, the rows read so
  // far stay and `held` says how many rows the list has.
  void ReadList(uint32_t c, ElementLists& t, int32_t& held) {
    std::vector<TEntJwwNo>& rows = *t.rows;
    const bool backed = c <= in_.Remaining() / 2;
    rows.reserve(std::min<uint64_t>(c, in_.Remaining() / 2));
    AdviseLargePages(rows);
    Reserve(c, t);
    try {
      for (uint32_t k = 0; k < c;) {
        int kind = ReadTag();
        if (kind == 0) continue;
        int32_t row = -1;
        try {
          row = ReadElement(kind, t);
        } catch (const ElementFailure&) {
          row = -1;
        }
        if (row >= 0) rows.push_back(TEntJwwNo{kind, row});
        ++k;
        ++counter_;
      }
    } catch (...) {
      if (backed) rows.resize(c);
      held = static_cast<int32_t>(rows.size());
      throw;
    }
    rows.resize(c);  // the rows of failed elements come last, empty
    held = static_cast<int32_t>(c);
  }

  template <class V>
  static int32_t Append(V& v, int32_t& count) {
    v.emplace_back();
    return count++;
  }
  template <class V>
  static void Drop(V& v, int32_t& count) {
    v.pop_back();
    --count;
  }

  int32_t ReadElement(int kind, ElementLists& t) {
    int32_t& n = *t.counts[kind];
    switch (kind) {
      case kEntLine: return Guard(*t.line, n, [&](auto& e) { Line(e, true); });
      case kEntEnko: return Guard(*t.enko, n, [&](auto& e) { Enko(e); });
      case kEntTen: return Guard(*t.ten, n, [&](auto& e) { Ten(e, true, false); });
      case kEntMoji: return Guard(*t.moji, n, [&](auto& e) { Moji(e, true); });
      case kEntSunpo: return Guard(*t.sunpo, n, [&](auto& e) { Sunpo(e); });
      case kEntSolid: return Guard(*t.solid, n, [&](auto& e) { Solid(e); });
      case kEntBlock: return Guard(*t.block, n, [&](auto& e) { Block(e); });
    }
    return -1;
  }

  // Appends a row, reads into it and takes it back when the element fails.
  template <class V, class F>
  int32_t Guard(V& v, int32_t& count, F read) {
    int32_t row = Append(v, count);
    try {
      read(v.back());
    } catch (const ElementFailure&) {
      Drop(v, count);
      return -1;
    } catch (...) {
      Drop(v, count);  // keep counts true to what was read
      throw;
    }
    return row;
  }

  // Reads a fixed part into the scratch buffer. A checked read that delivers
  // no byte fails the element; bytes the file does not supply read as zero.
  const uint8_t* Fixed(size_t n, bool checked) {
    if (const uint8_t* p = in_.Take(n)) return p;
    return FixedAcrossBuffer(n, checked);
  }

  // Out of line: the rare read that straddles a buffer refill or the end.
  [[gnu::noinline]] const uint8_t* FixedAcrossBuffer(size_t n, bool checked) {
    size_t got = in_.Read(scratch_, n);
    if (got == 0 && checked) throw ElementFailure{};
    if (got < n) std::memset(scratch_ + got, 0, n - got);
    return scratch_;
  }

  void Attr(Cursor& c, TEntJwwAttr& a) {
    c(a.lGroup);
    c(a.nPenStyle);
    c(a.nPenColor);
    if (newForm_) c(a.nPenWidth);
    else a.nPenWidth = 0;
    c(a.nLayer);
    c(a.nGLayer);
    c(a.sFlg);
  }

  void Line(TEntJwwLine& e, bool checked) {
    Cursor c(Fixed(attSize_ + 32, checked));
    Attr(c, e.att);
    c(e.start_x); c(e.start_y); c(e.end_x); c(e.end_y);
  }

  void Enko(TEntJwwEnko& e) {
    Cursor c(Fixed(attSize_ + 60, true));
    Attr(c, e.att);
    c(e.start_x); c(e.start_y); c(e.dHankei); c(e.radKaishiKaku); c(e.radEnkoKaku);
    c(e.radKatamukiKaku); c(e.dHenpeiRitsu); c(e.bZenEnFlg);
  }

  // zeroDefaults: dimension points without a tail carry 0 scale, not 1.
  void Ten(TEntJwwTen& e, bool checked, bool zeroDefaults) {
    Cursor c(Fixed(attSize_ + 20, checked));
    Attr(c, e.att);
    c(e.start_x); c(e.start_y); c(e.bKariten);
    if (e.att.nPenStyle == 100) {
      Cursor t(Fixed(20, false));
      t(e.nCode); t(e.radKaitenKaku); t(e.dBairitsu);
    } else {
      e.nCode = 0;
      e.radKaitenKaku = 0;
      e.dBairitsu = zeroDefaults ? 0.0 : 1.0;
    }
  }

  void Moji(TEntJwwMoji& e, bool checked) {
    Cursor c(Fixed(attSize_ + 68, checked));
    Attr(c, e.att);
    c(e.start_x); c(e.start_y); c(e.end_x); c(e.end_y); c(e.nMojiShu);
    c(e.dSizeX); c(e.dSizeY); c(e.dKankaku); c(e.degKakudo);
    e.strFontName = ReadCleanString(d_, in_);
    e.str = ReadCleanString(d_, in_);
    if (!IsFiniteNumber(e.dSizeX)) e.dSizeX = 3.0;
    if (!IsFiniteNumber(e.dSizeY)) e.dSizeY = 3.0;
    if (!IsFiniteNumber(e.dKankaku)) e.dKankaku = 0.0;
  }

  void Sunpo(TEntJwwSunpo& e) {
    {
      Cursor c(Fixed(attSize_, false));
      Attr(c, e.att);
    }
    Line(e.Sen, false);
    Moji(e.Moji, true);
    if (ver_ >= 420) {
      Cursor c(Fixed(2, false));
      c(e.bSxfMode);
      Line(e.Ho1, false);
      Line(e.Ho2, false);
      Ten(e.Te1, false, true);
      Ten(e.Te2, false, true);
      Ten(e.Kt1, false, true);
      Ten(e.Kt2, true, true);
      return;
    }
    // Older files have no auxiliary parts; they take the dimension's attribute.
    e.bSxfMode = 0;
    e.Ho1 = TEntJwwLine{e.att};
    e.Ho2 = TEntJwwLine{e.att};
    TEntJwwTen p{};
    p.att = e.att;
    p.att.nPenStyle = 0;
    e.Te1 = e.Te2 = e.Kt1 = e.Kt2 = p;
  }

  void Solid(TEntJwwSolid& e) {
    Cursor c(Fixed(attSize_ + 64, true));
    Attr(c, e.att);
    c(e.start_x); c(e.start_y); c(e.end_x); c(e.end_y);
    c(e.DPoint2_x); c(e.DPoint2_y); c(e.DPoint3_x); c(e.DPoint3_y);
    if (e.att.nPenColor == 10) {
      Cursor k(Fixed(4, false));
      k(e.Color);
    } else {
      e.Color = 0;
    }
  }

  void Block(TEntJwwBlock& e) {
    Cursor c(Fixed(attSize_ + 44, true));
    Attr(c, e.att);
    c(e.DPKijunTen_x); c(e.DPKijunTen_y); c(e.dBairitsuX); c(e.dBairitsuY); c(e.radKaitenKaku);
    c(e.nNumber);
  }

  void Definition(TEntJwwBlockDef& b, uint32_t j) {
    try {
      DefinitionTag();
    } catch (const JwwIoError&) {
      throw DefinitionMissing{};
    }
    size_t n = attSize_ + 12;
    size_t got = in_.Read(scratch_, n);
    if (got == 0) throw DefinitionMissing{};
    if (got < n) std::memset(scratch_ + got, 0, n - got);
    Cursor c(scratch_);
    Attr(c, b.att);
    c(b.nNumber); c(b.bRefferd); c(b.dtime);
    if (b.dtime >= 0x80000000u) {
      in_.Skip(8);
      b.dtime = j;
    }
    b.strName = ReadCleanString(d_, in_);
    uint32_t m = ReadCount();
    ++counter_;
    ElementLists t = DefinitionLists(b);
    ReadList(m, t, b.N);
    ShrinkMembers(b);
  }

  void DefinitionTag() {
    uint16_t tag = in_.U16();
    if (tag == 0xFFFF) {
      in_.U16();
      uint16_t len = in_.U16();
      if (len > in_.Remaining()) throw JwwIoError(kErrFileIo);
      in_.Skip(len);
      ++counter_;
    } else if (tag == 0x7FFF) {
      in_.U32();
    }
  }

  static void ShrinkMembers(TEntJwwBlockDef& b) {
    b.mLine.shrink_to_fit();
    b.mEnko.shrink_to_fit();
    b.mTen.shrink_to_fit();
    b.mMoji.shrink_to_fit();
    b.mSunpo.shrink_to_fit();
    b.mSolid.shrink_to_fit();
    b.mBlock.shrink_to_fit();
  }

  TJwwData& d_;
  JwwIn& in_;
  int32_t ver_;
  bool newForm_;
  size_t attSize_;
  uint32_t counter_ = 1;
  uint32_t slot_[8] = {};
  const char* section_ = "element list";
  uint8_t scratch_[kScratch];
};

// Why a read stopped inside the lists or the image section.
std::string ListStop(const char* section, const JwwIn& in) {
  const std::string at = std::to_string(in.Position());
  if (in.Remaining() == 0) return "the file ends at byte " + at + " inside the " + section;
  return "damaged at byte offset " + at + " inside the " + section;
}

std::string HeaderStop(int32_t ver, const JwwIn& in) {
  if (in.Position() >= 12 && (ver < 220 || ver > 700)) return "version " + std::to_string(ver) + " is not read";
  if (in.Remaining() == 0) return "the file ends at byte " + std::to_string(in.Position()) + " inside the header";
  return "the header is damaged";
}

}  // namespace

bool TJwwData::ReadAll(JwwIn& in) {
  DataInit();
  if (!in.IsOpen()) {
    ReadError = "cannot be opened as a regular file";
    MakeBlockTree();
    return false;
  }
  if (!ReadHeader(*this, in)) {
    ReadError = HeaderStop(Enthd.jwVer, in);
    return false;
  }
  bool ok = true;
  Reader r(*this, in);
  try {
    r.ElementList();
    r.Definitions();
    if (Enthd.jwVer >= 700) {
      r.Enter("image section");
      BindImageInit();
      ReadBindImages(in);
    }
  } catch (const std::bad_alloc&) {
    ok = false;
    ReadError = "out of memory at byte offset " + std::to_string(in.Position());
  } catch (const std::exception&) {
    ok = false;
    ReadError = ListStop(r.Section(), in);
  }
  in.Close();
  MakeBlockTree();
  return ok;
}

bool TJwwData::FileIn(const std::string& path) {
  JwwIn in;
  in.Open(path);
  return ReadAll(in);
}

bool TJwwData::FileInMemory(const void* data, size_t n) {
  JwwIn in;
  in.OpenMemory(data, n);
  return ReadAll(in);
}

}  // namespace jww
