// The whole conversion in memory: read, explode and trim, write. What was
// written must read back without a failure, and conversions must settle:
// the drawing converted twice converts to itself. (The first conversion of a
// converted drawing may still change it: the writer stores text sizes as
// magnitudes and a negative print mode inside the print value, which the
// keep-or-delete rules and the reader then take as stored.)
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_support.h"
#include "jww/jww_data.h"
#include "trim/file_conv.h"

namespace {

// Elements the explosion would place. Drawings that explode into millions
// are refused or converted correctly but slowly; the fuzzer skips them to
// spend its time on many small inputs.
int64_t Placed(const jww::TJwwData& d) {
  int64_t n = 0;
  for (const auto& node : d.EntBlockTree)
    if (node.defno >= 0) n += d.EntBlockDef[node.defno].N;
  return n;
}

bool Convert(jww::TJwwData& d, std::vector<uint8_t>& out) {
  if (!trim::FileConv(d, nullptr)) return false;
  d.SetFileOutOption(d.MojiEncode ? 32 : 0);
  return d.FileOutMemory(out, d.Enthd.jwVer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LeakGuard guard;
  jww::TJwwData d;
  d.BindImageFolder = fuzz::ImageFolder();
  d.FileInMemory(data, size);
  std::vector<uint8_t> first;
  // The batch run converts only what FileCheck accepts: a known version.
  const bool accepted = d.Enthd.jwVer >= 220 && d.Enthd.jwVer <= 700;
  if (accepted && Placed(d) <= 200'000 && Convert(d, first)) {
    jww::TJwwData r;
    r.BindImageFolder = fuzz::ImageFolder();
    // The images of the first document are still extracted: the second
    // read extracts the same ones again.
    if (!r.FileInMemory(first.data(), first.size())) std::abort();
    std::vector<uint8_t> second;
    if (!Convert(r, second)) std::abort();
    fuzz::Release(r);
    jww::TJwwData t;
    t.BindImageFolder = fuzz::ImageFolder();
    if (!t.FileInMemory(second.data(), second.size())) std::abort();
    std::vector<uint8_t> third;
    if (!Convert(t, third) || third != second) std::abort();
    fuzz::Release(t);
  }
  fuzz::Release(d);
  return 0;
}
