// make_drawing: writes a synthetic JWW drawing for measurements, the same
// file for the same options and seed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "jww/jww_data.h"
#include "shell/batch_run.h"
#include "synthetic_drawing.h"

namespace {

void Usage() {
  std::cerr
      << "usage: make_drawing --out FILE [options]\n"
         "  --version N      file version, 220..700 (default 600)\n"
         "  --elements N     top-level plain elements (default 10000; k and M suffixes allowed)\n"
         "  --insertions N   top-level block insertions of nested definitions (default 0)\n"
         "  --definitions N  block definitions when there are insertions (default 12, at least 3)\n"
         "  --images N       embedded images, version 700 with --mix all (default 3)\n"
         "  --mix lines|all  element kinds (default all)\n"
         "  --paper N        paper size code (default 3, A3)\n"
         "  --seed N         random seed (default 1)\n"
         "  --utf16          store strings as UTF-16\n"
         "  --no-check       skip reading the file back\n";
}

// A count with an optional k (thousand) or M (million) suffix; -1 when malformed.
int64_t ParseCount(const std::string& s) {
  if (s.empty()) return -1;
  int64_t mult = 1;
  std::string digits = s;
  if (s.back() == 'k' || s.back() == 'K') {
    mult = 1000;
    digits.pop_back();
  } else if (s.back() == 'M' || s.back() == 'm') {
    mult = 1000000;
    digits.pop_back();
  }
  if (digits.empty() || digits.size() > 12) return -1;
  for (char c : digits)
    if (c < '0' || c > '9') return -1;
  return std::stoll(digits) * mult;
}

}  // namespace

int main(int argc, char** argv) {
  synth::Options o;
  std::string out;
  bool check = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "make_drawing: " << a << " needs a value\n";
        std::exit(2);
      }
      return argv[++i];
    };
    auto count = [&]() -> int64_t {
      const std::string v = value();
      const int64_t n = ParseCount(v);
      if (n < 0) {
        std::cerr << "make_drawing: bad number for " << a << ": " << v << "\n";
        std::exit(2);
      }
      return n;
    };
    if (a == "--out") out = value();
    else if (a == "--version") o.version = static_cast<int32_t>(count());
    else if (a == "--elements") o.elements = count();
    else if (a == "--insertions") o.insertions = count();
    else if (a == "--definitions") o.definitions = static_cast<int32_t>(count());
    else if (a == "--images") o.images = static_cast<int32_t>(count());
    else if (a == "--paper") o.zumen = static_cast<int32_t>(count());
    else if (a == "--seed") o.seed = static_cast<uint64_t>(count());
    else if (a == "--utf16") o.utf16 = true;
    else if (a == "--no-check") check = false;
    else if (a == "--mix") {
      const std::string m = value();
      if (m == "lines") o.mix = synth::Mix::kLines;
      else if (m == "all") o.mix = synth::Mix::kAll;
      else {
        std::cerr << "make_drawing: --mix takes lines or all\n";
        return 2;
      }
    } else if (a == "--help" || a == "-h") {
      Usage();
      return 0;
    } else {
      std::cerr << "make_drawing: unknown option " << a << "\n";
      Usage();
      return 2;
    }
  }
  if (out.empty()) {
    Usage();
    return 2;
  }

  synth::Stats st;
  std::string err;
  if (!synth::WriteFile(o, out, st, err)) {
    std::cerr << "make_drawing: " << err << "\n";
    return 1;
  }
  std::error_code ec;
  const auto bytes = std::filesystem::file_size(out, ec);

  if (check) {
    // The file must read back whole, with every row and kept definition.
    const std::string tmp = synth::MakeScratchFolder("orvantis-check");
    jww::TJwwData doc;
    doc.BindImageFolder = tmp;
    const bool ok = jww::TJwwData::FileCheck(out) && doc.FileIn(out);
    const bool same = ok && doc.Enthd.n1 == st.rows && doc.Enthd.n2 == st.definitions &&
                      (o.version < 700 || doc.BindImageN == st.images);
    shell::JwwDataFree(doc);
    std::filesystem::remove_all(tmp, ec);
    if (!same) {
      std::cerr << "make_drawing: " << out << " does not read back as written\n";
      return 1;
    }
  }

  std::printf(
      "make_drawing: %s version=%d rows=%lld lines=%lld arcs=%lld points=%lld texts=%lld dimensions=%lld "
      "solids=%lld insertions=%lld definitions=%lld tree_nodes=%lld placed=%lld images=%lld inside=%lld "
      "edge=%lld outside=%lld bytes=%llu\n",
      out.c_str(), o.version, static_cast<long long>(st.rows), static_cast<long long>(st.byKind[1]),
      static_cast<long long>(st.byKind[2]), static_cast<long long>(st.byKind[3]),
      static_cast<long long>(st.byKind[4]), static_cast<long long>(st.byKind[5]),
      static_cast<long long>(st.byKind[6]), static_cast<long long>(st.byKind[7]),
      static_cast<long long>(st.definitions), static_cast<long long>(st.treeNodes),
      static_cast<long long>(st.placed), static_cast<long long>(st.images), static_cast<long long>(st.inside),
      static_cast<long long>(st.nearEdge), static_cast<long long>(st.outside),
      static_cast<unsigned long long>(ec ? 0 : bytes));
  return 0;
}
