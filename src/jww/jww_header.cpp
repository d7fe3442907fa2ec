// The JWW header: magic, version, memo and the drawing's settings and tables,
// some present only from a certain version on.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "jww/jww_strings.h"
#include "jww/jww_write_rules.h"

namespace jww {

namespace {

constexpr char kMagic[] = "JwwData.";

// Header fields are read without a check of their own: a read past the end of
// the file leaves the field as it was, and the final field decides.
template <class T>
void R(JwwIn& in, T& field) {
  in.Read(&field, sizeof field);
}

void SizeTables(TJwwData& d) {
  d.EntLgrp.assign(16, {});
  d.EntLay.assign(256, {});
  d.EntCol.assign(10, {});
  d.EntLtp1.assign(8, {});
  d.EntLtp2.assign(5, {});
  d.EntLtp3.assign(4, {});
  d.EntMoj.assign(10, {});
  d.EntColS.assign(257, {});
  d.EntLtpS.assign(33, {});
}

void DeriveSenHaba(TEntJwwHeader& h) {
  int32_t v = h.nMaxDrawWid;
  if (v >= -100) {
    h.bSenHaba100 = false;
    h.nMaxDrawWidBak = v;
  } else if (v >= -500 && v <= -401) {
    h.bSenHaba100 = true;
    h.nMaxDrawWidBak = 400 + v;  // 400 − |v|
  } else if (v >= -300 && v <= -201) {
    h.bSenHaba100 = true;
    h.nMaxDrawWidBak = -v - 200;  // |v| − 200
  } else {
    h.bSenHaba100 = true;
    h.nMaxDrawWidBak = -100;
  }
}

void RepairSize(double& v, double replacement) {
  if (!IsFiniteNumber(v)) v = replacement;
}

void ReadZoomJumps(JwwIn& in, TEntJwwHeader& h) {
  if (h.jwVer >= 231) {
    for (int i = 1; i <= 8; ++i) {
      R(in, h.dZoomJumpBairitsu[i]);
      R(in, h.DPZoomJumpGenten_x[i]);
      R(in, h.DPZoomJumpGenten_y[i]);
      R(in, h.nZoomJumpGLay[i]);
    }
    R(in, h.dDm11); R(in, h.dDm12); R(in, h.dDm13); R(in, h.lnDm1);
    R(in, h.dDm21); R(in, h.dDm22); R(in, h.dMojiBG); R(in, h.nMojiBG);
  } else {
    for (int i = 1; i <= 4; ++i) {
      R(in, h.dZoomJumpBairitsu[i]);
      R(in, h.DPZoomJumpGenten_x[i]);
      R(in, h.DPZoomJumpGenten_y[i]);
    }
  }
}

void ReadPenTables(JwwIn& in, TJwwData& d) {
  for (auto& c : d.EntCol) { R(in, c.aPenColor); R(in, c.anPenWidth); }
  for (auto& c : d.EntCol) { R(in, c.aPrtPenColor); R(in, c.anPrtPenWidth); R(in, c.adPrtTenHankei); }
  for (auto& t : d.EntLtp1) {
    R(in, t.alLType); R(in, t.anTokushuSenUintDot); R(in, t.anTokushuSenPich); R(in, t.anPrtTokushuSenPich);
  }
  for (auto& t : d.EntLtp2) {
    R(in, t.alLType); R(in, t.anRandSenWide); R(in, t.anTokushuSenPich);
    R(in, t.anPrtRandSenWide); R(in, t.anPrtTokushuSenPich);
  }
  for (auto& t : d.EntLtp3) {
    R(in, t.alLType); R(in, t.anTokushuSenUintDot); R(in, t.anTokushuSenPich); R(in, t.anPrtTokushuSenPich);
  }
}

void ReadSxfTables(JwwIn& in, TJwwData& d) {
  for (auto& c : d.EntColS) { R(in, c.aPenColor); R(in, c.anPenWidth); }
  for (auto& c : d.EntColS) {
    c.astrUDColorName = ReadCleanString(d, in);
    R(in, c.aPrtPenColor); R(in, c.anPrtPenWidth); R(in, c.adPrtTenHankei);
  }
  for (auto& t : d.EntLtpS) {
    R(in, t.alLType); R(in, t.anTokushuSenUintDot); R(in, t.anTokushuSenPich); R(in, t.anPrtTokushuSenPich);
  }
  for (auto& t : d.EntLtpS) {
    t.astrUDLTypeName = ReadCleanString(d, in);
    R(in, t.anUDLTypeSegment);
    for (int k = 1; k <= 10; ++k) R(in, t.aadUDLTypePitch[k]);
  }
}

void ReadHeaderItems(TJwwData& d, JwwIn& in) {
  TEntJwwHeader& h = d.Enthd;
  h.strMemo = ReadArchiveString(d, in);
  R(in, h.nZumen); R(in, h.nWriteGLay);
  for (int g = 0; g < 16; ++g) {
    auto& lg = d.EntLgrp[g];
    R(in, lg.anGLay); R(in, lg.anWriteLay); R(in, lg.adScale); R(in, lg.anGLayProtect);
    for (int l = 0; l < 16; ++l) {
      auto& ly = d.EntLay[g * 16 + l];
      R(in, ly.aanLay); R(in, ly.aanLayProtect);
    }
  }
  in.Skip(56);
  R(in, h.lnSunpou1); R(in, h.lnSunpou2); R(in, h.lnSunpou3); R(in, h.lnSunpou4); R(in, h.lnSunpou5);
  in.Skip(4);
  R(in, h.nMaxDrawWid);
  DeriveSenHaba(h);
  R(in, h.DPPrtGenten_x); R(in, h.DPPrtGenten_y); R(in, h.dPrtBairitsu);
  R(in, h.nPrtSet); R(in, h.nMemoriMode);
  R(in, h.dMemoriHyoujiMin); R(in, h.dMemoriX); R(in, h.dMemoriY);
  R(in, h.DpMemoriKjTen_x); R(in, h.DpMemoriKjTen_y);
  for (auto& ly : d.EntLay) ly.aStrLayName = ReadCleanString(d, in);
  for (auto& lg : d.EntLgrp) lg.aStrGLayName = ReadCleanString(d, in);
  R(in, h.dKageLevel); R(in, h.dKageIdo);
  R(in, h.nKage9_15JiFlg);
  R(in, h.dKabeKageLevel);
  if (h.jwVer >= 300) { R(in, h.dTenkuuZuLevel); R(in, h.dTenkuuZuEnkoR); }
  R(in, h.nMMTani3D);
  R(in, h.dBairitsu); R(in, h.DPGenten_x); R(in, h.DPGenten_y);
  R(in, h.dHanniBairitsu); R(in, h.DPHanniGenten_x); R(in, h.DPHanniGenten_y);
  ReadZoomJumps(in, h);
  for (double& f : h.adFukusenSuuchi) R(in, f);
  R(in, h.dRyougawaFukusenTomeDe);
  ReadPenTables(in, d);
  R(in, h.nDrawGamenTen); R(in, h.nDrawPrtTen); R(in, h.nBitMapFirstDraw); R(in, h.nGyakuDraw);
  R(in, h.nGyakuSearch); R(in, h.nColorPrint); R(in, h.nLayJunPrint); R(in, h.nColJunPrint);
  R(in, h.nPrtRenzoku); R(in, h.nPrtKyoutsuuGray);
  int32_t dpi = 0;
  R(in, dpi);
  h.nPrtDpi = dpi / 10;  // C++ division truncates toward zero
  h.nPrtDispOnlyNonDraw = dpi % 10;
  if (h.jwVer >= 223) {
    R(in, h.lnDrawTime); R(in, h.nEyeInit);
    R(in, h.dEye_H_Ichi_1); R(in, h.dEye_H_Ichi_2); R(in, h.dEye_H_Ichi_3);
    R(in, h.dEye_Z_Ichi_1); R(in, h.dEye_Y_Ichi_1); R(in, h.dEye_Z_Ichi_2);
    R(in, h.dEye_Y_Ichi_2); R(in, h.dEye_V_Ichi_3);
  }
  if (h.jwVer >= 225) {
    R(in, h.dSenNagasaSnpou); R(in, h.dBoxSunpouX); R(in, h.dBoxSunpouY); R(in, h.dEnHankeiSnpou);
  }
  if (h.jwVer >= 230) { R(in, h.nSolidNinniColor); R(in, h.SolidColor); }
  if (h.jwVer >= 420) ReadSxfTables(in, d);
  for (auto& m : d.EntMoj) {
    R(in, m.adMojiX); R(in, m.adMojiY); R(in, m.adMojiD); R(in, m.anMojiCol);
    RepairSize(m.adMojiX, 3.0);
    RepairSize(m.adMojiY, 3.0);
    RepairSize(m.adMojiD, 0.0);
  }
  R(in, h.dMojiSizeX); R(in, h.dMojiSizeY); R(in, h.dMojiKankaku);
  RepairSize(h.dMojiSizeX, 3.0);
  RepairSize(h.dMojiSizeY, 3.0);
  RepairSize(h.dMojiKankaku, 0.0);
  R(in, h.nMojiColor); R(in, h.nMojiShu);
  R(in, h.dMojiSeiriGyouKan); R(in, h.dMojiSeiriSuu);
  R(in, h.nMojiKijunZureOn);
  R(in, h.adMojiKijunZureX0); R(in, h.adMojiKijunZureX1); R(in, h.adMojiKijunZureX2);
  R(in, h.adMojiKijunZureY0); R(in, h.adMojiKijunZureY1);
  if (in.Read(&h.adMojiKijunZureY2, 8) == 0) throw JwwIoError(kErrFileIo);
}

bool IsMagic(const uint8_t* p) {
  return DecodeAnsiBytes(p, 8) == Ascii(kMagic);
}

template <class T>
void W(JwwOut& out, T v) {
  out.Write(&v, sizeof v);
}

int32_t ColourOrZero(int32_t c) { return (c < 0 || c > 0xFFFFFF) ? 0 : c; }
int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
JString NumberedName(const char* prefix, int row) {
  return Ascii(prefix) + Ascii(std::to_string(row).c_str());
}
JString NameOr(const JString& stored, const char* prefix, int row) {
  JString c = CleanText(stored);
  return StripBlanks(c).empty() ? NumberedName(prefix, row) : c;
}

void WritePenTables(const TJwwData& d, JwwOut& out) {
  for (const auto& c : d.EntCol) {
    W(out, ColourOrZero(c.aPenColor));
    W(out, Clamp(c.anPenWidth, 1, 16));
  }
  for (size_t i = 0; i < d.EntCol.size(); ++i) {
    const auto& c = d.EntCol[i];
    W(out, i == 0 ? int32_t{0xFFFFFF} : ColourOrZero(c.aPrtPenColor));
    W(out, Clamp(c.anPrtPenWidth, 1, 500));
    double r = c.adPrtTenHankei;
    if (r < 0.1) r = 0.1;
    if (r > 10) r = 10;
    W(out, r);
  }
  for (const auto& t : d.EntLtp1) {
    W(out, t.alLType); W(out, t.anTokushuSenUintDot); W(out, t.anTokushuSenPich); W(out, t.anPrtTokushuSenPich);
  }
  for (const auto& t : d.EntLtp2) {
    W(out, t.alLType); W(out, t.anRandSenWide); W(out, t.anTokushuSenPich);
    W(out, t.anPrtRandSenWide); W(out, t.anPrtTokushuSenPich);
  }
  for (const auto& t : d.EntLtp3) {
    W(out, t.alLType); W(out, t.anTokushuSenUintDot); W(out, t.anTokushuSenPich); W(out, t.anPrtTokushuSenPich);
  }
}

// Rows 17 to 32 with a segment count the CAD program cannot draw get a plain
// two-segment pattern instead.
bool IsFixedLineType(const TEntJwwLineTypeExNo& t, int row) {
  if (row < 17) return false;
  int s = t.anUDLTypeSegment;
  return !(s == 2 || s == 4 || s == 6 || s == 8);
}

void WriteSxfTables(const TJwwData& d, JwwOut& out) {
  for (const auto& c : d.EntColS) { W(out, c.aPenColor); W(out, c.anPenWidth); }
  for (int i = 0; i < static_cast<int>(d.EntColS.size()); ++i) {
    const auto& c = d.EntColS[i];
    WriteArchiveString(d, out, NameOr(c.astrUDColorName, "Color_", i));
    W(out, i <= 16 ? c.aPrtPenColor : c.aPenColor);
    // Extended rows keep their print width and dot radius as read.
    W(out, c.anPrtPenWidth);
    W(out, c.adPrtTenHankei);
  }
  for (int i = 0; i < static_cast<int>(d.EntLtpS.size()); ++i) {
    const auto& t = d.EntLtpS[i];
    if (IsFixedLineType(t, i)) {
      W(out, int32_t(0xC3C3C3C3u)); W(out, int32_t{8}); W(out, int32_t{1}); W(out, int32_t{8});
    } else {
      W(out, t.alLType == 0 ? int32_t{-1} : t.alLType);
      W(out, t.anTokushuSenUintDot); W(out, t.anTokushuSenPich); W(out, t.anPrtTokushuSenPich);
    }
  }
  for (int i = 0; i < static_cast<int>(d.EntLtpS.size()); ++i) {
    const auto& t = d.EntLtpS[i];
    if (IsFixedLineType(t, i)) {
      WriteArchiveString(d, out, NumberedName("LType_", i));
      W(out, int32_t{2});
      W(out, 1.0); W(out, 1.0);
      for (int k = 3; k <= 10; ++k) W(out, 0.0);
    } else {
      WriteArchiveString(d, out, NameOr(t.astrUDLTypeName, "LType_", i));
      W(out, t.anUDLTypeSegment);
      for (int k = 1; k <= 10; ++k) W(out, t.aadUDLTypePitch[k]);
    }
  }
}

}  // namespace

void WriteHeader(TJwwData& d, JwwOut& out, int32_t ver) {
  TEntJwwHeader& h = d.Enthd;
  h.jwID = Ascii(kMagic);
  out.Write(kMagic, 8);
  W(out, ver);
  WriteArchiveString(d, out, h.strMemo);
  W(out, h.nZumen); W(out, h.nWriteGLay);
  for (int g = 0; g < 16; ++g) {
    const auto& lg = d.EntLgrp[g];
    W(out, lg.anGLay); W(out, lg.anWriteLay); W(out, lg.adScale); W(out, lg.anGLayProtect);
    for (int l = 0; l < 16; ++l) {
      const auto& ly = d.EntLay[g * 16 + l];
      W(out, ly.aanLay); W(out, ly.aanLayProtect);
    }
  }
  out.Fill(0x20, 56);
  W(out, h.lnSunpou1); W(out, h.lnSunpou2); W(out, h.lnSunpou3); W(out, h.lnSunpou4); W(out, h.lnSunpou5);
  out.Fill(0x00, 4);
  W(out, (ver <= 420 && h.nMaxDrawWid < -101) ? int32_t{-101} : h.nMaxDrawWid);
  W(out, h.DPPrtGenten_x); W(out, h.DPPrtGenten_y); W(out, h.dPrtBairitsu);
  W(out, h.nPrtSet); W(out, h.nMemoriMode);
  W(out, h.dMemoriHyoujiMin); W(out, h.dMemoriX); W(out, h.dMemoriY);
  W(out, h.DpMemoriKjTen_x); W(out, h.DpMemoriKjTen_y);
  for (const auto& ly : d.EntLay) WriteArchiveString(d, out, CleanText(ly.aStrLayName));
  for (const auto& lg : d.EntLgrp) WriteArchiveString(d, out, CleanText(lg.aStrGLayName));
  W(out, h.dKageLevel); W(out, h.dKageIdo);
  W(out, h.nKage9_15JiFlg);
  W(out, h.dKabeKageLevel);
  if (ver >= 300) { W(out, h.dTenkuuZuLevel); W(out, h.dTenkuuZuEnkoR); }
  W(out, h.nMMTani3D);
  W(out, h.dBairitsu); W(out, h.DPGenten_x); W(out, h.DPGenten_y);
  W(out, h.dHanniBairitsu); W(out, h.DPHanniGenten_x); W(out, h.DPHanniGenten_y);
  if (ver > 230) {
    for (int i = 1; i <= 8; ++i) {
      W(out, h.dZoomJumpBairitsu[i]); W(out, h.DPZoomJumpGenten_x[i]);
      W(out, h.DPZoomJumpGenten_y[i]); W(out, h.nZoomJumpGLay[i]);
    }
    W(out, h.dDm11); W(out, h.dDm12); W(out, h.dDm13); W(out, h.lnDm1);
    W(out, h.dDm21); W(out, h.dDm22); W(out, h.dMojiBG); W(out, h.nMojiBG);
  } else {
    for (int i = 1; i <= 4; ++i) {
      W(out, h.dZoomJumpBairitsu[i]); W(out, h.DPZoomJumpGenten_x[i]); W(out, h.DPZoomJumpGenten_y[i]);
    }
  }
  for (double f : h.adFukusenSuuchi) W(out, f);
  W(out, h.dRyougawaFukusenTomeDe);
  WritePenTables(d, out);
  W(out, h.nDrawGamenTen); W(out, h.nDrawPrtTen); W(out, h.nBitMapFirstDraw); W(out, h.nGyakuDraw);
  W(out, h.nGyakuSearch); W(out, h.nColorPrint); W(out, h.nLayJunPrint); W(out, h.nColJunPrint);
  W(out, h.nPrtRenzoku); W(out, h.nPrtKyoutsuuGray);
  if (ver >= 600) {
    uint32_t dpi = static_cast<uint32_t>(h.nPrtDpi <= 0 ? 1 : h.nPrtDpi);
    // A negative mode (from a stored negative value) cannot share the value
    // with a resolution of 1 or more and read back as itself; it goes out
    // as 0, so a written drawing writes again unchanged.
    uint32_t mode = static_cast<uint32_t>(std::max(h.nPrtDispOnlyNonDraw, 0));
    W(out, static_cast<int32_t>(mode + 10u * dpi));
  } else {
    W(out, h.nPrtDispOnlyNonDraw);
  }
  if (ver >= 223) {
    W(out, h.lnDrawTime); W(out, h.nEyeInit);
    W(out, h.dEye_H_Ichi_1); W(out, h.dEye_H_Ichi_2); W(out, h.dEye_H_Ichi_3);
    W(out, h.dEye_Z_Ichi_1); W(out, h.dEye_Y_Ichi_1); W(out, h.dEye_Z_Ichi_2);
    W(out, h.dEye_Y_Ichi_2); W(out, h.dEye_V_Ichi_3);
  }
  if (ver >= 225) {
    W(out, h.dSenNagasaSnpou); W(out, h.dBoxSunpouX); W(out, h.dBoxSunpouY); W(out, h.dEnHankeiSnpou);
  }
  if (ver >= 230) { W(out, h.nSolidNinniColor); W(out, h.SolidColor); }
  if (ver >= 420) WriteSxfTables(d, out);
  for (const auto& m : d.EntMoj) {
    W(out, ClampTextSize(m.adMojiX)); W(out, ClampTextSize(m.adMojiY)); W(out, m.adMojiD); W(out, m.anMojiCol);
  }
  W(out, ClampTextSize(h.dMojiSizeX)); W(out, ClampTextSize(h.dMojiSizeY)); W(out, h.dMojiKankaku);
  W(out, h.nMojiColor); W(out, h.nMojiShu);
  W(out, h.dMojiSeiriGyouKan); W(out, h.dMojiSeiriSuu);
  W(out, h.nMojiKijunZureOn);
  W(out, h.adMojiKijunZureX0); W(out, h.adMojiKijunZureX1); W(out, h.adMojiKijunZureX2);
  W(out, h.adMojiKijunZureY0); W(out, h.adMojiKijunZureY1); W(out, h.adMojiKijunZureY2);
}

bool TJwwData::FileCheck(const std::string& path) {
  JwwIn in;
  if (!in.Open(path)) return false;
  uint8_t head[12];
  if (in.Read(head, 12) != 12) return false;
  if (!IsMagic(head)) return false;
  int32_t ver;
  std::memcpy(&ver, head + 8, 4);
  return ver >= 220 && ver <= 700;
}

bool ReadHeader(TJwwData& d, JwwIn& in) {
  try {
    SizeTables(d);
    uint8_t magic[8] = {};
    in.Read(magic, 8);
    if (!IsMagic(magic)) throw JwwIoError(kErrHeader);
    d.Enthd.jwID = Ascii(kMagic);
    int32_t ver = 0;
    in.Read(&ver, 4);
    d.Enthd.jwVer = ver;
    if (ver < 220 || ver > 700) throw JwwIoError(kErrVersion);
    ReadHeaderItems(d, in);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace jww
