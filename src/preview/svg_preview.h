// A picture of one conversion as SVG: the paper frame, every kept element in
// its pen colour, every deleted one light and dashed, and a legend with the
// counts. The figures are those the keep-or-delete tests see: text boxes,
// image boxes and ellipse parameters come from the same code. Written as the
// trim goes, so a drawing of any size streams straight to the file.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "preview/trim_summary.h"
#include "trim/file_conv.h"

namespace preview {

class SvgPreview : public trim::TrimObserver {
 public:
  // Opens `path` (a new file; an existing one is never replaced).
  explicit SvgPreview(const std::string& path);
  ~SvgPreview() override;
  bool ok() const { return !failed_ && (file_ != nullptr || finished_); }
  bool finished() const { return finished_; }

  void Read(const jww::TJwwData& d) override { summary_.Read(d); }
  void Exploded(const jww::TJwwData& d, const trim::Frame& fr) override;
  void Row(const jww::TJwwData& d, const jww::TEntJwwNo& row, bool outside) override;
  // Writes the legend and closes the file (removed when anything failed).
  void Trimmed(jww::TJwwData& d) override;
  const TrimSummary& summary() const { return summary_.summary(); }

  class Out;

 private:
  std::unique_ptr<platform::File> file_;
  std::unique_ptr<Out> out_;
  std::string path_;
  SummaryObserver summary_;
  trim::Frame frame_;
  bool started_ = false, failed_ = false, finished_ = false;
  bool Finish(const TrimSummary& summary);
};

}  // namespace preview
