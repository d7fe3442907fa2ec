// What one conversion did, counted by element kind: read, placed by the
// block explosion, kept and deleted; and the embedded images kept and
// dropped.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "trim/file_conv.h"

namespace preview {

// Kinds in file-order type order: line, arc, point, text, dimension, solid,
// block insertion.
inline constexpr const char* kKindNames[7] = {"line", "arc", "point", "text", "dimension", "solid", "block"};

struct KindCounts {
  std::array<int64_t, 7> n{};
  int64_t Total() const;
  // "line 12, arc 3, ..." (kinds with none left out; "none" when empty).
  std::string Text() const;
  // {"line":12,"arc":3,...} with every kind.
  std::string Json() const;
};

struct TrimSummary {
  KindCounts read, exploded, kept, deleted;
  int imagesKept = 0, imagesDropped = 0;
};

// Counts a trim as it happens.
class SummaryObserver : public trim::TrimObserver {
 public:
  void Read(const jww::TJwwData& d) override;
  void Exploded(const jww::TJwwData& d, const trim::Frame& fr) override;
  void Row(const jww::TJwwData& d, const jww::TEntJwwNo& row, bool outside) override;
  // Which images the output carries: those a remaining text names and, when
  // the images were extracted, whose files exist.
  void Trimmed(jww::TJwwData& d) override;
  const TrimSummary& summary() const { return s_; }

 private:
  TrimSummary s_;
};

}  // namespace preview
