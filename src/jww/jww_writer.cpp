// Writing a document as a JWW file of a chosen version: the header with its
// regenerated and clamped values, the element list and the referenced block
// definitions under one shared class numbering, and the image section.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

#include "jww/element_lists.h"
#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "jww/jww_strings.h"
#include "jww/jww_write_rules.h"

namespace jww {

namespace {

const char* const kClassNames[9] = {nullptr,      "CDataSen",   "CDataEnko",
                                    "CDataTen",   "CDataMoji",  "CDataSunpou",
                                    "CDataSolid", "CDataBlock", "CDataList"};

// SXF line types and colours have no equivalent before version 420.
uint8_t MapSxfStyle(uint8_t s) {
  static const uint8_t table[15] = {1, 4, 3, 6, 8, 8, 2, 5, 7, 6, 6, 8, 8, 17, 17};
  if (s >= 31 && s <= 45) return table[s - 31];
  if (s >= 46 && s <= 62) return 1;
  return s;
}

uint16_t MapSxfColour(uint16_t c) {
  static const uint8_t table[16] = {2, 8, 3, 6, 4, 5, 1, 2, 5, 8, 4, 3, 6, 5, 2, 2};
  if (c >= 101 && c <= 116) return table[c - 101];
  if (c >= 117 && c <= 356) return 1;
  return c;
}

bool StyleAllowed(uint8_t s, int kind) {
  switch (kind) {
    case kEntLine:
    case kEntEnko:
      return (s >= 1 && s <= 9) || (s >= 11 && s <= 19) || (s >= 31 && s <= 62);
    case kEntTen:
      return s == 1 || s == 100;
    case kEntMoji:
      return s >= 1 && s <= 9;
    default:
      return true;
  }
}

bool ColourAllowed(uint16_t c, int kind) {
  if (kind >= kEntLine && kind <= kEntSunpo) return (c >= 1 && c <= 9) || (c >= 101 && c <= 356);
  if (kind == kEntSolid) return (c >= 1 && c <= 10) || (c >= 101 && c <= 356);
  return true;
}

class Writer {
 public:
  Writer(TJwwData& d, JwwOut& out, int32_t ver) : d_(d), out_(out), ver_(ver) {
    // ChangeBlockNo for every number at once: the first definition of each
    // number decides.
    int32_t n = std::min<int64_t>(d.EntBlockDefN, static_cast<int64_t>(d.EntBlockDef.size()));
    for (int32_t k = 0; k < n; ++k) {
      const TEntJwwBlockDef& b = d.EntBlockDef[k];
      int32_t written = b.ref_flag ? b.ref_no : static_cast<int32_t>(b.nNumber);
      blockNo_.try_emplace(static_cast<int32_t>(b.nNumber), written);
    }
  }

  void Run() {
    WriteHeader(d_, out_, ver_);
    WriteElementList();
    WriteDefinitions();
  }

 private:
  void Str(const JString& s) { WriteArchiveString(d_, out_, s); }
  void CleanStr(const JString& s) {
    if (NeedsCleaning(s)) Str(CleanText(s));
    else Str(s);
  }

  int32_t ChangeBlockNo(int32_t n) const {
    auto it = blockNo_.find(n);
    return it == blockNo_.end() ? 0 : it->second;
  }

  void WriteCount(uint32_t n) {
    if (n <= 0xFFFE) {
      out_.U16(static_cast<uint16_t>(n));
    } else {
      out_.U16(0xFFFF);
      out_.U32(n);
    }
  }

  void WriteClassRef(uint32_t i) {
    if (i < 0x7FFF) {
      out_.U16(static_cast<uint16_t>(0x8000 + i));
    } else {
      out_.U16(0x7FFF);
      out_.U32(0x80000000u + i);
    }
  }

  void ClassTag(int kind) {
    if (slot_[kind] == 0) {
      out_.U16(0xFFFF);
      out_.U16(static_cast<uint16_t>(ver_));
      const char* name = kClassNames[kind];
      size_t n = std::char_traits<char>::length(name);
      out_.U16(static_cast<uint16_t>(n));
      out_.Write(name, n);
      slot_[kind] = counter_++;
    } else {
      WriteClassRef(slot_[kind]);
    }
  }

  // One fixed record packed in place.
  class Pack {
   public:
    Pack(JwwOut& out, size_t max) : out_(out), p_(out.Claim(max)) {}
    ~Pack() { out_.Commit(p_); }
    Pack(const Pack&) = delete;
    Pack& operator=(const Pack&) = delete;
    template <class T>
    Pack& operator<<(T v) {
      std::memcpy(p_, &v, sizeof v);
      p_ += sizeof v;
      return *this;
    }

   private:
    JwwOut& out_;
    uint8_t* p_;
  };
  static constexpr size_t kMaxFixed = 128;

  void WriteAttr(Pack& k, TEntJwwAttr a, int kind) {
    if (ver_ < 420 && (kind == kEntLine || kind == kEntEnko)) a.nPenStyle = MapSxfStyle(a.nPenStyle);
    if (ver_ < 420 && kind >= kEntLine && kind <= kEntSolid) a.nPenColor = MapSxfColour(a.nPenColor);
    if (!StyleAllowed(a.nPenStyle, kind)) a.nPenStyle = 1;
    if (!ColourAllowed(a.nPenColor, kind)) a.nPenColor = 1;
    if (a.nLayer > 15) a.nLayer = 0;
    if (a.nGLayer > 15) a.nGLayer = 0;
    if (a.nPenWidth > 30000) a.nPenWidth = 0;
    k << a.lGroup << a.nPenStyle << a.nPenColor;
    if (ver_ >= 351) k << a.nPenWidth;
    k << a.nLayer << a.nGLayer << a.sFlg;
  }

  void Line(const TEntJwwLine& e) {
    Pack k(out_, kMaxFixed);
    WriteAttr(k, e.att, kEntLine);
    k << e.start_x << e.start_y << e.end_x << e.end_y;
  }

  void Enko(const TEntJwwEnko& e) {
    Pack k(out_, kMaxFixed);
    WriteAttr(k, e.att, kEntEnko);
    k << e.start_x << e.start_y << e.dHankei << e.radKaishiKaku << e.radEnkoKaku << e.radKatamukiKaku
      << e.dHenpeiRitsu << e.bZenEnFlg;
  }

  void Ten(const TEntJwwTen& e) {
    Pack k(out_, kMaxFixed);
    WriteAttr(k, e.att, kEntTen);
    k << e.start_x << e.start_y << e.bKariten;
    if (e.att.nPenStyle == 100) k << e.nCode << e.radKaitenKaku << e.dBairitsu;
  }

  void Moji(const TEntJwwMoji& e) {
    {
      Pack k(out_, kMaxFixed);
      WriteAttr(k, e.att, kEntMoji);
      k << e.start_x << e.start_y << e.end_x << e.end_y << e.nMojiShu << ClampTextSize(e.dSizeX)
        << ClampTextSize(e.dSizeY) << StoredSpacing(e.dKankaku) << e.degKakudo;
    }
    CleanStr(e.strFontName);
    CleanStr(e.str);
  }

  void Sunpo(const TEntJwwSunpo& e) {
    {
      Pack k(out_, kMaxFixed);
      WriteAttr(k, e.att, kEntSunpo);
    }
    Line(e.Sen);
    Moji(e.Moji);
    if (ver_ >= 420) {
      out_.U16(e.bSxfMode);
      Line(e.Ho1); Line(e.Ho2);
      Ten(e.Te1); Ten(e.Te2); Ten(e.Kt1); Ten(e.Kt2);
    }
  }

  void Solid(const TEntJwwSolid& e) {
    Pack k(out_, kMaxFixed);
    WriteAttr(k, e.att, kEntSolid);
    k << e.start_x << e.start_y << e.end_x << e.end_y << e.DPoint2_x << e.DPoint2_y << e.DPoint3_x
      << e.DPoint3_y;
    if (e.att.nPenColor == 10) k << e.Color;
  }

  void Block(const TEntJwwBlock& e) {
    Pack k(out_, kMaxFixed);
    WriteAttr(k, e.att, kEntBlock);
    k << e.DPKijunTen_x << e.DPKijunTen_y << e.dBairitsuX << e.dBairitsuY << e.radKaitenKaku
      << static_cast<uint32_t>(ChangeBlockNo(static_cast<int32_t>(e.nNumber)));
  }

  // A definition takes its own number right after its member count.
  void WriteList(const ElementLists& a, size_t n, bool ofDefinition) {
    const std::vector<TEntJwwNo>& rows = *a.rows;
    n = std::min(n, rows.size());
    int32_t available[8] = {};
    for (int32_t kind = kEntLine; kind <= kEntBlock; ++kind) available[kind] = a.Available(kind);
    // Deleted rows (kind 0) and rows naming no element write nothing.
    auto names = [&](const TEntJwwNo& r) {
      return r.EntType >= kEntLine && r.EntType <= kEntBlock && r.EntNo >= 0 && r.EntNo < available[r.EntType];
    };
    uint32_t count = 0;
    for (size_t i = 0; i < n; ++i)
      if (names(rows[i])) ++count;
    WriteCount(count);
    if (ofDefinition) ++counter_;
    for (size_t i = 0; i < n; ++i) {
      const TEntJwwNo& r = rows[i];
      if (!names(r)) continue;
      ClassTag(r.EntType);
      switch (r.EntType) {
        case kEntLine: Line((*a.line)[r.EntNo]); break;
        case kEntEnko: Enko((*a.enko)[r.EntNo]); break;
        case kEntTen: Ten((*a.ten)[r.EntNo]); break;
        case kEntMoji: Moji((*a.moji)[r.EntNo]); break;
        case kEntSunpo: Sunpo((*a.sunpo)[r.EntNo]); break;
        case kEntSolid: Solid((*a.solid)[r.EntNo]); break;
        case kEntBlock: Block((*a.block)[r.EntNo]); break;
      }
      ++counter_;
    }
  }

  void WriteElementList() {
    WriteList(TopLevelLists(d_), static_cast<size_t>(std::max(d_.Enthd.n1, 0)), false);
  }

  void WriteDefinitions() {
    size_t n = std::min<size_t>(std::max(d_.Enthd.n2, 0), d_.EntBlockDef.size());
    // The count is that of the definitions actually written, so the list
    // always matches its count.
    uint32_t count = 0;
    for (size_t k = 0; k < n; ++k)
      if (d_.EntBlockDef[k].ref_flag) ++count;
    WriteCount(count);
    for (size_t k = 0; k < n; ++k) {
      TEntJwwBlockDef& b = d_.EntBlockDef[k];
      if (!b.ref_flag) continue;
      ClassTag(kEntBlockDef);
      {
        Pack p(out_, kMaxFixed);
        WriteAttr(p, b.att, kEntBlockDef);
        p << static_cast<uint32_t>(ChangeBlockNo(static_cast<int32_t>(b.nNumber))) << b.bRefferd << b.dtime;
      }
      CleanStr(b.strName);
      WriteList(DefinitionLists(b), static_cast<size_t>(std::max(b.N, 0)), true);
    }
  }

  TJwwData& d_;
  JwwOut& out_;
  int32_t ver_;
  uint32_t counter_ = 1;
  uint32_t slot_[9] = {};
  std::unordered_map<int32_t, int32_t> blockNo_;
};

}  // namespace

int32_t TJwwData::ChangeBlockNo(int32_t n) const {
  for (int32_t k = 0; k < EntBlockDefN && k < static_cast<int32_t>(EntBlockDef.size()); ++k) {
    const TEntJwwBlockDef& b = EntBlockDef[k];
    if (static_cast<int32_t>(b.nNumber) != n) continue;
    return b.ref_flag ? b.ref_no : n;
  }
  return 0;
}

void TJwwData::WriteAll(JwwOut& out, int32_t ver) {
  Writer(*this, out, ver).Run();
  if (ver >= 700) WriteBindImages(out);
}

bool TJwwData::FileOut(const std::string& fname, int32_t ver) {
  JwwOut out;
  // An existing file is never touched: only a file created here is removed.
  if (!out.CreateExclusive(fname)) return false;
  try {
    WriteAll(out, ver);
    out.Close();
    return true;
  } catch (const std::exception&) {
    out.Abandon();
    std::remove(fname.c_str());
    return false;
  }
}

bool TJwwData::FileOutMemory(std::vector<uint8_t>& bytes, int32_t ver) {
  JwwOut out;
  out.OpenMemory();
  try {
    WriteAll(out, ver);
    bytes = out.Memory();
    out.Close();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace jww
