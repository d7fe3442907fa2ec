// The block tree: every placement of every definition, top-level insertions
// first, nested ones appended breadth-first, each with its full transform.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "jww/jww_data.h"

namespace jww {

namespace {

// A drawing whose nesting would unfold into more placements than this is not
// a drawing but a trap; the walk stops there instead of exhausting memory.
constexpr size_t kMaxTreeNodes = 5'000'000;

struct Matrix {
  double c11, c12, c21, c22;
};

Matrix Placement(const TEntJwwBlock& b) {
  double t = b.radKaitenKaku;
  return {std::cos(t) * b.dBairitsuX, -std::sin(t) * b.dBairitsuY, std::sin(t) * b.dBairitsuX,
          std::cos(t) * b.dBairitsuY};
}

// First definition of each number, so matching a placement does not scan
// every definition.
using FirstDefinition = std::unordered_map<uint32_t, int32_t>;

FirstDefinition IndexDefinitions(const TJwwData& d) {
  FirstDefinition first;
  int32_t n = std::min<int64_t>(d.EntBlockDefN, static_cast<int64_t>(d.EntBlockDef.size()));
  first.reserve(static_cast<size_t>(std::max(n, 0)));
  for (int32_t i = 0; i < n; ++i) first.try_emplace(d.EntBlockDef[i].nNumber, i);
  return first;
}

void Match(TJwwData& d, const FirstDefinition& first, TEntJwwBlockTree& node) {
  node.defno = -1;
  node.name.clear();
  auto it = first.find(node.no);
  if (it == first.end()) return;
  TEntJwwBlockDef& def = d.EntBlockDef[it->second];
  node.defno = it->second;
  node.name = def.strName;
  def.ref_flag = true;
}

// A definition that inserts itself, directly or through others, would unfold
// without end: such a node is not expanded.
bool OnParentChain(const TJwwData& d, int32_t k, int32_t defno) {
  for (int32_t p = d.EntBlockTree[k].parent; p >= 0; p = d.EntBlockTree[p].parent)
    if (d.EntBlockTree[p].defno == defno) return true;
  return false;
}

void AppendChildren(TJwwData& d, const FirstDefinition& first, int32_t k) {
  // Values, not a reference: appending may move the tree.
  const TEntJwwBlockTree& at = d.EntBlockTree[k];
  struct {
    int32_t level;
    double x, y, r1, r2, r3, r4;
  } const parent{at.level, at.x, at.y, at.r1, at.r2, at.r3, at.r4};
  const TEntJwwBlockDef& def = d.EntBlockDef[at.defno];
  int32_t a = std::min<int64_t>(def.mBlockN, static_cast<int64_t>(def.mBlock.size()));
  for (int32_t l = 0; l < a; ++l) {
    if (d.EntBlockTree.size() >= kMaxTreeNodes) return;
    const TEntJwwBlock& b = def.mBlock[l];
    Matrix c = Placement(b);
    TEntJwwBlockTree n;
    n.att = def.att;
    n.level = parent.level + 1;
    n.parent = k;
    n.no = b.nNumber;
    double px = b.DPKijunTen_x, py = b.DPKijunTen_y;
    n.x = parent.x + parent.r1 * px + parent.r2 * py;
    n.y = parent.y + parent.r3 * px + parent.r4 * py;
    n.r1 = parent.r1 * c.c11 + parent.r2 * c.c21;
    n.r2 = parent.r1 * c.c12 + parent.r2 * c.c22;
    n.r3 = parent.r3 * c.c11 + parent.r4 * c.c21;
    n.r4 = parent.r3 * c.c12 + parent.r4 * c.c22;
    Match(d, first, n);
    d.EntBlockTree.push_back(std::move(n));
    d.EntBlockTreeN = static_cast<int32_t>(d.EntBlockTree.size());
  }
}

}  // namespace

void TJwwData::MakeBlockTree() {
  EntBlockTree.clear();
  EntBlockTreeN = 0;
  for (auto& def : EntBlockDef) {
    def.ref_flag = false;
    def.ref_no = -1;
  }
  if (EntBlockN <= 0) {
    EntBlockNum = 0;
    return;
  }
  const FirstDefinition first = IndexDefinitions(*this);
  int32_t top = std::min<int64_t>(EntBlockN, static_cast<int64_t>(EntBlock.size()));
  EntBlockTree.reserve(top);
  for (int32_t j = 0; j < top; ++j) {
    const TEntJwwBlock& b = EntBlock[j];
    Matrix c = Placement(b);
    TEntJwwBlockTree n;
    n.att = b.att;
    n.level = 0;
    n.parent = -1;
    n.no = b.nNumber;
    n.x = b.DPKijunTen_x;
    n.y = b.DPKijunTen_y;
    n.r1 = c.c11;
    n.r2 = c.c12;
    n.r3 = c.c21;
    n.r4 = c.c22;
    Match(*this, first, n);
    EntBlockTree.push_back(std::move(n));
  }
  EntBlockTreeN = static_cast<int32_t>(EntBlockTree.size());
  for (int32_t k = 0; k < EntBlockTreeN; ++k) {
    int32_t defno = EntBlockTree[k].defno;
    if (defno < 0 || OnParentChain(*this, k, defno)) continue;
    AppendChildren(*this, first, k);
  }
  EntBlockNum = 0;
  for (auto& def : EntBlockDef)
    if (def.ref_flag) def.ref_no = EntBlockNum++;
}

}  // namespace jww
