#include <gtest/gtest.h>

#include <filesystem>

#include "jww/bind_image.h"
#include "jww/jww_data.h"
#include "jww/jww_strings.h"
#include "jww_builder.h"
#include "test_util.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;
namespace fs = std::filesystem;

namespace {

Bytes Drawing(const std::vector<std::string>& texts, const std::vector<fixture::Image>& images) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = 700;
  fixture::Header(b, o);
  Stream s(b, 700);
  s.Count(static_cast<uint32_t>(texts.size()));
  for (const auto& t : texts) s.Moji(Attr{}, 0, 0, 10, 0, t);
  s.Count(0);
  fixture::Images(b, images);
  return b;
}

}  // namespace

TEST(BindImage, ExtractsAndReleases) {
  testutil::TempDir tmp;
  TJwwData d;
  d.BindImageFolder = tmp.path() + "/";
  Bytes b = Drawing({"^@BM%temp%a.bmp,10,10"}, {{"a.bmp.gz", std::string(5000, 'z')}, {"b.png", "PNG"},
                                                 {"empty.bmp", ""}});
  ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  ASSERT_EQ(d.BindImageN, 3);
  EXPECT_EQ(d.BindImage[0].Fsize, 5000);
  EXPECT_EQ(fs::file_size(tmp.file("a.bmp.gz")), 5000u);
  EXPECT_EQ(testutil::ReadFile(tmp.file("b.png")), (std::vector<uint8_t>{'P', 'N', 'G'}));
  EXPECT_FALSE(fs::exists(tmp.file("empty.bmp")));
  testutil::WriteFile(tmp.file("a.bmp"), {1});    // a decompressed copy lying beside it
  testutil::WriteFile(tmp.file("other"), {1});    // named by no entry: kept
  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  d.DataFree();
  EXPECT_FALSE(fs::exists(tmp.file("a.bmp.gz")));
  EXPECT_FALSE(fs::exists(tmp.file("a.bmp")));
  EXPECT_FALSE(fs::exists(tmp.file("b.png")));
  EXPECT_TRUE(fs::exists(tmp.file("other")));
  EXPECT_EQ(d.BindImageFolder, tmp.path() + "/");
}

TEST(BindImage, UnsafeNamesNeverLeaveTheFolder) {
  testutil::TempDir outer;
  fs::create_directory(outer.file("tmp"));
  TJwwData d;
  d.BindImageFolder = outer.file("tmp") + "/";
  testutil::WriteFile(outer.file("victim"), {7});
  Bytes b = Drawing({}, {{"../victim", "EVIL"}, {"..\\victim", "EVIL"}, {"C:victim", "EVIL"},
                         {"..", "EVIL"}, {"ok.png", "OK"}});
  ASSERT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  EXPECT_EQ(d.BindImageN, 5);
  EXPECT_EQ(testutil::ReadFile(outer.file("victim")), (std::vector<uint8_t>{7}));
  EXPECT_TRUE(fs::exists(outer.file("tmp/ok.png")));
  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  EXPECT_TRUE(fs::exists(outer.file("victim")));
  EXPECT_EQ(std::distance(fs::directory_iterator(outer.file("tmp")), fs::directory_iterator{}), 0);
}

TEST(BindImage, ReferenceNames) {
  struct Case { const char16_t* text; const char16_t* name; };
  for (Case c : {Case{u"^@BM%temp%abc.bmp,100,100", u"abc.bmp"}, Case{u"^@BM%temp%a,1,1", u"a"},
                 Case{u"^@BM%temp%", u""}, Case{u"^@BM%temp%abc", u""}, Case{u"^@BMabc.bmp,1", u""},
                 Case{u"^@BM%temp%,1", u""}}) {
    EXPECT_EQ(ImageReferenceName(c.text), JString(c.name)) << ToUtf8(c.text);
  }
}

TEST(BindImage, Version600HasNoImageSection) {
  Bytes b;
  fixture::Header(b, fixture::HeaderOptions{});
  Stream s(b, 600);
  s.Count(0);
  s.Count(0);
  fixture::Images(b, {{"x.png", "x"}});  // trailing bytes are not an image section
  TJwwData d;
  d.FileInMemory(b.b.data(), b.size());
  EXPECT_EQ(d.BindImageN, 0);
}
