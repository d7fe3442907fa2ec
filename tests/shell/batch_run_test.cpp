#include <gtest/gtest.h>

#include <filesystem>

#include "jww/jww_data.h"
#include "jww/jww_strings.h"
#include "jww_builder.h"
#include "shell/batch_run.h"
#include "shell/output_naming.h"
#include "test_util.h"

using namespace jww;
using fixture::Attr;
using fixture::Bytes;
using fixture::Stream;
namespace fs = std::filesystem;

TEST(OutputNaming, BranchNumbers) {
  testutil::TempDir dir;
  auto p = [&](const char* n) { return dir.file(n); };
  EXPECT_EQ(shell::MakeUniqueFileName(p("plan.JWW")), p("plan.JWW"));
  testutil::WriteFile(p("plan.JWW"), {1});
  EXPECT_EQ(shell::MakeUniqueFileName(p("plan.JWW")), p("plan~1.jww"));
  testutil::WriteFile(p("plan~1.jww"), {1});
  EXPECT_EQ(shell::MakeUniqueFileName(p("plan.JWW")), p("plan~2.jww"));
  EXPECT_EQ(shell::MakeUniqueFileName(p("plan~1.jww")), p("plan~1~1.jww"));
  testutil::WriteFile(p("a.b.jww"), {1});
  EXPECT_EQ(shell::MakeUniqueFileName(p("a.b.jww")), p("a.b~1.jww"));
}

TEST(OutputNaming, PathHelpers) {
  EXPECT_EQ(shell::LowerExt("/x.y/PLAN.JwW"), ".jww");
  EXPECT_EQ(shell::LowerExt("/x.y/plan"), "");
  EXPECT_EQ(shell::AddPathDelim("/a/"), "/a/");
  EXPECT_EQ(shell::AddPathDelim("/a"), "/a/");
  EXPECT_EQ(shell::AddPathDelim(""), "/");
}

namespace {

// A drawing of A3 paper with the given points, written by our own writer.
std::vector<uint8_t> Written(const std::vector<std::pair<double, double>>& points, int ver = 600) {
  Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  fixture::Header(b, o);
  Stream s(b, ver);
  s.Count(static_cast<uint32_t>(points.size()));
  for (auto [x, y] : points) s.Ten(Attr{}, x, y);
  s.Count(0);
  if (ver >= 700) fixture::Images(b, {});
  TJwwData d;
  EXPECT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  std::vector<uint8_t> out;
  EXPECT_TRUE(d.FileOutMemory(out, ver));
  return out;
}

}  // namespace

TEST(RunProc1, InsideOnlyDrawingComesBackIdentical) {
  testutil::TempDir dir;
  for (int ver : {420, 600, 700}) {
    auto bytes = Written({{0, 0}, {100, -100}, {-209, 148}}, ver);
    std::string src = dir.file("in" + std::to_string(ver) + ".jww");
    std::string dst = dir.file("out" + std::to_string(ver) + ".jww");
    testutil::WriteFile(src, bytes);
    TJwwData doc;
    doc.BindImageFolder = dir.path() + "/";
    EXPECT_EQ(shell::RunProc1(doc, src, dst, nullptr), JString(shell::kConverted));
    EXPECT_EQ(testutil::ReadFile(dst), bytes) << ver;
  }
}

TEST(RunProc1, OutsideElementsAreGoneTheRestKeepsItsOrder) {
  testutil::TempDir dir;
  std::string src = dir.file("in.jww"), dst = dir.file("out.jww");
  testutil::WriteFile(src, Written({{1, 1}, {500, 0}, {2, 2}, {0, -500}, {3, 3}}));
  TJwwData doc;
  ASSERT_EQ(shell::RunProc1(doc, src, dst, nullptr), JString(shell::kConverted));
  EXPECT_EQ(doc.EntTenN, 0);  // emptied after the file
  TJwwData r;
  ASSERT_TRUE(r.FileIn(dst));
  ASSERT_EQ(r.EntTenN, 3);
  EXPECT_EQ(r.EntTen[0].start_x, 1.0);
  EXPECT_EQ(r.EntTen[1].start_x, 2.0);
  EXPECT_EQ(r.EntTen[2].start_x, 3.0);
}

TEST(RunProc1, FailuresWriteNothing) {
  testutil::TempDir dir;
  TJwwData doc;
  testutil::WriteFile(dir.file("junk.jww"), {1, 2, 3});
  EXPECT_EQ(shell::RunProc1(doc, dir.file("junk.jww"), dir.file("o1.jww"), nullptr), JString(shell::kFailed));
  EXPECT_FALSE(fs::exists(dir.file("o1.jww")));
  testutil::WriteFile(dir.file("good.txt"), Written({{0, 0}}));
  EXPECT_EQ(shell::RunProc1(doc, dir.file("good.txt"), dir.file("o2.jww"), nullptr), JString(shell::kFailed));
  EXPECT_FALSE(fs::exists(dir.file("o2.jww")));
  // A destination that appeared meanwhile is neither replaced nor deleted.
  testutil::WriteFile(dir.file("good.jww"), Written({{0, 0}}));
  testutil::WriteFile(dir.file("taken.jww"), {9});
  EXPECT_EQ(shell::RunProc1(doc, dir.file("good.jww"), dir.file("taken.jww"), nullptr), JString(shell::kFailed));
  EXPECT_EQ(testutil::ReadFile(dir.file("taken.jww")), (std::vector<uint8_t>{9}));
}

TEST(RunBatch, SameNamesStopAndLog) {
  testutil::TempDir dir;
  fs::create_directories(dir.file("a"));
  fs::create_directories(dir.file("b"));
  fs::create_directories(dir.file("out"));
  testutil::WriteFile(dir.file("a/plan.jww"), Written({{0, 0}}));
  testutil::WriteFile(dir.file("b/plan.jww"), Written({{0, 0}}));
  TJwwData doc;
  std::vector<JString> log;
  shell::BatchHooks hooks;
  hooks.log = [&](const JString& s) { log.push_back(s); };
  int failed = shell::RunBatch(doc, {dir.file("a/plan.jww"), dir.file("b/plan.jww")}, dir.file("out/"), hooks);
  EXPECT_EQ(failed, 0);
  EXPECT_TRUE(fs::exists(dir.file("out/plan.jww")));
  EXPECT_TRUE(fs::exists(dir.file("out/plan~1.jww")));
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[1], u"→ " + FromUtf8(dir.file("out/plan.jww")));
  EXPECT_EQ(log[2], u"\u3000…… 変換完了");

  // Beside the source: never the source itself.
  log.clear();
  shell::RunBatch(doc, {dir.file("a/plan.jww")}, "", hooks);
  EXPECT_TRUE(fs::exists(dir.file("a/plan~1.jww")));

  log.clear();
  hooks.stopRequested = [] { return true; };
  shell::RunBatch(doc, {dir.file("a/plan.jww")}, dir.file("out/"), hooks);
  EXPECT_EQ(log, (std::vector<JString>{u"[ESC]を押しましたので中断します。"}));
}
