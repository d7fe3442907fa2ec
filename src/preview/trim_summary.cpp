#include "preview/trim_summary.h"

#include "jww/bind_image.h"
#include "platform/file_system.h"

namespace preview {

namespace {

KindCounts CountsOf(const jww::TJwwData& d) {
  KindCounts c;
  c.n = {d.EntLineN, d.EntEnkoN, d.EntTenN, d.EntMojiN, d.EntSunpoN, d.EntSolidN, d.EntBlockN};
  return c;
}

}  // namespace

int64_t KindCounts::Total() const {
  int64_t t = 0;
  for (int64_t v : n) t += v;
  return t;
}

std::string KindCounts::Text() const {
  std::string t;
  for (size_t k = 0; k < n.size(); ++k)
    if (n[k] != 0) t += (t.empty() ? "" : ", ") + std::string(kKindNames[k]) + " " + std::to_string(n[k]);
  return t.empty() ? "none" : t;
}

std::string KindCounts::Json() const {
  std::string t = "{";
  for (size_t k = 0; k < n.size(); ++k)
    t += (k ? ",\"" : "\"") + std::string(kKindNames[k]) + "\":" + std::to_string(n[k]);
  return t + "}";
}

void SummaryObserver::Read(const jww::TJwwData& d) { s_.read = CountsOf(d); }

void SummaryObserver::Exploded(const jww::TJwwData& d, const trim::Frame&) {
  KindCounts now = CountsOf(d);
  for (size_t k = 0; k < 6; ++k) s_.exploded.n[k] = now.n[k] - s_.read.n[k];
  s_.exploded.n[6] = 0;
}

void SummaryObserver::Row(const jww::TJwwData&, const jww::TEntJwwNo& row, bool outside) {
  if (row.EntType < 1 || row.EntType > 7) return;
  (outside ? s_.deleted : s_.kept).n[static_cast<size_t>(row.EntType - 1)]++;
}

void SummaryObserver::Trimmed(jww::TJwwData& d) {
  s_.imagesKept = s_.imagesDropped = 0;
  for (const auto& e : jww::MarkImagesInUse(d)) {
    bool kept = e.exf && (!d.ExtractImages ||
                          platform::Fs().FileExists(jww::BindImagePath(d.BindImageFolder, e.Fname)));
    (kept ? s_.imagesKept : s_.imagesDropped)++;
  }
}

}  // namespace preview
