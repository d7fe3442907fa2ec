// A drawing converts to the same bytes on every system. The digests below
// were taken from the Linux build; the Windows build must match them.
#include <gtest/gtest.h>

#include <cstdio>

#include "jww/jww_data.h"
#include "sample_drawing.h"
#include "shell/batch_run.h"
#include "test_util.h"

namespace {

uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
  uint64_t h = 1469598103934665603ull;
  for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

std::string Hex(uint64_t v) {
  char buf[20];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
  return buf;
}

}  // namespace

TEST(SameBytes, ConvertedDrawingsMatchTheirDigests) {
  struct Case {
    int ver;
    bool utf16, images;
    const char* digest;
  };
  const Case cases[] = {
      {230, false, false, "32f6acdc2a279c94"}, {300, false, false, "0ee54fc9eb13f678"},
      {351, false, false, "49635c397065ea7f"}, {420, false, false, "a6a159f2d6d477dc"},
      {600, false, false, "9b22b5d678a613c6"}, {600, true, false, "3d5f7da1098a4228"},
      {700, false, true, "e084c7242394416e"},  {700, true, true, "581ea845a1a531da"},
  };
  testutil::TempDir dir;
  jww::TJwwData doc;
  doc.BindImageFolder = dir.file("images/");
  std::filesystem::create_directories(dir.file("images"));
  for (const Case& c : cases) {
    std::string name = std::to_string(c.ver) + (c.utf16 ? "u" : "a");
    std::string src = dir.file(name + ".jww"), dst = dir.file(name + "-out.jww");
    testutil::WriteFile(src, fixture::SampleDrawing(c.ver, c.utf16, c.images).b);
    ASSERT_EQ(shell::RunProc1(doc, src, dst, nullptr), jww::JString(shell::kConverted)) << name;
    EXPECT_EQ(Hex(Fnv1a(testutil::ReadFile(dst))), c.digest) << name;
  }
}

TEST(SameBytes, TheExampleDrawing) {
  testutil::TempDir dir;
  jww::TJwwData doc;
  std::string dst = dir.file("out.jww");
  ASSERT_EQ(shell::RunProc1(doc, ORVANTIS_SOURCE_DIR "/examples/sample.jww", dst, nullptr),
            jww::JString(shell::kConverted));
  EXPECT_EQ(Hex(Fnv1a(testutil::ReadFile(dst))), "9b22b5d678a613c6");
}
