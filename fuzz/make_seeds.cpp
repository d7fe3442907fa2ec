// make_seeds FOLDER: writes the starting corpora of the fuzz targets into
// FOLDER/drawings and FOLDER/strings: small drawings of every version form
// and element kind from the fixture builder and the drawing generator, and
// archive strings of every form.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "jww_builder.h"
#include "synthetic_drawing.h"

namespace {

using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;

void Save(const std::string& path, const std::vector<uint8_t>& b) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Every kind, nested and cyclic definitions, and an image for version 700.
Bytes EveryKind(int ver, bool utf16) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  o.utf16 = utf16;
  fixture::Header(b, o);
  Stream s(b, ver, utf16);
  Attr p100;
  p100.style = 100;
  Attr arc;
  arc.style = 101;
  Attr colored;
  colored.color = 10;
  s.Count(9);
  s.Line(Attr{}, 0, 0, 10, 10);
  s.Enko(Attr{}, 0, 0, 5, 0, 1, 0, 1, 0);
  s.Ten(p100, 1, 1, 0, 1, 0.5, 2);
  s.Moji(Attr{}, 0, 0, 10, 0, "^@BM%temp%a.png,10,10");
  s.Sunpo(Attr{}, 0, 0, 50, 0, "50", 1);
  s.Solid(arc, 0, 0, 5, 1, 0, 0, 1, 0);
  s.Solid(colored, 0, 0, 1, 0, 1, 1, 0, 1, 0xFF00FF);
  s.Block(Attr{}, 10, 10, 2, -1, 0.3, 1);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 2);
  s.Count(2);
  s.Def(Attr{}, 1, "one", 3, 0xFFFFFFFFu);
  s.Line(Attr{}, 0, 0, 1, 0);
  s.Moji(Attr{}, 0, 0, 1, 0, FIXTURE_ZUMEN);
  s.Block(Attr{}, 1, 1, 1, 1, 1, 2);
  s.Def(Attr{}, 2, "two", 2);
  s.Enko(Attr{}, 0, 0, 1, 0, 0, 0, 1, 1);
  s.Block(Attr{}, 0, 0, 1, 1, 0, 1);  // a cycle back to one
  if (ver >= 700) fixture::Images(b, {{"a.png.gz", "PAYLOAD"}, {"b.bmp", "BM"}}, utf16);
  return b;
}

void Strings(const std::string& dir) {
  auto one = [&](const std::string& name, auto fill) {
    Bytes b;
    fill(b);
    Save(dir + "/" + name, b.b);
  };
  one("ansi", [](Bytes& b) { b.ansi("abc"); b.ansi(FIXTURE_ZUMEN FIXTURE_IDEOGRAPHIC_SPACE); });
  one("ansi-long", [](Bytes& b) { b.ansi(std::string(300, 'x')); });
  one("utf16", [](Bytes& b) { b.utf16(u"\u56F3\u9762 text"); b.utf16(std::u16string(260, u'y')); });
  one("control", [](Bytes& b) { b.ansi(std::string("a\x01\x1f" "b", 4)); b.utf16(u"\u0001x"); });
  one("empty", [](Bytes& b) { b.ansi(""); b.utf16(u""); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds FOLDER\n");
    return 2;
  }
  const std::string root = argv[1];
  std::filesystem::create_directories(root + "/drawings");
  std::filesystem::create_directories(root + "/strings");
  for (int ver : {230, 300, 350, 351, 420, 600, 700}) {
    Save(root + "/drawings/kinds-" + std::to_string(ver), EveryKind(ver, false).b);
    if (ver >= 600) Save(root + "/drawings/kinds-utf16-" + std::to_string(ver), EveryKind(ver, true).b);
  }
  for (int ver : {420, 600, 700}) {
    synth::Options o;
    o.version = ver;
    o.elements = 40;
    o.insertions = 4;
    o.definitions = 4;
    o.images = 2;
    o.seed = static_cast<uint64_t>(ver);
    synth::Stats st;
    std::string err;
    const std::string path = root + "/drawings/generated-" + std::to_string(ver);
    if (!synth::WriteFile(o, path, st, err)) {
      std::fprintf(stderr, "make_seeds: %s\n", err.c_str());
      return 1;
    }
  }
  Strings(root + "/strings");
  return 0;
}
