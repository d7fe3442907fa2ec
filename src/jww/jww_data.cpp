#include "jww/jww_data.h"

namespace jww {

TJwwData::TJwwData() { DataInit(); }

TJwwData::~TJwwData() { DataFree(); }

void TJwwData::DataInit() {
  FileOutOpt = 0;
  EntLgrp.clear();
  EntLay.clear();
  EntCol.clear();
  EntLtp1.clear();
  EntLtp2.clear();
  EntLtp3.clear();
  EntColS.clear();
  EntLtpS.clear();
  EntMoj.clear();
  EntNo.clear();
  EntLine.clear();
  EntLineN = 0;
  EntEnko.clear();
  EntEnkoN = 0;
  EntTen.clear();
  EntTenN = 0;
  EntMoji.clear();
  EntMojiN = 0;
  EntSunpo.clear();
  EntSunpoN = 0;
  EntSolid.clear();
  EntSolidN = 0;
  EntBlock.clear();
  EntBlockN = 0;
  EntBlockDef.clear();
  EntBlockDefN = 0;
  EntBlockTree.clear();
  EntBlockTreeN = 0;
  EntBlockNum = 0;
  BlockTreeTooLarge = false;

  Enthd = TEntJwwHeader{};
  Enthd.dPrtBairitsu = 1.0;
  Enthd.dMemoriHyoujiMin = 1.0;
  Enthd.dMemoriX = 1.0;
  Enthd.dMemoriY = 1.0;
  Enthd.dBairitsu = 1.0;
  Enthd.dHanniBairitsu = 1.0;
  for (int i = 1; i <= 8; ++i) {
    Enthd.dZoomJumpBairitsu[i] = 1.0;
    Enthd.nZoomJumpGLay[i] = -1;
  }
  BindImageInit();
  MojiEncode = false;
  ReadError.clear();
}

void TJwwData::DataFree() {
  // Release the definitions' memory too, not just their counts.
  std::vector<TEntJwwBlockDef>().swap(EntBlockDef);
  DataInit();
  std::vector<TEntJwwNo>().swap(EntNo);
  std::vector<TEntJwwLine>().swap(EntLine);
  std::vector<TEntJwwEnko>().swap(EntEnko);
  std::vector<TEntJwwTen>().swap(EntTen);
  std::vector<TEntJwwMoji>().swap(EntMoji);
  std::vector<TEntJwwSunpo>().swap(EntSunpo);
  std::vector<TEntJwwSolid>().swap(EntSolid);
  std::vector<TEntJwwBlock>().swap(EntBlock);
  std::vector<TEntJwwBlockTree>().swap(EntBlockTree);
}

void TJwwData::BindImageInit() {
  BindImage.clear();
  BindImageN = 0;
}

void TJwwData::SetFileOutOption(int32_t n) { FileOutOpt = (n >= 0 && n <= 63) ? n : 0; }

}  // namespace jww
