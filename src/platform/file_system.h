// The file system as the rest of the program sees it: UTF-8 paths, files
// created only when new, read while others may read but not write, and
// errors in a few kinds that the user can act on. One implementation per
// system; tests may put their own in its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class IoErr {
  kNone,
  kExists,      // the name is taken
  kNotFound,    // the file or a folder on its way is missing
  kDenied,      // no permission, or a read-only medium
  kNoSpace,     // the disk or the quota is full, or the file is too large
  kNotRegular,  // a folder, a pipe, a device: not a plain file
  kOther,
};

// Plain words for an error kind, for messages.
const char* IoErrText(IoErr e);

class File {
 public:
  virtual ~File() = default;
  // Up to n bytes; fewer only at the end of the file; -1 on an error.
  virtual long long Read(void* dst, size_t n) = 0;
  // All n bytes or false.
  virtual bool Write(const void* src, size_t n) = 0;
  // Puts what was written onto the disk.
  virtual bool Sync() = 0;
  // The size when the file was opened.
  virtual uint64_t Size() const = 0;
  // False when anything written could not be stored.
  virtual bool Close() = 0;
  IoErr error = IoErr::kNone;  // the first failure
};

struct FolderEntry {
  std::string name;
  bool folder = false;
  int64_t ageSeconds = 0;  // since its last change
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // A new file; fails with kExists when any entry has that name, a dangling
  // link included. Never follows a link.
  virtual std::unique_ptr<File> CreateExclusive(const std::string& path, IoErr* err) = 0;
  // A plain file for reading; others may read it meanwhile but not write.
  virtual std::unique_ptr<File> OpenRead(const std::string& path, IoErr* err) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Any directory entry of that name: a file, a folder, even a dangling link.
  virtual bool EntryExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Creates the folder and its missing parents; true when it exists after.
  virtual bool CreateFolders(const std::string& path) = 0;
  // Removes the folder only when it is empty.
  virtual bool RemoveEmptyFolder(const std::string& path) = 0;
  // Gives a file a new name, replacing a file of that name.
  virtual bool MoveReplace(const std::string& from, const std::string& to) = 0;
  // Gives a file a new name only when no entry has it (kExists otherwise).
  virtual bool MoveNoReplace(const std::string& from, const std::string& to, IoErr* err) = 0;
  virtual std::string ExecutablePath() = 0;
  // The entries of a folder (not "." and ".."), links not followed.
  virtual std::vector<FolderEntry> ListFolder(const std::string& folder) = 0;
};

// The file system in use: the system's own unless a test put another there.
FileSystem& Fs();
// Tests hand in their own; nullptr puts the system's back.
void SetFileSystem(FileSystem* fs);
FileSystem& SystemFileSystem();

unsigned long CurrentProcessId();
// Whether a process of that id runs on this machine.
bool ProcessRuns(unsigned long pid);

// The path delimiter of this system.
#ifdef _WIN32
inline constexpr char kDelim = '\\';
#else
inline constexpr char kDelim = '/';
#endif

}  // namespace platform
