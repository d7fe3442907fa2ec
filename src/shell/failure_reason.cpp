#include "shell/failure_reason.h"

#include <cstdint>
#include <cstring>

#include "jww/jww_stream.h"

namespace shell {

std::string SourceRefusal(const std::string& path) {
  platform::FileSystem& fs = platform::Fs();
  if (!fs.EntryExists(path)) return "file not found";
  if (fs.DirectoryExists(path)) return "is a folder, not a file";
  jww::JwwIn in;
  if (!in.Open(path)) {
    switch (in.OpenError()) {
      case platform::IoErr::kNotRegular: return "not a regular file";
      case platform::IoErr::kNotFound: return "file not found";
      case platform::IoErr::kDenied: return "cannot be read (access denied)";
      default: return "cannot be opened";
    }
  }
  uint8_t head[12];
  size_t got = in.Read(head, sizeof head);
  if (got < 8 || std::memcmp(head, "JwwData.", 8) != 0) return "not a JWW file (no \"JwwData.\" at its start)";
  if (got < 12) return "too short for a JWW file";
  int32_t ver;
  std::memcpy(&ver, head + 8, 4);
  if (ver < 220 || ver > 700) return "JWW version " + std::to_string(ver) + " is not supported (220 to 700 are)";
  return "";
}

std::string WriteFailure(platform::IoErr err) {
  switch (err) {
    case platform::IoErr::kExists: return "the name was taken by another program meanwhile";
    case platform::IoErr::kNoSpace: return "disk full";
    case platform::IoErr::kDenied: return "destination not writable (access denied)";
    case platform::IoErr::kNotFound: return "destination folder not found";
    default: return "the output could not be written";
  }
}

}  // namespace shell
