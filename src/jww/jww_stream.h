// Buffered little-endian byte streams for JWW files. Reading keeps track of
// how many bytes the file can still supply, so that declared counts can be
// checked before anything is allocated for them.
#pragma once

#include <cstdint>
#include <memory>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace jww {

// An input/output failure of a JWW file operation. The texts stay inside the
// document operations; callers only see their Boolean results.
class JwwIoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kErrHeader = "JWW-Header Error";
inline constexpr const char* kErrVersion = "JWW-Version Error";
inline constexpr const char* kErrFileIo = "File I/O Error";

class JwwIn {
 public:
  JwwIn() = default;
  JwwIn(const JwwIn&) = delete;
  JwwIn& operator=(const JwwIn&) = delete;
  ~JwwIn() { Close(); }

  // Opens a plain file for reading; false when it cannot be opened (the
  // reason in OpenError()).
  bool Open(const std::string& path);
  platform::IoErr OpenError() const { return openError_; }
  // Reads from memory (tests and in-process round trips).
  void OpenMemory(const void* data, size_t n);
  void Close();
  bool IsOpen() const { return file_ != nullptr || mem_ != nullptr; }

  // Copies up to n bytes to dst and returns how many were delivered. Bytes
  // not delivered leave dst as it was.
  size_t Read(void* dst, size_t n) {
    if (n <= static_cast<size_t>(end_ - pos_)) {
      std::memcpy(dst, pos_, n);
      pos_ += n;
      consumed_ += n;
      return n;
    }
    return ReadSlow(static_cast<uint8_t*>(dst), n);
  }
  // The next n bytes in place when the buffer holds them all (they stay valid
  // until the next read), else nullptr and nothing is consumed.
  const uint8_t* Take(size_t n) {
    if (n > static_cast<size_t>(end_ - pos_)) return nullptr;
    const uint8_t* p = pos_;
    pos_ += n;
    consumed_ += n;
    return p;
  }
  // Skips up to n bytes; returns how many were skipped.
  size_t Skip(uint64_t n);

  // Reads that must be supplied whole: a short read fails the file.
  void MustRead(void* dst, size_t n) {
    if (Read(dst, n) != n) throw JwwIoError(kErrFileIo);
  }
  uint8_t U8() { uint8_t v; MustRead(&v, 1); return v; }
  uint16_t U16() { uint16_t v; MustRead(&v, 2); return v; }
  uint32_t U32() { uint32_t v; MustRead(&v, 4); return v; }
  int32_t I32() { int32_t v; MustRead(&v, 4); return v; }

  // Bytes the file can still supply.
  uint64_t Remaining() const { return size_ - consumed_; }
  uint64_t Position() const { return consumed_; }

 private:
  size_t ReadSlow(uint8_t* dst, size_t n);
  bool Fill();

  std::unique_ptr<platform::File> file_;
  platform::IoErr openError_ = platform::IoErr::kNone;
  const uint8_t* mem_ = nullptr;
  std::vector<uint8_t> buf_;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t size_ = 0;
  uint64_t consumed_ = 0;
};

class JwwOut {
 public:
  JwwOut() = default;
  JwwOut(const JwwOut&) = delete;
  JwwOut& operator=(const JwwOut&) = delete;
  ~JwwOut();

  // Creates a new file; never opens one that already exists.
  bool CreateExclusive(const std::string& path);
  // Collects the bytes in memory instead of a file.
  void OpenMemory();
  // Flushes onto the disk and closes; throws when any byte could not be
  // written.
  void Close();
  // Closes without reporting; used on the failure path.
  void Abandon();
  const std::vector<uint8_t>& Memory() const { return mem_; }
  // The first failure, kNone when none.
  platform::IoErr Error() const { return error_; }

  void Write(const void* src, size_t n) {
    if (n <= static_cast<size_t>(buf_.size() - used_) && file_) {
      std::memcpy(buf_.data() + used_, src, n);
      used_ += n;
      return;
    }
    WriteSlow(static_cast<const uint8_t*>(src), n);
  }
  void U8(uint8_t v) { Write(&v, 1); }
  void U16(uint16_t v) { Write(&v, 2); }
  void U32(uint32_t v) { Write(&v, 4); }
  void I32(int32_t v) { Write(&v, 4); }
  void F64(double v) { Write(&v, 8); }
  void Fill(uint8_t byte, size_t n);

  // Room for up to n bytes (n at most a few kilobytes) to be filled in place;
  // Commit says where the filled bytes end. Fixed records go out this way
  // without a check per field.
  uint8_t* Claim(size_t n) {
    if (memory_) {
      size_t old = mem_.size();
      mem_.resize(old + n);
      return mem_.data() + old;
    }
    if (!file_) throw JwwIoError(kErrFileIo);
    if (buf_.size() - used_ < n) Flush();
    return buf_.data() + used_;
  }
  void Commit(uint8_t* end) {
    if (memory_) mem_.resize(static_cast<size_t>(end - mem_.data()));
    else used_ = static_cast<size_t>(end - buf_.data());
  }

 private:
  void WriteSlow(const uint8_t* src, size_t n);
  void Flush();

  std::unique_ptr<platform::File> file_;
  bool memory_ = false;
  std::vector<uint8_t> mem_;
  std::vector<uint8_t> buf_;
  size_t used_ = 0;
  platform::IoErr error_ = platform::IoErr::kNone;
};

}  // namespace jww
