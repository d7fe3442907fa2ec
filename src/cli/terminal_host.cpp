#include "terminal_host.h"

#include "console.h"
#include "json_writer.h"
#include "jww/jww_strings.h"
#include "preview/svg_preview.h"
#include "shell/batch_run.h"
#include "shell/output_naming.h"
#include "shell/user_folders.h"
#include "stop_signal.h"

namespace cli {

using jww::ToUtf8;

namespace {

// Cuts the text to what fits one terminal line, so that a carriage return
// goes back to its start; East Asian characters take two columns.
shell::JString FitColumns(const shell::JString& s, int columns) {
  int used = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    int w = (c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFF9F)) ? 2 : 1;
    if (used + w > columns - 1) return s.substr(0, i);
    used += w;
  }
  return s;
}

}  // namespace

std::string TerminalHost::DesktopFolder() { return shell::DesktopFolder(); }
std::string TerminalHost::DocumentsFolder() { return shell::DocumentsFolder(); }

void TerminalHost::ShowMessage(const shell::JString& text) {
  ClearStatusLine();
  std::string t = ToUtf8(text);
  for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "\n");
  Err(t + "\n");
}

bool TerminalHost::EscapeDown() { return StopRequested(); }

void TerminalHost::LogAdd(const shell::JString& line) {
  if (reports_.json) {
    if (line == shell::kEscStop) Out("{\"stopped\":true}\n");
    return;
  }
  ClearStatusLine();
  Out(ToUtf8(line) + "\n");
  DrawStatusLine();
}

void TerminalHost::SetStatus(const shell::JString& text) {
  if (progress_ == Progress::kOff) return;
  if (progress_ == Progress::kLines) {
    if (!text.empty()) Err(ToUtf8(text) + "\n");
    return;
  }
  ClearStatusLine();
  status_ = ToUtf8(FitColumns(text, TerminalColumns()));
  DrawStatusLine();
}

void TerminalHost::FileDetail(const std::string& why) {
  why_ = why;
  if (!reports_.why || reports_.json) return;
  ClearStatusLine();
  Err("    " + why + "\n");
  DrawStatusLine();
}

trim::TrimObserver* TerminalHost::FileObserver(const std::string&, const std::string& dst) {
  why_.clear();
  preview_.clear();
  if (!reports_.previewDir.empty()) {
    std::string name = shell::FileNamePart(dst);
    size_t dot = name.rfind('.');
    preview_ = shell::MakeUniqueFileName(reports_.previewDir + name.substr(0, dot) + ".svg");
    observer_ = std::make_unique<preview::SvgPreview>(preview_);
  } else if (reports_.dryRun || reports_.json) {
    observer_ = std::make_unique<preview::SummaryObserver>();
  } else {
    observer_.reset();
  }
  return observer_.get();
}

const preview::TrimSummary* TerminalHost::Summary() const {
  if (auto* svg = dynamic_cast<const preview::SvgPreview*>(observer_.get())) return &svg->summary();
  if (auto* sum = dynamic_cast<const preview::SummaryObserver*>(observer_.get())) return &sum->summary();
  return nullptr;
}

void TerminalHost::FileFinished(const std::string& src, const std::string& dst, const shell::JString& result) {
  const bool done = result == shell::kConverted;
  const preview::TrimSummary* s = done ? Summary() : nullptr;
  auto* svg = dynamic_cast<const preview::SvgPreview*>(observer_.get());
  const bool picture = svg && svg->finished() && svg->ok();
  if (reports_.json) {
    std::string j = "{\"file\":" + JsonString(src) + ",\"output\":" + JsonString(dst) + ",\"result\":\"" +
                    (done ? "converted" : "failed") + "\",\"dry_run\":" + (reports_.dryRun ? "true" : "false");
    if (s)
      j += ",\"read\":" + s->read.Json() + ",\"exploded\":" + s->exploded.Json() + ",\"kept\":" + s->kept.Json() +
           ",\"deleted\":" + s->deleted.Json() + ",\"images\":{\"kept\":" + std::to_string(s->imagesKept) +
           ",\"dropped\":" + std::to_string(s->imagesDropped) + "}";
    if (picture) j += ",\"preview\":" + JsonString(preview_);
    j += ",\"why\":" + (why_.empty() ? std::string("null") : JsonString(why_)) + "}\n";
    Out(j);
  } else if (s && reports_.dryRun) {
    ClearStatusLine();
    Out("    read: " + s->read.Text() + "\n    placed by the block explosion: " + s->exploded.Text() +
        "\n    kept: " + s->kept.Text() + "\n    deleted: " + s->deleted.Text() +
        "\n    images kept: " + std::to_string(s->imagesKept) + ", dropped: " + std::to_string(s->imagesDropped) +
        "\n");
    DrawStatusLine();
  }
  observer_.reset();
  (void)picture;
}

void TerminalHost::ClearStatusLine() {
  if (progress_ != Progress::kLine || status_.empty()) return;
  ErrClearLine();
}

void TerminalHost::DrawStatusLine() {
  if (progress_ != Progress::kLine || status_.empty()) return;
  Err(status_);
}

}  // namespace cli
