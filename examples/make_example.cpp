// Writes the bundled example drawing (see tests/sample_drawing.h).
#include <cstdio>
#include <fstream>

#include "sample_drawing.h"

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "sample.jww";
  fixture::Bytes b = fixture::SampleDrawing(600);
  std::ofstream f(out, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.b.data()), static_cast<std::streamsize>(b.size()));
  if (!f) {
    std::fprintf(stderr, "cannot write %s\n", out);
    return 1;
  }
  return 0;
}
