#include "platform/file_system.h"

namespace platform {

namespace {
FileSystem* g_current = nullptr;
}

const char* IoErrText(IoErr e) {
  switch (e) {
    case IoErr::kNone: return "no error";
    case IoErr::kExists: return "the name is taken";
    case IoErr::kNotFound: return "not found";
    case IoErr::kDenied: return "not writable or not readable (access denied)";
    case IoErr::kNoSpace: return "disk full";
    case IoErr::kNotRegular: return "not a regular file";
    case IoErr::kOther: break;
  }
  return "input/output error";
}

FileSystem& Fs() { return g_current ? *g_current : SystemFileSystem(); }

void SetFileSystem(FileSystem* fs) { g_current = fs; }

}  // namespace platform
