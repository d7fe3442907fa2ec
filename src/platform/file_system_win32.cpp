// The file system through the wide-character Windows API, so that paths in
// any script work whatever the system's code page.
#include <windows.h>

#include "platform/file_system.h"
#include "platform/wide_path.h"

namespace platform {

namespace {

IoErr FromLastError(DWORD e) {
  switch (e) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return IoErr::kExists;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: return IoErr::kNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return IoErr::kDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return IoErr::kNoSpace;
    default: return IoErr::kOther;
  }
}

class WinFile : public File {
 public:
  WinFile(HANDLE h, uint64_t size) : h_(h), size_(size) {}
  ~WinFile() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  long long Read(void* dst, size_t n) override {
    size_t done = 0;
    while (done < n) {
      DWORD want = static_cast<DWORD>(n - done > (1u << 30) ? (1u << 30) : n - done), got = 0;
      if (!ReadFile(h_, static_cast<char*>(dst) + done, want, &got, nullptr)) return Fail(), -1;
      if (got == 0) break;
      done += got;
    }
    return static_cast<long long>(done);
  }
  bool Write(const void* src, size_t n) override {
    size_t done = 0;
    while (done < n) {
      DWORD want = static_cast<DWORD>(n - done > (1u << 30) ? (1u << 30) : n - done), put = 0;
      if (!WriteFile(h_, static_cast<const char*>(src) + done, want, &put, nullptr) || put == 0) return Fail();
      done += put;
    }
    return true;
  }
  bool Sync() override { return FlushFileBuffers(h_) || Fail(); }
  uint64_t Size() const override { return size_; }
  bool Close() override {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h == INVALID_HANDLE_VALUE || CloseHandle(h) || Fail();
  }

 private:
  bool Fail() {
    if (error == IoErr::kNone) error = FromLastError(GetLastError());
    return false;
  }
  HANDLE h_;
  uint64_t size_;
};

DWORD Attributes(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()); }

class WinFileSystem : public FileSystem {
 public:
  std::unique_ptr<File> CreateExclusive(const std::string& path, IoErr* err) override {
    HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Failed(err);
    if (err) *err = IoErr::kNone;
    return std::make_unique<WinFile>(h, 0);
  }
  std::unique_ptr<File> OpenRead(const std::string& path, IoErr* err) override {
    HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Failed(err);
    LARGE_INTEGER size;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
      CloseHandle(h);
      if (err) *err = IoErr::kNotRegular;
      return nullptr;
    }
    if (err) *err = IoErr::kNone;
    return std::make_unique<WinFile>(h, static_cast<uint64_t>(size.QuadPart));
  }
  bool FileExists(const std::string& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool EntryExists(const std::string& path) override { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
  bool DirectoryExists(const std::string& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DeleteFile(const std::string& path) override { return DeleteFileW(WidePath(path).c_str()); }
  bool CreateFolders(const std::string& path) override {
    for (size_t p = path.find_first_of("\\/", 0); p != std::string::npos; p = path.find_first_of("\\/", p + 1))
      if (p > 0 && path[p - 1] != ':') CreateDirectoryW(WidePath(path.substr(0, p)).c_str(), nullptr);
    CreateDirectoryW(WidePath(path).c_str(), nullptr);
    return DirectoryExists(path);
  }
  bool RemoveEmptyFolder(const std::string& path) override { return RemoveDirectoryW(WidePath(path).c_str()); }
  bool MoveReplace(const std::string& from, const std::string& to) override {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  bool MoveNoReplace(const std::string& from, const std::string& to, IoErr* err) override {
    if (!MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
      if (err) *err = FromLastError(GetLastError());
      return false;
    }
    if (err) *err = IoErr::kNone;
    return true;
  }
  std::vector<FolderEntry> ListFolder(const std::string& folder) override {
    std::vector<FolderEntry> r;
    std::string base = folder.empty() || folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\";
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(WidePath(base + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return r;
    FILETIME nowFt;
    GetSystemTimeAsFileTime(&nowFt);
    auto ticks = [](const FILETIME& t) { return (static_cast<int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    do {
      std::string name = NarrowPath(fd.cFileName);
      if (name == "." || name == "..") continue;
      int64_t age = (ticks(nowFt) - ticks(fd.ftLastWriteTime)) / 10000000;
      r.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, age});
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return r;
  }
  std::string ExecutablePath() override {
    std::wstring buf(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    buf.resize(n);
    return NarrowPath(buf);
  }

 private:
  static std::unique_ptr<File> Failed(IoErr* err) {
    if (err) *err = FromLastError(GetLastError());
    return nullptr;
  }
};

}  // namespace

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessRuns(unsigned long pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!h) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's process
  DWORD code = 0;
  bool runs = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
  CloseHandle(h);
  return runs;
}

FileSystem& SystemFileSystem() {
  static WinFileSystem fs;
  return fs;
}

}  // namespace platform
