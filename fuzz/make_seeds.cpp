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

using fixture::Bytes;

void Save(const std::string& path, const std::vector<uint8_t>& b) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
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
    Save(root + "/drawings/kinds-" + std::to_string(ver), fixture::EveryKind(ver).b);
    if (ver >= 600) Save(root + "/drawings/kinds-utf16-" + std::to_string(ver), fixture::EveryKind(ver, true).b);
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
