// The trimming step of one conversion: explode every block insertion, then
// delete every element that lies wholly outside the paper frame.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "jww/jww_data.h"
#include "trim/clip_unit.h"

namespace trim {

// Receives each progress text; a front end shows it at once.
using StatusFn = std::function<void(const jww::JString&)>;

// Width and height of the paper for a paper size code, in millimetres;
// unknown codes take the largest standard sheet.
struct PaperMm {
  double w, h;
};
PaperMm PaperSize(int32_t nZumen);

// The paper frame for a paper size code, centred on the origin, with a
// margin that makes an element touching the paper edge count as inside.
Frame PaperFrame(int32_t nZumen);

// True when the element of this file-order row lies wholly outside.
bool IsOutside(const jww::TJwwData& d, const jww::TEntJwwNo& row, const Frame& fr);

// Watches a trim: the document as read, then every file-order row with the
// decision, before a deleted row is emptied. For pictures and summaries.
class TrimObserver {
 public:
  virtual ~TrimObserver() = default;
  virtual void Read(const jww::TJwwData& d) { (void)d; }
  virtual void Exploded(const jww::TJwwData& d, const Frame& fr) { (void)d, (void)fr; }
  virtual void Row(const jww::TJwwData& d, const jww::TEntJwwNo& row, bool outside) = 0;
  // The trimmed document, before it is written.
  virtual void Trimmed(jww::TJwwData& d) { (void)d; }
};

// Explodes the blocks and deletes what lies outside the paper frame. False,
// with the reason in *why, when the explosion is refused or fails; the
// document must then not be written.
bool FileConv(jww::TJwwData& d, const StatusFn& status, std::string* why = nullptr,
              TrimObserver* observer = nullptr);

}  // namespace trim
