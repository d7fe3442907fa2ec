// The element arrays of the drawing's top level or of one block definition,
// seen alike: the file-order rows, the seven typed arrays and their counts.
#pragma once

#include <cstdint>
#include <vector>

#include "jww/jww_data.h"

namespace jww {

struct ElementLists {
  std::vector<TEntJwwNo>* rows;
  std::vector<TEntJwwLine>* line;
  std::vector<TEntJwwEnko>* enko;
  std::vector<TEntJwwTen>* ten;
  std::vector<TEntJwwMoji>* moji;
  std::vector<TEntJwwSunpo>* sunpo;
  std::vector<TEntJwwSolid>* solid;
  std::vector<TEntJwwBlock>* block;
  int32_t* counts[8];  // by element kind; [0] unused

  // Elements of a kind that a row may name: the count, never beyond the array.
  int32_t Available(int32_t kind) const;
};

ElementLists TopLevelLists(TJwwData& d);
ElementLists DefinitionLists(TEntJwwBlockDef& b);

}  // namespace jww
