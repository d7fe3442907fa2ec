#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <climits>
#include <ctime>

#include "platform/file_system.h"

namespace platform {

namespace {

IoErr FromErrno(int e) {
  switch (e) {
    case EEXIST: return IoErr::kExists;
    case ENOENT:
    case ENOTDIR: return IoErr::kNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return IoErr::kDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return IoErr::kNoSpace;
    case ELOOP: return IoErr::kExists;  // a link stands at the new file's name
    case EISDIR: return IoErr::kNotRegular;
    default: return IoErr::kOther;
  }
}

class PosixFile : public File {
 public:
  PosixFile(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  long long Read(void* dst, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t got = ::read(fd_, static_cast<char*>(dst) + done, n - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return Fail(errno), -1;
      if (got == 0) break;
      done += static_cast<size_t>(got);
    }
    return static_cast<long long>(done);
  }
  bool Write(const void* src, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t put = ::write(fd_, static_cast<const char*>(src) + done, n - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return Fail(put < 0 ? errno : ENOSPC);
      done += static_cast<size_t>(put);
    }
    return true;
  }
  bool Sync() override { return ::fsync(fd_) == 0 || Fail(errno); }
  uint64_t Size() const override { return size_; }
  bool Close() override {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0 || Fail(errno);
  }

 private:
  bool Fail(int e) {
    if (error == IoErr::kNone) error = FromErrno(e);
    return false;
  }
  int fd_;
  uint64_t size_;
};

class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<File> CreateExclusive(const std::string& path, IoErr* err) override {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return Failed(err, errno);
    return std::make_unique<PosixFile>(fd, 0);
  }
  std::unique_ptr<File> OpenRead(const std::string& path, IoErr* err) override {
    // Without blocking: a pipe or a device at that name must not hang the
    // program; only a plain file is read.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Failed(err, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      if (err) *err = IoErr::kNotRegular;
      return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (err) *err = IoErr::kNone;
    return std::make_unique<PosixFile>(fd, static_cast<uint64_t>(st.st_size));
  }
  bool FileExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }
  bool EntryExists(const std::string& path) override {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
  }
  bool DirectoryExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  bool DeleteFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
  bool CreateFolders(const std::string& path) override {
    for (size_t p = path.find('/', 1); p != std::string::npos; p = path.find('/', p + 1))
      ::mkdir(path.substr(0, p).c_str(), 0777);
    ::mkdir(path.c_str(), 0777);
    return DirectoryExists(path);
  }
  bool RemoveEmptyFolder(const std::string& path) override { return ::rmdir(path.c_str()) == 0; }
  bool MoveReplace(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0;
  }
  bool MoveNoReplace(const std::string& from, const std::string& to, IoErr* err) override {
    // A second name, then the first one gone: link never replaces an entry.
    if (::link(from.c_str(), to.c_str()) != 0) {
      if (err) *err = FromErrno(errno);
      return false;
    }
    ::unlink(from.c_str());
    if (err) *err = IoErr::kNone;
    return true;
  }
  std::vector<FolderEntry> ListFolder(const std::string& folder) override {
    std::vector<FolderEntry> r;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return r;
    time_t now = ::time(nullptr);
    std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      struct stat st;
      if (::lstat((base + name).c_str(), &st) != 0) continue;
      r.push_back({name, S_ISDIR(st.st_mode), static_cast<int64_t>(now - st.st_mtime)});
    }
    ::closedir(d);
    return r;
  }
  std::string ExecutablePath() override {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "";
  }

 private:
  static std::unique_ptr<File> Failed(IoErr* err, int e) {
    if (err) *err = FromErrno(e);
    return nullptr;
  }
};

}  // namespace

unsigned long CurrentProcessId() { return static_cast<unsigned long>(::getpid()); }

bool ProcessRuns(unsigned long pid) {
  if (pid == 0 || pid > static_cast<unsigned long>(INT_MAX)) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

FileSystem& SystemFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace platform
