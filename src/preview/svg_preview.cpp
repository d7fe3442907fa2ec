#include "preview/svg_preview.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "geom/func_2.h"
#include "preview/background_writer.h"
#include "jww/jww_strings.h"
#include "trim/clip_unit.h"

namespace preview {

using geom::DPoint;

namespace {

constexpr double kPi = std::numbers::pi;

// Screen colours of the standard pens 1 to 9 on a white page, index 0 for
// pen 0 and 10 for the rest (extended and SXF colours), as classes p0..p10
// (strokes) and f0..f10 (fills) so that each shape names its pen briefly.
const char* const kPens[11] = {"#333333", "#00a0a0", "#202020", "#00a000", "#b0a000", "#c000c0",
                               "#0000d0", "#006060", "#d04000", "#808080", "#404040"};
const char* const kPenClass[11] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
const char* PenClass(uint16_t c) { return kPenClass[c <= 9 ? c : 10]; }

}  // namespace

// A large buffer in front of the file; numbers are written with two
// decimals (10 micrometres, far below what a picture shows), and the drawing's y axis, which points up, is
// turned into the picture's, which points down, here and only here.
class SvgPreview::Out {
 public:
  explicit Out(platform::File* f) : writer_(f) { buf_.reserve(kSize + 4096); }
  ~Out() { Finish(); }
  Out& operator<<(const char* s) {
    buf_ += s;
    return Spill();
  }
  Out& operator<<(const std::string& s) {
    buf_ += s;
    return Spill();
  }
  // Two decimals, written by hand straight into the buffer: the general
  // formatter would take most of a large picture's time.
  Out& Num(double v) {
    double scaled = v * 100;
    scaled = scaled + (scaled < 0 ? -0.5 : 0.5);
    if (!(std::fabs(scaled) < 9e15)) scaled = 0;  // also NaN
    int64_t n = static_cast<int64_t>(scaled);
    char digits[24];
    char* e = digits + sizeof digits;
    char* p = e;
    uint64_t u = n < 0 ? static_cast<uint64_t>(-n) : static_cast<uint64_t>(n);
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
    *--p = '.';
    do {
      *--p = static_cast<char>('0' + u % 10);
      u /= 10;
    } while (u);
    if (n < 0) *--p = '-';
    const size_t len = static_cast<size_t>(e - p), at = buf_.size();
    buf_.resize(at + len);
    std::memcpy(buf_.data() + at, p, len);
    return Spill();
  }
  Out& X(double x) { return Num(x); }
  Out& Y(double y) { return Num(-y); }
  Out& P(const DPoint& p) {
    X(p.x);
    buf_ += ',';
    return Y(p.y);
  }
  // Text for XML: markup characters escaped, control characters dropped.
  Out& Text(const jww::JString& s) {
    std::string u = jww::ToUtf8(s);
    for (unsigned char c : u) {
      switch (c) {
        case '<': buf_ += "&lt;"; break;
        case '>': buf_ += "&gt;"; break;
        case '&': buf_ += "&amp;"; break;
        case '"': buf_ += "&quot;"; break;
        default:
          if (c >= 0x20) buf_ += static_cast<char>(c);
      }
    }
    return Spill();
  }
  // Hands the buffer to the writer thread and starts a new one.
  void Flush() {
    if (buf_.empty()) return;
    if (!writer_.Write(std::move(buf_))) failed_ = true;
    buf_ = std::string();
    buf_.reserve(kSize + 4096);
  }
  // Everything written; false when anything failed.
  bool Finish() {
    Flush();
    if (!writer_.Finish()) failed_ = true;
    return !failed_;
  }
  bool failed() const { return failed_; }

 private:
  static constexpr size_t kSize = 1 << 20;
  Out& Spill() {
    if (buf_.size() >= kSize) Flush();
    return *this;
  }
  BackgroundWriter writer_;
  std::string buf_;
  bool failed_ = false;
};

SvgPreview::SvgPreview(const std::string& path) : path_(path) {
  file_ = platform::Fs().CreateExclusive(path, nullptr);
  if (file_) out_ = std::make_unique<Out>(file_.get());
}

SvgPreview::~SvgPreview() {
  // A drawing that never reached its trim has no picture.
  if (file_ && !finished_) {
    out_.reset();
    file_.reset();
    platform::Fs().DeleteFile(path_);
  }
}

void SvgPreview::Trimmed(jww::TJwwData& d) {
  summary_.Trimmed(d);
  Finish(summary_.summary());
}

void SvgPreview::Exploded(const jww::TJwwData& d, const trim::Frame& fr) {
  summary_.Exploded(d, fr);
  if (!out_) return;
  started_ = true;
  frame_ = fr;
  const double w = fr.xmax - fr.xmin, h = fr.ymax - fr.ymin;
  const double m = std::max(w, h) * 0.15, stroke = std::max(w, h) / 1500;
  Out& o = *out_;
  o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"";
  o.X(fr.xmin - m) << " ";
  o.Y(fr.ymax + m) << " ";
  o.Num(w + 2 * m) << " ";
  o.Num(h + 2 * m + m) << "\" width=\"1200\" height=\"";
  o.Num(1200 * (h + 3 * m) / (w + 2 * m)) << "\">\n<style>\n";
  o << "path,circle{fill:none;stroke-width:";
  o.Num(stroke) << "}\n";
  for (int i = 0; i < 11; ++i)
    o << ".p" << kPenClass[i] << "{stroke:" << kPens[i] << "}\n.f" << kPenClass[i] << "{fill:" << kPens[i] << ";stroke:none}\n";
  o << ".d{stroke:#bbbbbb !important;fill:none !important;stroke-dasharray:";
  o.Num(stroke * 4) << "}\ntext.d{fill:#bbbbbb !important;stroke:none !important}\n.frame{fill:#ffffff;stroke:#000000;stroke-width:";
  o.Num(stroke * 2) << "}\n.legend{font-family:sans-serif}\n</style>\n";
  o << "<rect class=\"frame\" x=\"";
  o.X(fr.xmin) << "\" y=\"";
  o.Y(fr.ymax) << "\" width=\"";
  o.Num(w) << "\" height=\"";
  o.Num(h) << "\"/>\n<g class=\"elements\">\n";
}

namespace {

// An ellipse arc as SVG arc commands: its end points are the arc test's
// points, radii and tilt its parameters; the whole ellipse as two halves.
// `move` starts a new path at the arc's first point, else the path runs on.
void ArcPath(SvgPreview::Out& o, int32_t full, double cx, double cy, double r, double f, double start, double sweep,
             double tilt, bool move) {
  const double w = trim::EnkoSweep(full, sweep);
  const bool whole = std::fabs(std::fabs(w) - 2 * kPi) < 1e-14;
  const int parts = whole ? 2 : 1;
  const double step = w / parts;
  // Counterclockwise on the drawing stays so on the page, where SVG's
  // positive sweep runs clockwise; a negative flattening turns the arc over.
  const char* sweepFlag = (w > 0) == (f > 0) ? " 0 " : " 1 ";
  const char* large = std::fabs(step) > kPi ? " 1" : " 0";
  if (move) {
    o << "M";
    o.P(trim::EnkoPoint(cx, cy, r, f, start, tilt));
  }
  double th = start;
  for (int i = 0; i < parts; ++i) {
    th = th + step;
    o << " A";
    o.Num(std::fabs(r)) << " ";
    o.Num(std::fabs(r * f)) << " ";
    o.Num(-tilt * 180 / kPi) << large << sweepFlag;
    o.P(trim::EnkoPoint(cx, cy, r, f, th, tilt));
  }
}

}  // namespace

void SvgPreview::Row(const jww::TJwwData& d, const jww::TEntJwwNo& row, bool outside) {
  summary_.Row(d, row, outside);
  if (!out_ || !started_) return;
  Out& o = *out_;
  // Kept shapes carry only their pen; deleted ones "d" besides.
  const char* cls = outside ? "d " : "";
  const int32_t k = row.EntNo;
  auto head = [&](const char* tag, uint16_t colour, bool fill = false) -> Out& {
    o << "<" << tag << " class=\"" << cls << (fill ? "f" : "p") << PenClass(colour) << "\"";
    return o;
  };
  // Each element on a line of its own; the parts of a dimension share one.
  auto poly = [&](const DPoint* p, size_t n, uint16_t colour, bool closed, bool fill, const char* end = "\n") {
    head("path", colour, fill) << " d=\"M";
    for (size_t i = 0; i < n; ++i) {
      if (i) o << "L";
      o.P(p[i]);
    }
    o << (closed ? "Z\"/>" : "\"/>") << end;
  };
  // A dot whose radius is the frame's width divided by `share`.
  auto mark = [&](uint16_t colour, double x, double y, double share) {
    head("circle", colour) << " cx=\"";
    o.X(x) << "\" cy=\"";
    o.Y(y) << "\" r=\"";
    o.Num((frame_.xmax - frame_.xmin) / share) << "\"/>\n";
  };
  auto text = [&](const jww::TEntJwwMoji& m, uint16_t colour, const char* end = "\n") {
    const bool vertical = (m.att.sFlg & 0x20) != 0;
    const double size = vertical ? m.dSizeX : m.dSizeY;
    const double deg = geom::VectorAngle(m.end_x - m.start_x, m.end_y - m.start_y) * 180 / kPi;
    head("text", colour, true) << " x=\"";
    o.X(m.start_x) << "\" y=\"";
    o.Y(m.start_y) << "\" font-size=\"";
    o.Num(std::fabs(size)) << "\" transform=\"rotate(";
    o.Num(-deg) << " ";
    o.X(m.start_x) << " ";
    o.Y(m.start_y) << ")\"" << (vertical ? " writing-mode=\"tb\"" : "") << ">";
    o.Text(m.str) << "</text>" << end;
  };
  switch (row.EntType) {
    case jww::kEntLine: {
      if (k < 0 || k >= d.EntLineN) return;
      const auto& e = d.EntLine[static_cast<size_t>(k)];
      const DPoint p[2] = {{e.start_x, e.start_y}, {e.end_x, e.end_y}};
      poly(p, 2, e.att.nPenColor, false, false);
      break;
    }
    case jww::kEntEnko: {
      if (k < 0 || k >= d.EntEnkoN) return;
      const auto& e = d.EntEnko[static_cast<size_t>(k)];
      head("path", e.att.nPenColor) << " d=\"";
      ArcPath(o, static_cast<int32_t>(e.bZenEnFlg), e.start_x, e.start_y, e.dHankei, e.dHenpeiRitsu, e.radKaishiKaku,
              e.radEnkoKaku, e.radKatamukiKaku, true);
      o << "\"/>\n";
      break;
    }
    case jww::kEntTen: {
      if (k < 0 || k >= d.EntTenN) return;
      const auto& e = d.EntTen[static_cast<size_t>(k)];
      mark(e.att.nPenColor, e.start_x, e.start_y, 600);
      break;
    }
    case jww::kEntMoji: {
      if (k < 0 || k >= d.EntMojiN) return;
      const auto& e = d.EntMoji[static_cast<size_t>(k)];
      std::array<DPoint, 4> box;
      if (e.str.starts_with(u"^@BM") && trim::ImageBoxCorners(e.str, e.start_x, e.start_y, box))
        poly(box.data(), 4, e.att.nPenColor, true, false);
      else
        text(e, e.att.nPenColor);
      break;
    }
    case jww::kEntSunpo: {
      if (k < 0 || k >= d.EntSunpoN) return;
      const auto& e = d.EntSunpo[static_cast<size_t>(k)];
      o << (outside ? "<g class=\"d\">" : "<g>");
      const DPoint p[2] = {{e.Sen.start_x, e.Sen.start_y}, {e.Sen.end_x, e.Sen.end_y}};
      poly(p, 2, e.att.nPenColor, false, false, "");
      text(e.Moji, e.Moji.att.nPenColor, "");
      o << "</g>\n";
      break;
    }
    case jww::kEntSolid: {
      if (k < 0 || k >= d.EntSolidN) return;
      const auto& e = d.EntSolid[static_cast<size_t>(k)];
      if (e.att.nPenStyle < 101) {
        const DPoint p[4] = {{e.start_x, e.start_y}, {e.end_x, e.end_y}, {e.DPoint2_x, e.DPoint2_y},
                             {e.DPoint3_x, e.DPoint3_y}};
        poly(p, 4, e.att.nPenColor, true, true);
        break;
      }
      // Arc solids: sectors close through the centre, rings run back along
      // their inner arc, the rest close their arc with its chord.
      const uint8_t style = e.att.nPenStyle;
      const double mode = std::trunc(e.DPoint3_y);
      const bool full = (style == 111 && mode != 0) || (style == 101 && mode == 100);
      head("path", e.att.nPenColor, true) << " d=\"";
      if (full) {
        ArcPath(o, 1, e.start_x, e.start_y, e.end_x, e.end_y, e.DPoint2_y, e.DPoint3_x, e.DPoint2_x, true);
      } else if (style == 105 || style == 106) {
        const double r2 = e.DPoint3_y;
        const double f2 = style == 106 ? (e.end_x * e.end_y - e.end_x) / r2 + 1 : e.end_y;
        ArcPath(o, 0, e.start_x, e.start_y, e.end_x, e.end_y, e.DPoint2_y, e.DPoint3_x, e.DPoint2_x, true);
        const double sweep = trim::EnkoSweep(0, e.DPoint3_x);
        o << " L";
        o.P(trim::EnkoPoint(e.start_x, e.start_y, r2, f2, e.DPoint2_y + sweep, e.DPoint2_x));
        ArcPath(o, 0, e.start_x, e.start_y, r2, f2, e.DPoint2_y + sweep, -sweep, e.DPoint2_x, false);
      } else {
        if (style == 101 && mode == 0) {
          o << "M";
          o.P({e.start_x, e.start_y});
          o << " L";
          o.P(trim::EnkoPoint(e.start_x, e.start_y, e.end_x, e.end_y, e.DPoint2_y, e.DPoint2_x));
        }
        ArcPath(o, 0, e.start_x, e.start_y, e.end_x, e.end_y, e.DPoint2_y, e.DPoint3_x, e.DPoint2_x,
                !(style == 101 && mode == 0));
      }
      o << " Z\"/>\n";
      break;
    }
    default: {
      if (row.EntType != jww::kEntBlock || k < 0 || k >= d.EntBlockN) return;
      const auto& e = d.EntBlock[static_cast<size_t>(k)];
      mark(e.att.nPenColor, e.DPKijunTen_x, e.DPKijunTen_y, 300);  // an insertion left whole
      break;
    }
  }
}

bool SvgPreview::Finish(const TrimSummary& s) {
  if (!file_ || !started_) return false;
  Out& o = *out_;
  const double w = frame_.xmax - frame_.xmin, h = frame_.ymax - frame_.ymin;
  const double line = std::max(w, h) / 40;
  o << "</g>\n<g class=\"legend\" font-size=\"";
  o.Num(line * 0.45) << "\">\n";
  auto legendLine = [&](int i, const std::string& text) {
    o << "<text x=\"";
    o.X(frame_.xmin) << "\" y=\"";
    o.Y(frame_.ymin - line * (i + 1.2)) << "\">" << text << "</text>\n";
  };
  legendLine(0, "read: " + s.read.Text() + "; placed by the block explosion: " + s.exploded.Text());
  legendLine(1, "kept: " + s.kept.Text() + " (" + std::to_string(s.kept.Total()) + ")");
  legendLine(2, "deleted: " + s.deleted.Text() + " (" + std::to_string(s.deleted.Total()) + ")");
  legendLine(3, "images kept: " + std::to_string(s.imagesKept) + ", dropped: " + std::to_string(s.imagesDropped));
  o << "</g>\n</svg>\n";
  bool ok = o.Finish();
  out_.reset();
  ok = file_->Close() && ok;
  file_.reset();
  if (!ok) platform::Fs().DeleteFile(path_);
  failed_ = !ok;
  finished_ = true;
  return ok;
}

}  // namespace preview
