// The block tree: every placement of every definition, top-level insertions
// first, nested ones appended breadth-first, each with its full transform.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "jww/jww_data.h"

namespace jww {

namespace {

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

int32_t DefinitionOf(const FirstDefinition& first, uint32_t no) {
  auto it = first.find(no);
  return it == first.end() ? -1 : it->second;
}

int32_t NestedCount(const TEntJwwBlockDef& def) {
  return static_cast<int32_t>(std::min<int64_t>(std::max(def.mBlockN, 0), static_cast<int64_t>(def.mBlock.size())));
}

void Match(TJwwData& d, const FirstDefinition& first, TEntJwwBlockTree& node) {
  node.defno = DefinitionOf(first, node.no);
  node.name.clear();
  if (node.defno < 0) return;
  TEntJwwBlockDef& def = d.EntBlockDef[node.defno];
  node.name = def.strName;
  def.ref_flag = true;
}

// The shape of the tree, found depth first before any node is made: for
// every placement in depth-first order, how many placements its subtree
// holds (itself included). Depth first, "is this definition already on the
// chain of parents" is one flag per definition, so the cost is one step per
// placement however deep the nesting. A definition on its own chain is not
// expanded: that stops cycles.
class TreeShape {
  // Names up to this long live inside the string object, costing no more.
  static constexpr size_t kShortName = 7;

 public:
  TreeShape(const TJwwData& d, const FirstDefinition& first)
      : d_(d), first_(first), onChain_(d.EntBlockDef.size(), 0) {}

  // Adds a top-level placement; false when the tree outgrows its bounds.
  bool AddTop(int32_t defno) {
    if (!Add(defno)) return false;
    if (defno >= 0) Walk(defno);
    return !over_;
  }
  int32_t Size(int32_t at) const { return size_[at]; }
  size_t Total() const { return size_.size(); }

 private:
  struct Open {
    int32_t defno, next, at;
  };

  bool Add(int32_t defno) {
    size_.push_back(1);
    if (defno >= 0 && d_.EntBlockDef[defno].strName.size() > kShortName)
      nameUnits_ += d_.EntBlockDef[defno].strName.size();
    over_ = size_.size() > kMaxBlockTreeNodes || nameUnits_ > kMaxBlockTreeNameUnits;
    return !over_;
  }

  void Walk(int32_t root) {
    std::vector<Open> stack{{root, 0, static_cast<int32_t>(size_.size()) - 1}};
    onChain_[root] = 1;
    while (!stack.empty()) {
      Open& o = stack.back();
      const TEntJwwBlockDef& def = d_.EntBlockDef[o.defno];
      if (o.next < NestedCount(def)) {
        const int32_t child = DefinitionOf(first_, def.mBlock[o.next++].nNumber);
        if (!Add(child)) return;
        if (child >= 0 && !onChain_[child]) {
          onChain_[child] = 1;
          stack.push_back({child, 0, static_cast<int32_t>(size_.size()) - 1});
        }
        continue;
      }
      size_[o.at] = static_cast<int32_t>(size_.size()) - o.at;
      onChain_[o.defno] = 0;
      stack.pop_back();
    }
  }

  const TJwwData& d_;
  const FirstDefinition& first_;
  std::vector<uint8_t> onChain_;
  std::vector<int32_t> size_;
  size_t nameUnits_ = 0;
  bool over_ = false;
};

TEntJwwBlockTree TopNode(const TEntJwwBlock& b) {
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
  return n;
}

// The node of nested insertion b inside definition def, placed by node k.
TEntJwwBlockTree NestedNode(const TEntJwwBlockTree& at, int32_t k, const TEntJwwBlockDef& def,
                            const TEntJwwBlock& b) {
  Matrix c = Placement(b);
  TEntJwwBlockTree n;
  n.att = def.att;
  n.level = at.level + 1;
  n.parent = k;
  n.no = b.nNumber;
  double px = b.DPKijunTen_x, py = b.DPKijunTen_y;
  n.x = at.x + at.r1 * px + at.r2 * py;
  n.y = at.y + at.r3 * px + at.r4 * py;
  n.r1 = at.r1 * c.c11 + at.r2 * c.c21;
  n.r2 = at.r1 * c.c12 + at.r2 * c.c22;
  n.r3 = at.r3 * c.c11 + at.r4 * c.c21;
  n.r4 = at.r3 * c.c12 + at.r4 * c.c22;
  return n;
}

// Appends the nodes breadth first. Each node knows its place in the
// depth-first shape; its children follow it there, each after the whole
// subtree of the one before.
void AppendNested(TJwwData& d, const FirstDefinition& first, const TreeShape& shape, std::vector<int32_t>& at) {
  for (size_t k = 0; k < d.EntBlockTree.size(); ++k) {
    if (shape.Size(at[k]) <= 1) continue;
    const TEntJwwBlockDef& def = d.EntBlockDef[d.EntBlockTree[k].defno];
    int32_t child = at[k] + 1;
    for (int32_t l = 0; l < NestedCount(def); ++l) {
      // Made before it is appended: appending may move the parent.
      TEntJwwBlockTree n = NestedNode(d.EntBlockTree[k], static_cast<int32_t>(k), def, def.mBlock[l]);
      Match(d, first, n);
      d.EntBlockTree.push_back(std::move(n));
      at.push_back(child);
      child += shape.Size(child);
    }
  }
}

}  // namespace

void TJwwData::MakeBlockTree() {
  EntBlockTree.clear();
  EntBlockTreeN = 0;
  BlockTreeTooLarge = false;
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
  TreeShape shape(*this, first);
  std::vector<int32_t> at;  // each node's place in the depth-first shape
  at.reserve(top);
  for (int32_t j = 0; j < top && !BlockTreeTooLarge; ++j) {
    at.push_back(at.empty() ? 0 : at.back() + shape.Size(at.back()));
    BlockTreeTooLarge = !shape.AddTop(DefinitionOf(first, EntBlock[j].nNumber));
  }
  // The shape knows the tree's size: one allocation, no doubling on the way.
  EntBlockTree.reserve(BlockTreeTooLarge ? top : shape.Total());
  for (int32_t j = 0; j < top; ++j) {
    TEntJwwBlockTree n = TopNode(EntBlock[j]);
    Match(*this, first, n);
    EntBlockTree.push_back(std::move(n));
  }
  // A tree too large to hold keeps its top-level nodes only; the explosion
  // refuses such a drawing.
  if (!BlockTreeTooLarge) AppendNested(*this, first, shape, at);
  EntBlockTreeN = static_cast<int32_t>(EntBlockTree.size());
  EntBlockNum = 0;
  for (auto& def : EntBlockDef)
    if (def.ref_flag) def.ref_no = EntBlockNum++;
}

}  // namespace jww
