// Damaged drawings: a read that stops keeps everything read before the stop,
// says where it stopped, and leaves nothing open or half-made behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "jww/jww_data.h"
#include "jww_builder.h"
#include "test_util.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;
namespace fs = std::filesystem;

namespace {

bool Load(TJwwData& d, const Bytes& b) { return d.FileInMemory(b.b.data(), b.size()); }

size_t OpenDescriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

}  // namespace

// Counts larger than the rest of the file can hold: every item read before
// the stop stays, in each of the four lists.
TEST(Salvage, OverstatedCountsKeepWhatWasRead) {
  testutil::TempDir tmp;
  struct Case {
    const char* what;
    std::function<void(Bytes&)> build;
    int32_t lines, definitions, members, images;
  };
  const Case cases[] = {
      {"element count 256, one line, then the definitions",
       [](Bytes& b) {
         Stream s(b, 600);
         s.Count(256);
         s.Line(Attr{}, 0, 0, 1, 1);
         s.Count(1);
         s.Def(Attr{}, 1, "d", 0);
       },
       1, 0, 0, 0},
      {"2,000 lines cut after 81",
       [](Bytes& b) {
         Stream s(b, 600);
         s.Count(2000);
         for (int i = 0; i < 81; ++i) s.Line(Attr{}, i, 0, i, 1);
       },
       81, 0, 0, 0},
      {"definition count 5,000, one definition",
       [](Bytes& b) {
         Stream s(b, 600);
         s.Count(0);
         s.Count(5000);
         s.Def(Attr{}, 1, "d", 2);
         s.Line(Attr{}, 0, 0, 1, 1);
         s.Line(Attr{}, 0, 0, 2, 2);
       },
       0, 1, 2, 0},
      {"member count 60,000, two members",
       [](Bytes& b) {
         Stream s(b, 600);
         s.Count(0);
         s.Count(1);
         s.Def(Attr{}, 1, "d", 60000);
         s.Line(Attr{}, 0, 0, 1, 1);
         s.Line(Attr{}, 0, 0, 2, 2);
       },
       0, 1, 2, 0},
  };
  for (const Case& c : cases) {
    Bytes b = fixture::HeaderBytes(600);
    c.build(b);
    TJwwData d;
    EXPECT_FALSE(Load(d, b)) << c.what;
    EXPECT_EQ(d.EntLineN, c.lines) << c.what;
    EXPECT_GE(d.Enthd.n1, c.lines) << c.what;
    EXPECT_EQ(d.EntBlockDefN, c.definitions) << c.what;
    if (c.definitions > 0) {
      EXPECT_EQ(d.EntBlockDef[0].mLineN, c.members) << c.what;
    }
    EXPECT_FALSE(d.ReadError.empty()) << c.what;
  }
  // An image count of 1,000 with one whole image: that image is extracted.
  Bytes b = fixture::HeaderBytes(700);
  Stream s(b, 700);
  s.Count(0);
  s.Count(0);
  b.i32(1000);
  b.ansi("a.png");
  b.i32(3);
  b.raw("PNG", 3);
  TJwwData d;
  d.BindImageFolder = tmp.path() + "/";
  EXPECT_FALSE(Load(d, b));
  ASSERT_EQ(d.BindImageN, 1);
  EXPECT_EQ(testutil::ReadFile(tmp.file("a.png")), (std::vector<uint8_t>{'P', 'N', 'G'}));
  d.BindImageDeleteNonGzFile();
}

// A definition cut inside its fixed part reads the missing bytes as zero,
// not as whatever the class names before it left in the reader's buffer.
TEST(Salvage, CutDefinitionFixedPartReadsZero) {
  Bytes b = fixture::HeaderBytes(600);
  Stream s(b, 600);
  s.Count(1);
  s.Line(Attr{}, 0, 0, 1, 1);
  s.Count(1);
  s.Tag("CDataList");
  b.u8(0x2A);
  TJwwData d;
  EXPECT_FALSE(Load(d, b));
  ASSERT_EQ(d.EntBlockDefN, 1);
  const TEntJwwBlockDef& def = d.EntBlockDef[0];
  EXPECT_EQ(def.att.lGroup, 0x2Au);
  EXPECT_EQ(def.att.nPenStyle, 0);
  EXPECT_EQ(def.att.nPenColor, 0);
  EXPECT_EQ(def.nNumber, 0u);
  EXPECT_EQ(def.dtime, 0u);
}

// An image whose payload is cut short is neither kept on disk nor written,
// and its file is closed.
TEST(Salvage, CutImagePayloadLeavesNoFile) {
  testutil::TempDir tmp;
  Bytes b = fixture::HeaderBytes(700);
  Stream s(b, 700);
  s.Count(1);
  s.Moji(Attr{}, 0, 0, 10, 0, "^@BM%temp%a.png,10,10");
  s.Count(0);
  b.i32(1);
  b.ansi("a.png");
  b.i32(5000);
  b.fill('x', 3000);
  const size_t before = OpenDescriptors();
  for (int round = 0; round < 3; ++round) {
    TJwwData d;
    d.BindImageFolder = tmp.path() + "/";
    EXPECT_FALSE(Load(d, b));
    EXPECT_FALSE(fs::exists(tmp.file("a.png")));
    std::vector<uint8_t> out;
    ASSERT_TRUE(d.FileOutMemory(out, 700));
    TJwwData r;
    r.BindImageFolder = tmp.path() + "/";
    ASSERT_TRUE(r.FileInMemory(out.data(), out.size()));
    EXPECT_EQ(r.BindImageN, 0);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(Salvage, ReadErrorSaysWhereTheReadStopped) {
  Bytes whole = fixture::HeaderBytes(600);
  {
    Stream s(whole, 600);
    s.Count(2);
    s.Line(Attr{}, 0, 0, 1, 1);
    s.Line(Attr{}, 0, 0, 2, 2);
    s.Count(0);
  }
  Bytes cut = whole;
  cut.b.resize(cut.size() - 50);  // inside the second line's tag
  Bytes alien = fixture::HeaderBytes(600);
  {
    Stream s(alien, 600);
    s.Count(2);
    s.Line(Attr{}, 0, 0, 1, 1);
    s.Tag("CDataFoo");
    alien.fill(0, 47);
  }
  Bytes cutDefs = whole;
  cutDefs.b.resize(cutDefs.size() - 2);
  cutDefs.u16(3);
  cutDefs.u16(0xFFFF);
  const Bytes headerCut{std::vector<uint8_t>(whole.b.begin(), whole.b.begin() + 100)};
  struct Case {
    const char* what;
    const Bytes& bytes;
    std::string error;
  };
  const Case cases[] = {
      {"whole", whole, ""},
      {"cut", cut, "the file ends at byte " + std::to_string(cut.size()) + " inside the element list"},
      {"unknown class", alien,
       "damaged at byte offset " + std::to_string(alien.size() - 47) + " inside the element list"},
      {"cut definitions", cutDefs,
       "the file ends at byte " + std::to_string(cutDefs.size()) + " inside the block definitions"},
      {"cut header", headerCut, "the file ends at byte 100 inside the header"},
  };
  for (const Case& c : cases) {
    TJwwData d;
    Load(d, c.bytes);
    EXPECT_EQ(d.ReadError, c.error) << c.what;
    d.DataFree();
    EXPECT_TRUE(d.ReadError.empty());
  }
}

// A FIFO with no writer, a folder or a device is refused at once instead of
// blocking the reader.
TEST(Salvage, OnlyRegularFilesAreRead) {
  testutil::TempDir tmp;
#ifdef _WIN32
  const std::vector<std::string> paths = {tmp.path(), "NUL"};  // a folder and the null device
#else
  const std::string fifo = tmp.file("pipe.jww");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::string> paths = {fifo, tmp.path(), "/dev/zero"};
#endif
  for (const std::string& path : paths) {
    EXPECT_FALSE(TJwwData::FileCheck(path)) << path;
    TJwwData d;
    EXPECT_FALSE(d.FileIn(path)) << path;
    EXPECT_FALSE(d.ReadError.empty()) << path;
  }
}
