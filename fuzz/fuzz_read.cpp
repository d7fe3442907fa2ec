// Any bytes as a drawing: the reader must end, within its memory bounds,
// with a document whose counts agree with its arrays.
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "jww/jww_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LeakGuard guard;
  jww::TJwwData d;
  d.BindImageFolder = fuzz::ImageFolder();
  const bool ok = d.FileInMemory(data, size);
  if (ok != d.ReadError.empty()) std::abort();
  if (d.EntLineN > static_cast<int32_t>(d.EntLine.size()) || d.EntBlockDefN > static_cast<int32_t>(d.EntBlockDef.size()) ||
      d.EntBlockTreeN != static_cast<int32_t>(d.EntBlockTree.size()))
    std::abort();
  fuzz::Release(d);
  return 0;
}
