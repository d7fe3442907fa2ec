#include "preview/background_writer.h"

namespace preview {

BackgroundWriter::BackgroundWriter(platform::File* f) : f_(f), thread_([this] { Run(); }) {}

BackgroundWriter::~BackgroundWriter() { Finish(); }

bool BackgroundWriter::Write(std::string&& block) {
  std::unique_lock<std::mutex> lock(m_);
  cv_.wait(lock, [this] { return blocks_.size() < 2 || failed_; });
  if (failed_) return false;
  blocks_.push_back(std::move(block));
  cv_.notify_all();
  return true;
}

bool BackgroundWriter::Finish() {
  {
    std::lock_guard<std::mutex> lock(m_);
    done_ = true;
  }
  cv_.notify_all();
  if (thread_.joinable()) thread_.join();
  return !failed_;
}

void BackgroundWriter::Run() {
  for (;;) {
    std::string block;
    {
      std::unique_lock<std::mutex> lock(m_);
      cv_.wait(lock, [this] { return !blocks_.empty() || done_; });
      if (blocks_.empty()) return;
      block = std::move(blocks_.front());
      blocks_.pop_front();
    }
    cv_.notify_all();
    bool ok = f_->Write(block.data(), block.size());
    if (!ok) {
      std::lock_guard<std::mutex> lock(m_);
      failed_ = true;
      cv_.notify_all();
    }
  }
}

}  // namespace preview
