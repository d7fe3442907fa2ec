#include "jww/jww_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace jww {

namespace {
constexpr size_t kBufferSize = 1 << 18;
}

bool JwwIn::Open(const std::string& path) {
  Close();
  // Without blocking: opening a FIFO for reading would otherwise wait for a
  // writer, and reading a device may never end. Only regular files are read.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  file_ = ::fdopen(fd, "rb");
  if (!file_) {
    ::close(fd);
    return false;
  }
  size_ = static_cast<uint64_t>(st.st_size);
  buf_.resize(kBufferSize);
  return true;
}

void JwwIn::OpenMemory(const void* data, size_t n) {
  Close();
  mem_ = static_cast<const uint8_t*>(data);
  pos_ = mem_;
  end_ = mem_ + n;
  size_ = n;
}

void JwwIn::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  mem_ = nullptr;
  pos_ = end_ = nullptr;
  size_ = consumed_ = 0;
}

bool JwwIn::Fill() {
  if (!file_) return false;
  size_t got = std::fread(buf_.data(), 1, buf_.size(), file_);
  pos_ = buf_.data();
  end_ = pos_ + got;
  return got > 0;
}

size_t JwwIn::ReadSlow(uint8_t* dst, size_t n) {
  size_t done = 0;
  while (done < n) {
    if (pos_ == end_ && !Fill()) break;
    size_t take = std::min(n - done, static_cast<size_t>(end_ - pos_));
    std::memcpy(dst + done, pos_, take);
    pos_ += take;
    done += take;
  }
  consumed_ += done;
  // A file that grew or shrank while open must not make Remaining() wrap.
  if (consumed_ > size_) size_ = consumed_;
  return done;
}

size_t JwwIn::Skip(uint64_t n) {
  uint64_t done = 0;
  while (done < n) {
    if (pos_ == end_ && !Fill()) break;
    size_t take = static_cast<size_t>(std::min<uint64_t>(n - done, end_ - pos_));
    pos_ += take;
    done += take;
  }
  consumed_ += done;
  if (consumed_ > size_) size_ = consumed_;
  return static_cast<size_t>(done);
}

JwwOut::~JwwOut() { Abandon(); }

bool JwwOut::CreateExclusive(const std::string& path) {
  Abandon();
  // "x": fail when the file exists, so no file appearing meanwhile is replaced.
  file_ = std::fopen(path.c_str(), "wbx");
  if (!file_) return false;
  buf_.resize(kBufferSize);
  used_ = 0;
  return true;
}

void JwwOut::OpenMemory() {
  Abandon();
  memory_ = true;
  mem_.clear();
}

void JwwOut::WriteSlow(const uint8_t* src, size_t n) {
  if (memory_) {
    mem_.insert(mem_.end(), src, src + n);
    return;
  }
  if (!file_) throw JwwIoError(kErrFileIo);
  while (n > 0) {
    if (used_ == buf_.size()) Flush();
    size_t take = std::min(n, buf_.size() - used_);
    std::memcpy(buf_.data() + used_, src, take);
    used_ += take;
    src += take;
    n -= take;
  }
}

void JwwOut::Fill(uint8_t byte, size_t n) {
  uint8_t chunk[64];
  std::memset(chunk, byte, sizeof chunk);
  while (n > 0) {
    size_t take = std::min(n, sizeof chunk);
    Write(chunk, take);
    n -= take;
  }
}

void JwwOut::Flush() {
  if (used_ == 0) return;
  if (std::fwrite(buf_.data(), 1, used_, file_) != used_) throw JwwIoError(kErrFileIo);
  used_ = 0;
}

void JwwOut::Close() {
  if (memory_) { memory_ = false; return; }
  if (!file_) return;
  Flush();
  bool ok = std::fflush(file_) == 0;
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  if (!ok) throw JwwIoError(kErrFileIo);
}

void JwwOut::Abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  memory_ = false;
  used_ = 0;
}

}  // namespace jww
