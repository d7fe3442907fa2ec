// A file system whose new files run out of room after a set number of bytes,
// as a full disk would; everything else is the system's own. Installed for
// the lifetime of the object.
#pragma once

#include <memory>

#include "platform/file_system.h"

namespace testutil {

class FailingFileSystem : public platform::FileSystem {
 public:
  explicit FailingFileSystem(size_t room) : room_(room) { platform::SetFileSystem(this); }
  ~FailingFileSystem() override { platform::SetFileSystem(nullptr); }

  std::unique_ptr<platform::File> CreateExclusive(const std::string& path, platform::IoErr* err) override {
    auto f = sys().CreateExclusive(path, err);
    if (!f) return nullptr;
    return std::make_unique<FullFile>(std::move(f), room_);
  }
  std::unique_ptr<platform::File> OpenRead(const std::string& p, platform::IoErr* e) override {
    return sys().OpenRead(p, e);
  }
  bool FileExists(const std::string& p) override { return sys().FileExists(p); }
  bool EntryExists(const std::string& p) override { return sys().EntryExists(p); }
  bool DirectoryExists(const std::string& p) override { return sys().DirectoryExists(p); }
  bool DeleteFile(const std::string& p) override { return sys().DeleteFile(p); }
  bool CreateFolders(const std::string& p) override { return sys().CreateFolders(p); }
  bool RemoveEmptyFolder(const std::string& p) override { return sys().RemoveEmptyFolder(p); }
  bool MoveReplace(const std::string& a, const std::string& b) override { return sys().MoveReplace(a, b); }
  bool MoveNoReplace(const std::string& a, const std::string& b, platform::IoErr* e) override {
    return sys().MoveNoReplace(a, b, e);
  }
  std::string ExecutablePath() override { return sys().ExecutablePath(); }
  std::vector<platform::FolderEntry> ListFolder(const std::string& f) override { return sys().ListFolder(f); }

 private:
  class FullFile : public platform::File {
   public:
    FullFile(std::unique_ptr<platform::File> f, size_t room) : f_(std::move(f)), room_(room) {}
    long long Read(void* d, size_t n) override { return f_->Read(d, n); }
    bool Write(const void* s, size_t n) override {
      if (n > room_) {
        f_->Write(s, room_);  // what fits goes out, as on a real disk
        room_ = 0;
        error = platform::IoErr::kNoSpace;
        return false;
      }
      room_ -= n;
      return f_->Write(s, n);
    }
    bool Sync() override { return f_->Sync(); }
    uint64_t Size() const override { return f_->Size(); }
    bool Close() override { return f_->Close(); }

   private:
    std::unique_ptr<platform::File> f_;
    size_t room_;
  };

  static platform::FileSystem& sys() { return platform::SystemFileSystem(); }
  size_t room_;
};

}  // namespace testutil
