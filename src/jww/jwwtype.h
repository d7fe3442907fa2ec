// Record types of a JWW drawing. Field order follows the file form; strings
// are UTF-16 in memory whatever form the file stores them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jww {

using JString = std::u16string;

// Element kinds as stored in the file-order index (EntNo rows).
enum : int32_t {
  kEntNone = 0,
  kEntLine = 1,
  kEntEnko = 2,
  kEntTen = 3,
  kEntMoji = 4,
  kEntSunpo = 5,
  kEntSolid = 6,
  kEntBlock = 7,
  kEntBlockDef = 8,  // attribute kind of a definition when writing
};

struct TEntJwwAttr {
  uint32_t lGroup = 0;
  uint8_t nPenStyle = 0;
  uint16_t nPenColor = 0;
  uint16_t nPenWidth = 0;
  uint16_t nLayer = 0;
  uint16_t nGLayer = 0;
  uint16_t sFlg = 0;
};

struct TEntJwwLine {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
};

struct TEntJwwEnko {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0;
  double dHankei = 0;
  double radKaishiKaku = 0;
  double radEnkoKaku = 0;
  double radKatamukiKaku = 0;
  double dHenpeiRitsu = 0;
  uint32_t bZenEnFlg = 0;
};

struct TEntJwwTen {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0;
  uint32_t bKariten = 0;
  uint32_t nCode = 0;
  double radKaitenKaku = 0;
  double dBairitsu = 0;
};

struct TEntJwwMoji {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  uint32_t nMojiShu = 0;
  double dSizeX = 0, dSizeY = 0;
  double dKankaku = 0;
  double degKakudo = 0;
  JString strFontName;
  JString str;
};

struct TEntJwwSunpo {
  TEntJwwAttr att;
  TEntJwwLine Sen;
  TEntJwwMoji Moji;
  uint16_t bSxfMode = 0;
  TEntJwwLine Ho1, Ho2;
  TEntJwwTen Te1, Te2, Kt1, Kt2;
};

struct TEntJwwSolid {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  double DPoint2_x = 0, DPoint2_y = 0, DPoint3_x = 0, DPoint3_y = 0;
  uint32_t Color = 0;
};

struct TEntJwwBlock {
  TEntJwwAttr att;
  double DPKijunTen_x = 0, DPKijunTen_y = 0;
  double dBairitsuX = 0, dBairitsuY = 0;
  double radKaitenKaku = 0;
  uint32_t nNumber = 0;
};

struct TEntJwwNo {
  int32_t EntType = 0;
  int32_t EntNo = 0;
};

struct TEntJwwBlockDef {
  TEntJwwAttr att;
  uint32_t nNumber = 0;
  uint32_t bRefferd = 0;
  uint32_t dtime = 0;
  JString strName;
  int32_t N = 0;
  std::vector<TEntJwwNo> mNo;
  int32_t mLineN = 0, mEnkoN = 0, mTenN = 0, mMojiN = 0, mSunpoN = 0,
          mSolidN = 0, mBlockN = 0;
  std::vector<TEntJwwLine> mLine;
  std::vector<TEntJwwEnko> mEnko;
  std::vector<TEntJwwTen> mTen;
  std::vector<TEntJwwMoji> mMoji;
  std::vector<TEntJwwSunpo> mSunpo;
  std::vector<TEntJwwSolid> mSolid;
  std::vector<TEntJwwBlock> mBlock;
  bool ref_flag = false;
  int32_t ref_no = -1;
};

struct TEntJwwBlockTree {
  TEntJwwAttr att;
  int32_t level = 0;
  int32_t parent = -1;
  uint32_t no = 0;
  int32_t defno = -1;
  JString name;
  double x = 0, y = 0;
  double r1 = 0, r2 = 0, r3 = 0, r4 = 0;
};

struct TEntJwwLayerGroup {
  int32_t anGLay = 0;
  int32_t anWriteLay = 0;
  double adScale = 0;
  int32_t anGLayProtect = 0;
  JString aStrGLayName;
};

struct TEntJwwLayer {
  int32_t aanLay = 0;
  int32_t aanLayProtect = 0;
  JString aStrLayName;
};

struct TEntJwwColorNo {
  int32_t aPenColor = 0;
  int32_t anPenWidth = 0;
  int32_t aPrtPenColor = 0;
  int32_t anPrtPenWidth = 0;
  double adPrtTenHankei = 0;
};

struct TEntJwwLineTypeNo {
  int32_t alLType = 0;
  int32_t anTokushuSenUintDot = 0;
  int32_t anTokushuSenPich = 0;
  int32_t anPrtTokushuSenPich = 0;
};

struct TEntJwwRandomLineNo {
  int32_t alLType = 0;
  int32_t anRandSenWide = 0;
  int32_t anTokushuSenPich = 0;
  int32_t anPrtRandSenWide = 0;
  int32_t anPrtTokushuSenPich = 0;
};

struct TEntJwwColorExNo {
  int32_t aPenColor = 0;
  int32_t anPenWidth = 0;
  JString astrUDColorName;
  int32_t aPrtPenColor = 0;
  int32_t anPrtPenWidth = 0;
  double adPrtTenHankei = 0;
};

struct TEntJwwLineTypeExNo {
  int32_t alLType = 0;
  int32_t anTokushuSenUintDot = 0;
  int32_t anTokushuSenPich = 0;
  int32_t anPrtTokushuSenPich = 0;
  JString astrUDLTypeName;
  int32_t anUDLTypeSegment = 0;
  double aadUDLTypePitch[11] = {};  // used 1..10
};

struct TEntJwwMojiType {
  double adMojiX = 0;
  double adMojiY = 0;
  double adMojiD = 0;
  int32_t anMojiCol = 0;
};

struct TBindImageType {
  JString Fname;
  int32_t Fsize = 0;
  bool exf = false;
};

// Header values in file order. Arrays indexed from 1 keep slot 0 unused so
// the indices read as in the file description.
struct TEntJwwHeader {
  JString jwID;
  int32_t jwVer = 0;
  JString strMemo;
  int32_t nZumen = 0, nWriteGLay = 0;
  int32_t lnSunpou1 = 0, lnSunpou2 = 0, lnSunpou3 = 0, lnSunpou4 = 0,
          lnSunpou5 = 0;
  int32_t nMaxDrawWid = 0;
  double DPPrtGenten_x = 0, DPPrtGenten_y = 0, dPrtBairitsu = 0;
  int32_t nPrtSet = 0, nMemoriMode = 0;
  double dMemoriHyoujiMin = 0, dMemoriX = 0, dMemoriY = 0, DpMemoriKjTen_x = 0,
         DpMemoriKjTen_y = 0;
  double dKageLevel = 0, dKageIdo = 0;
  int32_t nKage9_15JiFlg = 0;
  double dKabeKageLevel = 0;
  double dTenkuuZuLevel = 0, dTenkuuZuEnkoR = 0;
  int32_t nMMTani3D = 0;
  double dBairitsu = 0, DPGenten_x = 0, DPGenten_y = 0, dHanniBairitsu = 0,
         DPHanniGenten_x = 0, DPHanniGenten_y = 0;
  double dZoomJumpBairitsu[9] = {};
  double DPZoomJumpGenten_x[9] = {};
  double DPZoomJumpGenten_y[9] = {};
  int32_t nZoomJumpGLay[9] = {};
  double dDm11 = 0, dDm12 = 0, dDm13 = 0;
  int32_t lnDm1 = 0;
  double dDm21 = 0, dDm22 = 0, dMojiBG = 0;
  int32_t nMojiBG = 0;
  double adFukusenSuuchi[10] = {};
  double dRyougawaFukusenTomeDe = 0;
  int32_t nDrawGamenTen = 0, nDrawPrtTen = 0, nBitMapFirstDraw = 0,
          nGyakuDraw = 0, nGyakuSearch = 0, nColorPrint = 0, nLayJunPrint = 0,
          nColJunPrint = 0, nPrtRenzoku = 0, nPrtKyoutsuuGray = 0;
  int32_t nPrtDpi = 0, nPrtDispOnlyNonDraw = 0;
  int32_t lnDrawTime = 0, nEyeInit = 0, dEye_H_Ichi_1 = 0, dEye_H_Ichi_2 = 0,
          dEye_H_Ichi_3 = 0;
  double dEye_Z_Ichi_1 = 0, dEye_Y_Ichi_1 = 0, dEye_Z_Ichi_2 = 0,
         dEye_Y_Ichi_2 = 0, dEye_V_Ichi_3 = 0;
  double dSenNagasaSnpou = 0, dBoxSunpouX = 0, dBoxSunpouY = 0,
         dEnHankeiSnpou = 0;
  int32_t nSolidNinniColor = 0, SolidColor = 0;
  double dMojiSizeX = 0, dMojiSizeY = 0, dMojiKankaku = 0;
  int32_t nMojiColor = 0, nMojiShu = 0;
  double dMojiSeiriGyouKan = 0, dMojiSeiriSuu = 0;
  int32_t nMojiKijunZureOn = 0;
  double adMojiKijunZureX0 = 0, adMojiKijunZureX1 = 0, adMojiKijunZureX2 = 0,
         adMojiKijunZureY0 = 0, adMojiKijunZureY1 = 0, adMojiKijunZureY2 = 0;
  // Derived on reading from nMaxDrawWid.
  bool bSenHaba100 = false;
  int32_t nMaxDrawWidBak = 0;
  // Not stored in the header: rows of EntNo and definitions read.
  int32_t n1 = 0, n2 = 0;
};

}  // namespace jww
