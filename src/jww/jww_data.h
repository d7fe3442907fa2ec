// TJwwData: one JWW drawing in memory, with the file operations on it.
// Element arrays keep their size equal to their counts between operations;
// deleting an element only empties its row in the file-order index EntNo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jww/jwwtype.h"
#include "platform/file_system.h"

namespace jww {

class JwwIn;
class JwwOut;

// Bounds of the block tree. Nesting can unfold a small file into more
// placements than any drawing holds; such a tree is not built, and the
// explosion refuses the drawing instead of exhausting memory.
inline constexpr size_t kMaxBlockTreeNodes = 5'000'000;
// Characters of the names copied into the nodes, counting only names too
// long to be held inside the node itself (more than 7 characters).
inline constexpr size_t kMaxBlockTreeNameUnits = 64'000'000;
// Elements a drawing may hold after its blocks are exploded (about 1 GB of
// output); a drawing that would exceed it is refused before any is placed.
inline constexpr int64_t kMaxExplodedElements = 10'000'000;

class TJwwData {
 public:
  TJwwData();   // Create
  ~TJwwData();  // Destroy

  void DataInit();
  void DataFree();

  // Quick test: starts like a JWW file of an accepted version.
  static bool FileCheck(const std::string& path);
  bool FileIn(const std::string& path);
  // Reads a whole file image from memory (same rules as FileIn).
  bool FileInMemory(const void* data, size_t n);
  void MakeBlockTree();

  void SetFileOutOption(int32_t n);
  int32_t ChangeBlockNo(int32_t n) const;
  bool FileOut(const std::string& fname, int32_t ver);
  // Writes the file image into memory (same rules as FileOut).
  bool FileOutMemory(std::vector<uint8_t>& out, int32_t ver);

  void BindImageInit();
  void BindImageDeleteGzFile();
  void BindImageDeleteNonGzFile();

  // False when the explosion is refused or fails; *why then says why.
  bool BlockExplode(std::string* why = nullptr);
  bool BlockExplodeLine(double bx, double by, double b1, double b2, double b3, double b4,
                        const TEntJwwLine& e, bool lf, int32_t l1, int32_t l2);
  bool BlockExplodeEnko(double bx, double by, double b1, double b2, double b3, double b4,
                        const TEntJwwEnko& e, bool lf, int32_t l1, int32_t l2);
  bool BlockExplodeTen(double bx, double by, double b1, double b2, double b3, double b4,
                       const TEntJwwTen& e, bool lf, int32_t l1, int32_t l2);
  bool BlockExplodeMoji(double bx, double by, double b1, double b2, double b3, double b4,
                        const TEntJwwMoji& e, bool lf, int32_t l1, int32_t l2);
  bool BlockExplodeSunpo(double bx, double by, double b1, double b2, double b3, double b4,
                         const TEntJwwSunpo& e, bool lf, int32_t l1, int32_t l2);
  bool BlockExplodeSolid(double bx, double by, double b1, double b2, double b3, double b4,
                         const TEntJwwSolid& e, bool lf, int32_t l1, int32_t l2);

  TEntJwwHeader Enthd;
  std::vector<TEntJwwLayerGroup> EntLgrp;
  std::vector<TEntJwwLayer> EntLay;
  std::vector<TEntJwwColorNo> EntCol;
  std::vector<TEntJwwLineTypeNo> EntLtp1;
  std::vector<TEntJwwRandomLineNo> EntLtp2;
  std::vector<TEntJwwLineTypeNo> EntLtp3;
  std::vector<TEntJwwColorExNo> EntColS;
  std::vector<TEntJwwLineTypeExNo> EntLtpS;
  std::vector<TEntJwwMojiType> EntMoj;
  std::vector<TEntJwwNo> EntNo;
  std::vector<TEntJwwLine> EntLine;
  int32_t EntLineN = 0;
  std::vector<TEntJwwEnko> EntEnko;
  int32_t EntEnkoN = 0;
  std::vector<TEntJwwTen> EntTen;
  int32_t EntTenN = 0;
  std::vector<TEntJwwMoji> EntMoji;
  int32_t EntMojiN = 0;
  std::vector<TEntJwwSunpo> EntSunpo;
  int32_t EntSunpoN = 0;
  std::vector<TEntJwwSolid> EntSolid;
  int32_t EntSolidN = 0;
  std::vector<TEntJwwBlock> EntBlock;
  int32_t EntBlockN = 0;
  std::vector<TEntJwwBlockDef> EntBlockDef;
  int32_t EntBlockDefN = 0;
  std::vector<TEntJwwBlockTree> EntBlockTree;
  int32_t EntBlockTreeN = 0;
  int32_t EntBlockNum = 0;
  // The nesting unfolds beyond the tree's bounds: the tree holds only the
  // top-level insertions.
  bool BlockTreeTooLarge = false;
  std::string BindImageFolder;  // ends with the path delimiter
  bool ExtractImages = true;    // false: images are read past, no file is made
  std::vector<TBindImageType> BindImage;
  int32_t BindImageN = 0;
  int32_t FileOutOpt = 0;
  bool MojiEncode = false;
  platform::IoErr FileOutError = platform::IoErr::kNone;  // why FileOut failed
  // Why the last read stopped before the end of the file; empty when the
  // whole file was read. What was read before the stop stays.
  std::string ReadError;

 private:
  bool ReadAll(JwwIn& in);
  void WriteAll(JwwOut& out, int32_t ver);
  void ReadBindImages(JwwIn& in);
  void WriteBindImages(JwwOut& out);
};

// Reads header items from an open stream at offset 0; false on any failure.
bool ReadHeader(TJwwData& doc, JwwIn& in);
void WriteHeader(TJwwData& doc, JwwOut& out, int32_t ver);

}  // namespace jww
