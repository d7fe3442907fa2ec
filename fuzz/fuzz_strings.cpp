// Any bytes as a run of archive strings: every string read must come back
// unchanged through the UTF-16 form of the writer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "jww/jww_strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  jww::TJwwData d;
  jww::JwwIn in;
  in.OpenMemory(data, size);
  std::vector<jww::JString> texts;
  try {
    while (in.Remaining() > 0) {
      texts.push_back(jww::ReadArchiveString(d, in));
      texts.push_back(jww::ReadCleanString(d, in));
    }
  } catch (const jww::JwwIoError&) {
    // The bytes ended inside a string.
  }
  d.SetFileOutOption(32);
  jww::JwwOut out;
  out.OpenMemory();
  for (const jww::JString& t : texts) jww::WriteArchiveString(d, out, t);
  std::vector<uint8_t> bytes = out.Memory();
  jww::JwwIn back;
  back.OpenMemory(bytes.data(), bytes.size());
  for (const jww::JString& t : texts)
    if (jww::ReadArchiveString(d, back) != t.substr(0, 0xFFFF)) std::abort();
  return 0;
}
