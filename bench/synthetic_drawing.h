// Synthetic drawings for measuring the converter: reproducible from a seed,
// with every element kind, nested block definitions and embedded images, and
// with elements inside, across and outside the paper frame.
#pragma once

#include <cstdint>
#include <string>

#include "jww/jww_data.h"

namespace synth {

enum class Mix {
  kLines,  // lines only, everywhere (a plain floor for the element paths)
  kAll,    // every element kind and style
};

struct Options {
  int32_t version = 600;
  int64_t elements = 10000;   // top-level plain elements
  int64_t insertions = 0;     // top-level block insertions
  int32_t definitions = 12;   // block definitions, made only when insertions > 0
  int32_t images = 3;         // embedded images (version 700 and mix all only)
  uint64_t seed = 1;
  Mix mix = Mix::kAll;
  int32_t zumen = 3;          // paper size code; 3 is A3
  bool utf16 = false;         // strings stored as UTF-16
};

// What the generator made. Definitions and images count only those the
// writer keeps (referenced ones).
struct Stats {
  int64_t rows = 0;                 // top-level rows: elements + insertions
  int64_t byKind[8] = {};           // top-level rows by element kind
  int64_t inside = 0, nearEdge = 0, outside = 0;  // placement of top-level elements
  int64_t definitions = 0;
  int64_t images = 0;
  int64_t placed = 0;               // plain elements the insertions unfold into
  int64_t treeNodes = 0;            // placements of definitions, nested ones included
};

// Fills doc with the drawing. Image payloads are written into imageFolder
// (which ends with a delimiter) and doc.BindImageFolder is set to it.
bool Build(jww::TJwwData& doc, const Options& o, const std::string& imageFolder, Stats& st,
           std::string& err);

// Builds the drawing and writes it to path, replacing a file of that name;
// image payloads pass through a private temporary folder.
bool WriteFile(const Options& o, const std::string& path, Stats& st, std::string& err);

// A fresh, empty temporary folder (with a trailing delimiter); "" on failure.
std::string MakeScratchFolder(const std::string& tag);

}  // namespace synth
