// The reader, writer and text conversion keep lookups and caches for speed;
// these tests hold them to the plain rules on many random cases.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "jww/jww_data.h"
#include "jww/jww_strings.h"
#include "jww_builder.h"
#include "platform/code_page.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

namespace {

// Insertions matched to the first definition of their number; the writer
// renumbers through ChangeBlockNo.
TEST(LookupEquivalence, BlockMatchingAndNumbering) {
  std::mt19937_64 rng(99);
  for (int round = 0; round < 40; ++round) {
    const int defs = 1 + static_cast<int>(rng() % 30), tops = static_cast<int>(rng() % 40);
    Bytes b;
    fixture::Header(b, fixture::HeaderOptions{});
    Stream s(b, 600);
    s.Count(tops);
    std::vector<uint32_t> topNo;
    for (int i = 0; i < tops; ++i) {
      topNo.push_back(static_cast<uint32_t>(rng() % 40));
      s.Block(Attr{}, 0, 0, 1, 1, 0, topNo.back());
    }
    s.Count(defs);
    std::vector<uint32_t> defNo;
    for (int j = 0; j < defs; ++j) {
      defNo.push_back(static_cast<uint32_t>(rng() % 40));  // duplicates on purpose
      s.Def(Attr{}, defNo.back(), "d", 0);
    }
    TJwwData d;
    ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
    ASSERT_EQ(d.EntBlockTreeN, tops);
    for (int i = 0; i < tops; ++i) {
      int expect = -1;
      for (int j = 0; j < defs && expect < 0; ++j)
        if (defNo[j] == topNo[i]) expect = j;
      EXPECT_EQ(d.EntBlockTree[i].defno, expect);
    }
    std::vector<uint8_t> out;
    ASSERT_TRUE(d.FileOutMemory(out, 600));
    TJwwData r;
    ASSERT_TRUE(r.FileInMemory(out.data(), out.size()));
    for (int i = 0; i < tops; ++i)
      EXPECT_EQ(static_cast<int32_t>(r.EntBlock[i].nNumber), d.ChangeBlockNo(static_cast<int32_t>(topNo[i])));
  }
}

// The block tree as the plain rule builds it: breadth first, a node not
// expanded when its definition occurs on its chain of parents.
std::vector<TEntJwwBlockTree> PlainTree(const TJwwData& d) {
  auto match = [&](uint32_t no) {
    for (int32_t j = 0; j < d.EntBlockDefN; ++j)
      if (d.EntBlockDef[j].nNumber == no) return j;
    return -1;
  };
  std::vector<TEntJwwBlockTree> t;
  for (int32_t j = 0; j < d.EntBlockN; ++j) {
    const TEntJwwBlock& b = d.EntBlock[j];
    TEntJwwBlockTree n;
    n.no = b.nNumber;
    n.defno = match(n.no);
    n.x = b.DPKijunTen_x;
    n.y = b.DPKijunTen_y;
    n.r1 = std::cos(b.radKaitenKaku) * b.dBairitsuX;
    n.r4 = std::cos(b.radKaitenKaku) * b.dBairitsuY;
    t.push_back(n);
  }
  for (size_t k = 0; k < t.size(); ++k) {
    if (t[k].defno < 0) continue;
    bool onChain = false;
    for (int32_t p = t[k].parent; p >= 0; p = t[p].parent) onChain |= t[p].defno == t[k].defno;
    if (onChain) continue;
    for (const TEntJwwBlock& b : d.EntBlockDef[t[k].defno].mBlock) {
      TEntJwwBlockTree n;
      n.parent = static_cast<int32_t>(k);
      n.level = t[k].level + 1;
      n.no = b.nNumber;
      n.defno = match(n.no);
      n.x = t[k].x + t[k].r1 * b.DPKijunTen_x;  // unrotated, unit-scaled nesting below
      n.y = t[k].y + t[k].r4 * b.DPKijunTen_y;
      n.r1 = t[k].r1;
      n.r4 = t[k].r4;
      t.push_back(n);
    }
  }
  return t;
}

// Random nestings, cycles included, give the plain rule's tree node for node.
TEST(LookupEquivalence, BlockTreeAsThePlainRule) {
  std::mt19937_64 rng(7);
  for (int round = 0; round < 200; ++round) {
    const int defs = 1 + static_cast<int>(rng() % 8), tops = 1 + static_cast<int>(rng() % 4);
    Bytes b;
    fixture::Header(b, fixture::HeaderOptions{});
    Stream s(b, 600);
    s.Count(tops);
    for (int i = 0; i < tops; ++i)
      s.Block(Attr{}, static_cast<double>(i), 0, 1 + i, 2, 0, static_cast<uint32_t>(rng() % (defs + 1)));
    s.Count(defs);
    for (int j = 0; j < defs; ++j) {
      const uint32_t nested = static_cast<uint32_t>(rng() % 3);
      s.Def(Attr{}, static_cast<uint32_t>(j), "d", nested);
      for (uint32_t l = 0; l < nested; ++l)
        s.Block(Attr{}, static_cast<double>(l + 1), 3, 1, 1, 0, static_cast<uint32_t>(rng() % (defs + 1)));
    }
    TJwwData d;
    ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
    const std::vector<TEntJwwBlockTree> plain = PlainTree(d);
    ASSERT_EQ(d.EntBlockTreeN, static_cast<int32_t>(plain.size())) << "round " << round;
    for (size_t k = 0; k < plain.size(); ++k) {
      const TEntJwwBlockTree& n = d.EntBlockTree[k];
      EXPECT_EQ(n.parent, plain[k].parent) << round << ":" << k;
      EXPECT_EQ(n.level, plain[k].level) << round << ":" << k;
      EXPECT_EQ(n.defno, plain[k].defno) << round << ":" << k;
      EXPECT_DOUBLE_EQ(n.x, plain[k].x) << round << ":" << k;
      EXPECT_DOUBLE_EQ(n.y, plain[k].y) << round << ":" << k;
    }
  }
}

// The system's converter, uncached.
std::u16string Direct(const std::string& bytes) {
  std::u16string out;
  if (!platform::Cp932ToUtf16(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out))
    return u"<invalid>";
  return out;
}

TEST(LookupEquivalence, RepeatedTextsConvertAsFresh) {
  // A few hundred distinct Japanese texts, each met many times in random
  // order, so the recent-conversion cache both hits and evicts.
  std::mt19937_64 rng(5);
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) {
    std::string t;
    int n = 1 + static_cast<int>(rng() % 12);
    for (int k = 0; k < n; ++k) {
      t.push_back(static_cast<char>(0x88 + rng() % 8));  // kanji lead bytes
      t.push_back(static_cast<char>(0x9F + rng() % 0x5D));
      if (rng() % 3 == 0) t.push_back(static_cast<char>('a' + rng() % 26));
    }
    texts.push_back(t);
  }
  for (int i = 0; i < 20000; ++i) {
    const std::string& t = texts[rng() % texts.size()];
    JString got = DecodeAnsiBytes(reinterpret_cast<const uint8_t*>(t.data()), t.size());
    ASSERT_EQ(got, Direct(t));
    ASSERT_EQ(EncodeAnsiBytes(got), t);
  }
}

}  // namespace
