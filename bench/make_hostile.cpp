// make_hostile: writes small crafted drawings that unfold into very large
// work, for measuring how the converter bounds time and memory.
//   make_hostile deep OUT D T L   D definitions, each inserting the next once;
//                                 the last holds L lines; T top-level
//                                 insertions of the first
//   make_hostile cycle OUT D T    D definitions in a ring; T top-level
//                                 insertions of the first
//   make_hostile fan OUT L F...   definition k inserts k + 1 F[k] times; the
//                                 last holds L lines; one top-level insertion
//   make_hostile arcs OUT L F...  as fan, with L arcs under an uneven scale
//                                 (the costliest element to place)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "jww_builder.h"

namespace {

using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

uint32_t Num(const char* s) { return static_cast<uint32_t>(std::strtoul(s, nullptr, 10)); }

// A drawing with T top-level insertions of definition 1; then the definitions
// written by `defs`.
template <class Defs>
Bytes Drawing(uint32_t top, uint32_t count, Defs defs) {
  Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  Stream s(b, 600);
  s.Count(top);
  for (uint32_t i = 0; i < top; ++i) s.Block(Attr{}, i % 100, i / 100, 1, 1, 0, 1);
  s.Count(count);
  defs(s);
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_hostile deep|cycle|fan OUT NUMBERS...\n");
    return 2;
  }
  const std::string kind = argv[1];
  Bytes b;
  if (kind == "deep" && argc == 6) {
    const uint32_t d = Num(argv[3]), t = Num(argv[4]), l = Num(argv[5]);
    b = Drawing(t, d, [&](Stream& s) {
      for (uint32_t k = 1; k < d; ++k) {
        s.Def(Attr{}, k, "d" + std::to_string(k), 1);
        s.Block(Attr{}, 1, 0, 1, 1, 0, k + 1);
      }
      s.Def(Attr{}, d, "leaf", l);
      for (uint32_t i = 0; i < l; ++i) s.Line(Attr{}, 0, 0, 1, i);
    });
  } else if (kind == "cycle" && argc == 5) {
    const uint32_t d = Num(argv[3]), t = Num(argv[4]);
    b = Drawing(t, d, [&](Stream& s) {
      for (uint32_t k = 1; k <= d; ++k) {
        s.Def(Attr{}, k, "d" + std::to_string(k), 2);
        s.Line(Attr{}, 0, 0, 1, k);
        s.Block(Attr{}, 1, 0, 1, 1, 0, k % d + 1);
      }
    });
  } else if ((kind == "fan" || kind == "arcs") && argc >= 5) {
    const bool arcs = kind == "arcs";
    const uint32_t l = Num(argv[3]);
    std::vector<uint32_t> fan;
    for (int i = 4; i < argc; ++i) fan.push_back(Num(argv[i]));
    const uint32_t n = static_cast<uint32_t>(fan.size());
    b = Drawing(1, n + 1, [&](Stream& s) {
      for (uint32_t k = 1; k <= n; ++k) {
        s.Def(Attr{}, k, "d" + std::to_string(k), fan[k - 1]);
        for (uint32_t i = 0; i < fan[k - 1]; ++i) s.Block(Attr{}, i % 50, i / 50, arcs ? 2 : 1, 1, 0.1, k + 1);
      }
      s.Def(Attr{}, n + 1, "leaf", l);
      for (uint32_t i = 0; i < l; ++i) {
        if (arcs) s.Enko(Attr{}, 0, i, 5, 0.3, 2, 0.2, 0.7, 0);
        else s.Line(Attr{}, 0, 0, 1, i);
      }
    });
  } else {
    std::fprintf(stderr, "make_hostile: bad arguments\n");
    return 2;
  }
  std::ofstream f(argv[2], std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.b.data()), static_cast<std::streamsize>(b.size()));
  std::printf("make_hostile: %s %zu bytes\n", argv[2], b.size());
  return f ? 0 : 1;
}
