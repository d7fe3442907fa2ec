#include "shell/failure_reason.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "jww/jww_stream.h"

namespace shell {

std::string SourceRefusal(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return "file not found";
  if (S_ISDIR(st.st_mode)) return "is a folder, not a file";
  if (!S_ISREG(st.st_mode)) return "not a regular file";
  jww::JwwIn in;
  if (!in.Open(path)) return "cannot be opened";
  uint8_t head[12];
  size_t got = in.Read(head, sizeof head);
  if (got < 8 || std::memcmp(head, "JwwData.", 8) != 0) return "not a JWW file (no \"JwwData.\" at its start)";
  if (got < 12) return "too short for a JWW file";
  int32_t ver;
  std::memcpy(&ver, head + 8, 4);
  if (ver < 220 || ver > 700) return "JWW version " + std::to_string(ver) + " is not supported (220 to 700 are)";
  return "";
}

std::string WriteFailure(int err) {
  switch (err) {
    case 0: return "the output could not be written";
    case EEXIST: return "the name was taken by another program meanwhile";
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return std::string("disk full (") + std::strerror(err) + ")";
    case EACCES:
    case EPERM:
    case EROFS: return std::string("destination not writable (") + std::strerror(err) + ")";
    case ENOENT:
    case ENOTDIR: return "destination folder not found";
    default: return std::string("the output could not be written (") + std::strerror(err) + ")";
  }
}

}  // namespace shell
