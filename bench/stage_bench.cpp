// Stage and end-to-end benchmarks of the conversion on synthetic drawings:
// read (FileIn), explode (BlockExplode), trim (FileConv), write (FileOut),
// the whole conversion of one file as the batch run does it, and a plain
// file copy as the I/O floor. The drawings are made once per process in a
// temporary folder, on first use.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "jww/jww_data.h"
#include "shell/batch_run.h"
#include "synthetic_drawing.h"
#include "trim/file_conv.h"

namespace {

namespace fs = std::filesystem;

struct Drawing {
  Drawing(const char* n, const synth::Options& o) : name(n), options(o) {}
  const char* name;
  synth::Options options;
  // Filled when the drawing is made.
  std::string path;
  int64_t bytes = 0;
  int64_t rows = 0;          // top-level rows of the file
  int64_t exploded = 0;      // elements after the explosion (emptied insertion rows not counted)
  int64_t placed = 0;        // elements the explosion appended
  bool made = false;
};

synth::Options Plain(int64_t elements, uint64_t seed) {
  synth::Options o;
  o.version = 700;
  o.elements = elements;
  o.seed = seed;
  return o;
}

synth::Options Blocks(synth::Mix mix) {
  synth::Options o;
  o.version = 700;
  o.elements = 1000;
  o.insertions = 100000;
  o.seed = 4;
  o.mix = mix;
  return o;
}

class Workspace {
 public:
  static Workspace& Get() {
    static Workspace w;
    return w;
  }

  ~Workspace() {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }

  std::vector<Drawing>& Drawings() { return drawings_; }

  // Makes the drawing on first use; false (with the reason in err) when it
  // cannot be made.
  bool Ensure(Drawing& d, std::string& err) {
    if (d.made) return true;
    if (dir_.empty()) {
      dir_ = synth::MakeScratchFolder("orvantis-bench");
      if (dir_.empty()) {
        err = "cannot make a temporary folder";
        return false;
      }
      fs::create_directory(dir_ + "images");
      fs::create_directory(dir_ + "out");
    }
    d.path = dir_ + d.name + ".jww";
    synth::Stats st;
    if (!synth::WriteFile(d.options, d.path, st, err)) return false;
    d.bytes = static_cast<int64_t>(fs::file_size(d.path));
    d.rows = st.rows;
    jww::TJwwData doc;
    doc.BindImageFolder = ImageFolder();
    if (!doc.FileIn(d.path)) {
      err = "the drawing does not read back";
      return false;
    }
    doc.BlockExplode();
    d.placed = doc.Enthd.n1 - d.rows;
    d.exploded = 0;
    for (const jww::TEntJwwNo& r : doc.EntNo)
      if (r.EntType != 0) ++d.exploded;
    shell::JwwDataFree(doc);
    d.made = true;
    std::cerr << "made " << d.name << ": " << d.rows << " rows, " << d.exploded << " after explosion, "
              << d.bytes / 1e6 << " MB\n";
    return true;
  }

  std::string ImageFolder() const { return dir_ + "images/"; }
  // A name no file has yet, for writers that never replace a file.
  std::string NextOutput() { return dir_ + "out/" + std::to_string(serial_++) + ".jww"; }

 private:
  Workspace() {
    drawings_.emplace_back("10k", Plain(10000, 1));
    drawings_.emplace_back("100k", Plain(100000, 2));
    drawings_.emplace_back("1M", Plain(1000000, 3));
    drawings_.emplace_back("blocks100k", Blocks(synth::Mix::kAll));
    // The same nesting with lines only: the explosion without arc geometry.
    drawings_.emplace_back("blocks100k-lines", Blocks(synth::Mix::kLines));
  }

  std::string dir_;
  std::vector<Drawing> drawings_;
  uint64_t serial_ = 0;
};

Drawing* Prepare(benchmark::State& state, size_t k) {
  Workspace& w = Workspace::Get();
  Drawing& d = w.Drawings()[k];
  std::string err;
  if (!w.Ensure(d, err)) {
    state.SkipWithError(err.c_str());
    return nullptr;
  }
  return &d;
}

void Rates(benchmark::State& state, int64_t elements, int64_t bytes) {
  const double it = static_cast<double>(state.iterations());
  state.counters["elements"] = static_cast<double>(elements);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["elem/s"] = benchmark::Counter(static_cast<double>(elements) * it, benchmark::Counter::kIsRate);
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6 * it, benchmark::Counter::kIsRate);
}

// A document whose images go to the workspace's image folder.
std::unique_ptr<jww::TJwwData> NewDocument() {
  auto doc = std::make_unique<jww::TJwwData>();
  doc->BindImageFolder = Workspace::Get().ImageFolder();
  return doc;
}

// Empties the document and reads the drawing afresh (outside the timing).
void Reread(jww::TJwwData& doc, const Drawing& d) {
  shell::JwwDataFree(doc);
  doc.FileIn(d.path);
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// FileIn of the whole file: header, element list, definitions, images and
// the block tree. Elements are the file's rows.
void Read(benchmark::State& state, size_t k) {
  Drawing* d = Prepare(state, k);
  if (!d) return;
  auto doc = NewDocument();
  for (auto _ : state) {
    if (!doc->FileIn(d->path)) state.SkipWithError("FileIn failed");
    state.PauseTiming();
    shell::JwwDataFree(*doc);
    state.ResumeTiming();
  }
  Rates(state, d->rows, d->bytes);
}

// BlockExplode of a freshly read drawing. Elements are the placed ones.
void Explode(benchmark::State& state, size_t k) {
  Drawing* d = Prepare(state, k);
  if (!d) return;
  auto doc = NewDocument();
  for (auto _ : state) {
    state.PauseTiming();
    Reread(*doc, *d);
    state.ResumeTiming();
    if (!doc->BlockExplode()) state.SkipWithError("BlockExplode failed");
  }
  shell::JwwDataFree(*doc);
  Rates(state, d->placed, d->bytes);
}

// FileConv after the explosion is done, so the figure is the frame tests
// alone. Elements are the rows tested.
void Trim(benchmark::State& state, size_t k) {
  Drawing* d = Prepare(state, k);
  if (!d) return;
  auto doc = NewDocument();
  for (auto _ : state) {
    state.PauseTiming();
    Reread(*doc, *d);
    doc->BlockExplode();
    state.ResumeTiming();
    trim::FileConv(*doc, trim::StatusFn{});
  }
  shell::JwwDataFree(*doc);
  Rates(state, d->exploded, d->bytes);
}

// FileOut of the trimmed drawing into a new file each time. Bytes are those
// of the file written; elements the rows the writer walks.
void Write(benchmark::State& state, size_t k) {
  Drawing* d = Prepare(state, k);
  if (!d) return;
  Workspace& w = Workspace::Get();
  auto doc = NewDocument();
  doc->FileIn(d->path);
  trim::FileConv(*doc, trim::StatusFn{});
  doc->SetFileOutOption(doc->MojiEncode ? 32 : 0);
  int64_t written = 0;
  for (auto _ : state) {
    const std::string out = w.NextOutput();
    if (!doc->FileOut(out, doc->Enthd.jwVer)) state.SkipWithError("FileOut failed");
    state.PauseTiming();
    std::error_code ec;
    written = static_cast<int64_t>(fs::file_size(out, ec));
    RemoveQuietly(out);
    state.ResumeTiming();
  }
  const int64_t rows = doc->Enthd.n1;
  shell::JwwDataFree(*doc);
  Rates(state, rows, written);
}

// One file as the batch run converts it: FileCheck, FileIn, FileConv,
// FileOut and the clean-up. Elements are the rows after the explosion;
// bytes those of the source.
void EndToEnd(benchmark::State& state, size_t k) {
  Drawing* d = Prepare(state, k);
  if (!d) return;
  Workspace& w = Workspace::Get();
  auto doc = NewDocument();
  for (auto _ : state) {
    const std::string out = w.NextOutput();
    if (shell::RunProc1(*doc, d->path, out, trim::StatusFn{}) != shell::kConverted)
      state.SkipWithError("conversion failed");
    state.PauseTiming();
    RemoveQuietly(out);
    state.ResumeTiming();
  }
  Rates(state, d->exploded, d->bytes);
}

// The I/O floor: the source copied into a new file in 256 KiB pieces.
void Copy(benchmark::State& state, size_t k) {
  Drawing* d = Prepare(state, k);
  if (!d) return;
  Workspace& w = Workspace::Get();
  std::vector<char> buf(1 << 18);
  for (auto _ : state) {
    const std::string out = w.NextOutput();
    std::FILE* in = std::fopen(d->path.c_str(), "rb");
    std::FILE* to = std::fopen(out.c_str(), "wbx");
    if (!in || !to) {
      state.SkipWithError("cannot open for copying");
    } else {
      size_t n;
      while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0)
        if (std::fwrite(buf.data(), 1, n, to) != n) state.SkipWithError("copy failed");
    }
    if (in) std::fclose(in);
    if (to) std::fclose(to);
    state.PauseTiming();
    RemoveQuietly(out);
    state.ResumeTiming();
  }
  Rates(state, d->rows, d->bytes);
}

void Register(const char* stage, void (*fn)(benchmark::State&, size_t), size_t k) {
  const std::string name = std::string(stage) + "/" + Workspace::Get().Drawings()[k].name;
  benchmark::RegisterBenchmark(name.c_str(), fn, k)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  // Drawings 0-2 have no insertions (nothing to explode), 3 is the block
  // drawing and 4 its lines-only twin, measured for the explosion alone.
  const size_t plainAndBlocks = 4;
  for (size_t k = 0; k < plainAndBlocks; ++k) Register("read", Read, k);
  Register("explode", Explode, 3);
  Register("explode", Explode, 4);
  for (size_t k = 0; k < plainAndBlocks; ++k) Register("trim", Trim, k);
  for (size_t k = 0; k < plainAndBlocks; ++k) Register("write", Write, k);
  for (size_t k = 0; k < plainAndBlocks; ++k) Register("e2e", EndToEnd, k);
  for (size_t k = 0; k < plainAndBlocks; ++k) Register("copy", Copy, k);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
