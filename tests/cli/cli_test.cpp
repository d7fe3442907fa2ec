#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdio>
#include <filesystem>

#include "cli_run.h"
#include "drawings.h"
#include "jww_builder.h"
#include "test_util.h"

using testutil::Cli;
using testutil::CliRun;

namespace {

std::vector<uint8_t> HeaderOnly(int ver) {
  fixture::Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  fixture::Header(b, o);
  b.u16(0);
  b.u16(0);
  if (ver >= 700) b.i32(0);
  return b.b;
}

}  // namespace

TEST(Cli, InfoAnswersAndRefuses) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.file("ok.jww"), HeaderOnly(600));
  auto bad = HeaderOnly(600);
  bad[0] = 'X';
  testutil::WriteFile(dir.file("magic.jww"), bad);
  auto old = HeaderOnly(600);
  old[8] = 0xDB;  // version 219
  old[9] = 0x00;
  testutil::WriteFile(dir.file("version.jww"), old);
  testutil::WriteFile(dir.file("short.jww"), {'J', 'w', 'w'});
  testutil::WriteFile(dir.file("garbage.jww"), std::vector<uint8_t>(500, 0xEE));

  CliRun r = Cli("info --json " + dir.file("ok.jww"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\"ok\":true"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"version\":600"), std::string::npos);
  EXPECT_NE(r.out.find("\"paper_mm\":[420,297]"), std::string::npos) << r.out;

  struct Case { const char* file; const char* says; };
  for (Case c : {Case{"magic.jww", "not a JWW file"}, Case{"version.jww", "version 219"},
                 Case{"short.jww", "not a JWW file"}, Case{"garbage.jww", "not a JWW file"},
                 Case{"missing.jww", "not found"}}) {
    CliRun b = Cli("info " + dir.file(c.file));
    EXPECT_EQ(b.status, 1) << c.file;
    EXPECT_NE(b.out.find(c.says), std::string::npos) << c.file << ": " << b.out;
  }
  EXPECT_EQ(Cli("info").status, 2);
  EXPECT_EQ(Cli("frobnicate").status, 2);
}

TEST(Cli, ConvertLogsAndNeverReplaces) {
  testutil::TempDir dir;
  std::filesystem::create_directory(dir.file("out"));
  testutil::WriteFile(dir.file("plan.jww"), HeaderOnly(700));
  testutil::WriteFile(dir.file("out/plan.jww"), {5});
  testutil::WriteFile(dir.file("bad.jww"), {1});
  CliRun r = Cli("convert --dest " + dir.file("out") + " " + dir.file("plan.jww") + " " + dir.file("bad.jww"));
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("変換完了"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("変換失敗"), std::string::npos) << r.out;
  EXPECT_EQ(testutil::ReadFile(dir.file("out/plan.jww")), (std::vector<uint8_t>{5}));
  EXPECT_EQ(testutil::ReadFile(dir.file("out/plan~1.jww")), HeaderOnly(700));
  EXPECT_EQ(Cli("convert --dest " + dir.file("nowhere") + " " + dir.file("plan.jww")).status, 1);
}

TEST(Cli, ConvertCarriesImagesTheKeptTextsName) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.file("pic.jww"),
                      testutil::TextsAndImagesDrawing({{"^@BM%temp%in.png,10,10", 0}, {"^@BM%temp%out.png,10,10", 900}},
                                                      {{"in.png.gz", "INSIDE"}, {"out.png.gz", "OUTSIDE"}}));
  CliRun r = Cli("convert --same-folder " + dir.file("pic.jww"));
  ASSERT_EQ(r.status, 0) << r.out;
  CliRun info = Cli("info --json " + dir.file("pic~1.jww"));
  EXPECT_NE(info.out.find("\"images\":[{\"name\":\"in.png.gz\",\"size\":6}]"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"text\":1"), std::string::npos) << info.out;
}

TEST(Cli, InfoCountsEveryKindDefinitionsAndImages) {
  testutil::TempDir dir;
  fixture::Bytes b;
  fixture::HeaderOptions o;
  o.ver = 700;
  o.utf16 = true;
  fixture::Header(b, o);
  fixture::Stream s(b, 700, true);
  fixture::Attr a;
  s.Count(9);
  s.Line(a, 0, 0, 1, 1);
  s.Line(a, 0, 0, 2, 2);
  s.Enko(a, 0, 0, 5, 0, 1, 0, 1, 0);
  s.Ten(a, 1, 1);
  s.Moji(a, 0, 0, 10, 0, "^@BM%temp%p.png,1,1");
  s.Sunpo(a, 0, 0, 10, 0, "10");
  s.Solid(a, 0, 0, 1, 0, 1, 1, 0, 1);
  s.Block(a, 0, 0, 1, 1, 0, 1);
  s.Block(a, 5, 5, 1, 1, 0, 1);
  s.Count(2);
  s.Def(a, 1, "outer", 2);
  s.Line(a, 0, 0, 1, 0);
  s.Block(a, 0, 0, 1, 1, 0, 2);
  s.Def(a, 2, "inner", 1);
  s.Ten(a, 0, 0);
  fixture::Images(b, {{"p.png.gz", "12345"}}, true);
  testutil::WriteFile(dir.file("all.jww"), b.b);
  CliRun r = Cli("info --json " + dir.file("all.jww"));
  EXPECT_EQ(r.status, 0) << r.out;
  for (const char* want :
       {"\"counts\":{\"line\":2,\"arc\":1,\"point\":1,\"text\":1,\"dimension\":1,\"solid\":1,\"block\":2}",
        "{\"number\":1,\"name\":\"outer\",\"members\":2,\"nested\":1,\"used\":true}",
        "{\"number\":2,\"name\":\"inner\",\"members\":1,\"nested\":0,\"used\":true}",
        "\"tree_nodes\":4", "\"images\":[{\"name\":\"p.png.gz\",\"size\":5}]", "\"utf16\":true",
        "\"error\":null"}) {
    EXPECT_NE(r.out.find(want), std::string::npos) << want << "\n" << r.out;
  }
}

// A FIFO named as a source is refused at once; the time limit only keeps a
// reader that would block from hanging the suite.
TEST(Cli, FifoIsRefusedNotWaitedFor) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no named pipes in the file system's folders";
#else
  testutil::TempDir dir;
  const std::string fifo = dir.file("pipe.jww");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string program = std::string("timeout 60 ") + ORVANTIS_CLI;
  for (const std::string& args : {"info " + fifo, "convert --dest " + dir.path() + " " + fifo}) {
    CliRun r = Cli(args, program);
    EXPECT_EQ(r.status, 1) << args << ": " << r.out;
  }
  CliRun r = Cli("info " + fifo, program);
  EXPECT_NE(r.out.find("not a regular file"), std::string::npos) << r.out;
#endif
}
