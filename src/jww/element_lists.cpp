#include "jww/element_lists.h"

#include <algorithm>

namespace jww {

namespace {

template <class V>
int32_t Bound(int32_t count, const V* v) {
  return static_cast<int32_t>(std::min<int64_t>(count, static_cast<int64_t>(v->size())));
}

}  // namespace

int32_t ElementLists::Available(int32_t kind) const {
  const int32_t n = *counts[kind];
  switch (kind) {
    case kEntLine: return Bound(n, line);
    case kEntEnko: return Bound(n, enko);
    case kEntTen: return Bound(n, ten);
    case kEntMoji: return Bound(n, moji);
    case kEntSunpo: return Bound(n, sunpo);
    case kEntSolid: return Bound(n, solid);
    case kEntBlock: return Bound(n, block);
    default: return 0;
  }
}

ElementLists TopLevelLists(TJwwData& d) {
  return {&d.EntNo,   &d.EntLine,  &d.EntEnko,
          &d.EntTen,  &d.EntMoji,  &d.EntSunpo,
          &d.EntSolid, &d.EntBlock,
          {nullptr, &d.EntLineN, &d.EntEnkoN, &d.EntTenN, &d.EntMojiN, &d.EntSunpoN, &d.EntSolidN, &d.EntBlockN}};
}

ElementLists DefinitionLists(TEntJwwBlockDef& b) {
  return {&b.mNo,   &b.mLine,  &b.mEnko,
          &b.mTen,  &b.mMoji,  &b.mSunpo,
          &b.mSolid, &b.mBlock,
          {nullptr, &b.mLineN, &b.mEnkoN, &b.mTenN, &b.mMojiN, &b.mSunpoN, &b.mSolidN, &b.mBlockN}};
}

}  // namespace jww
