// Writes blocks of bytes to a file on a thread of its own, so that putting a
// large picture on the disk overlaps with drawing it. At most two blocks
// wait at a time; the caller blocks beyond that.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/file_system.h"

namespace preview {

class BackgroundWriter {
 public:
  explicit BackgroundWriter(platform::File* f);
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Hands a block over; false once any write has failed.
  bool Write(std::string&& block);
  // Waits until every block is written; false when any write failed.
  bool Finish();

 private:
  void Run();

  platform::File* f_;
  std::mutex m_;
  std::condition_variable cv_;
  std::deque<std::string> blocks_;
  bool done_ = false, failed_ = false;
  std::thread thread_;
};

}  // namespace preview
