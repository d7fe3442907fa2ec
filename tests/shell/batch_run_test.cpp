#include <gtest/gtest.h>

#include <filesystem>

#include "jww/jww_data.h"
#include "jww/jww_strings.h"
#include "jww_builder.h"
#include "shell/batch_run.h"
#include "shell/output_naming.h"
#include "drawings.h"
#include "fake_host.h"
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
  const std::string delim(1, testutil::kDelim);
  EXPECT_EQ(shell::AddPathDelim("/a/"), "/a/");
  EXPECT_EQ(shell::AddPathDelim("C:\\a\\"), "C:\\a\\");
  EXPECT_EQ(shell::AddPathDelim("/a"), "/a" + delim);
  EXPECT_EQ(shell::AddPathDelim(""), delim);
}

using testutil::PointsDrawing;

TEST(RunProc1, InsideOnlyDrawingComesBackIdentical) {
  testutil::TempDir dir;
  for (int ver : {420, 600, 700}) {
    auto bytes = PointsDrawing({{0, 0}, {100, -100}, {-209, 148}}, ver);
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
  testutil::WriteFile(src, PointsDrawing({{1, 1}, {500, 0}, {2, 2}, {0, -500}, {3, 3}}));
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
  testutil::WriteFile(dir.file("good.txt"), PointsDrawing({{0, 0}}));
  EXPECT_EQ(shell::RunProc1(doc, dir.file("good.txt"), dir.file("o2.jww"), nullptr), JString(shell::kFailed));
  EXPECT_FALSE(fs::exists(dir.file("o2.jww")));
  // A destination that appeared meanwhile is neither replaced nor deleted:
  // the output takes the next free branch number.
  testutil::WriteFile(dir.file("good.jww"), PointsDrawing({{0, 0}}));
  testutil::WriteFile(dir.file("taken.jww"), {9});
  shell::FileOutcome o;
  EXPECT_EQ(shell::RunProc1(doc, dir.file("good.jww"), dir.file("taken.jww"), nullptr, &o), JString(shell::kConverted));
  EXPECT_EQ(testutil::ReadFile(dir.file("taken.jww")), (std::vector<uint8_t>{9}));
  EXPECT_EQ(o.written, dir.file("taken~1.jww"));
  EXPECT_EQ(testutil::ReadFile(dir.file("taken~1.jww")), PointsDrawing({{0, 0}}));
  // Nothing but the sources and outputs: no temporary file is left.
  size_t n = 0;
  for (const auto& e : fs::directory_iterator(dir.path())) n += e.path().filename().string()[0] == '.';
  EXPECT_EQ(n, 0u);
}

namespace {

// Folders of one scripted run: sources in a/ and b/, destinations elsewhere.
struct RunFolders {
  testutil::TempDir dir;
  RunFolders() {
    for (const char* f : {"a", "b", "out", "desk", "docs", "picked"}) fs::create_directories(dir.file(f));
    testutil::WriteFile(dir.file("a/plan.jww"), PointsDrawing({{0, 0}}));
    testutil::WriteFile(dir.file("b/plan.jww"), PointsDrawing({{1, 1}}));
  }
  std::string f(const std::string& name) const { return dir.file(name); }
  std::vector<std::string> FilesIn(const std::string& folder) const {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(f(folder))) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
  }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST(RunProc, DestinationChoice) {
  struct Case {
    const char* name;
    std::function<void(testutil::FakeHost&, const RunFolders&)> setUp;
    const char* folder;  // where plan.jww must land; nullptr: the run must not start
    const char* message;  // start of the message shown, if any
  };
  auto only = [](int k) {
    return [k](testutil::FakeHost& h, const RunFolders&) {
      h.options.fill(false);
      if (k >= 0) h.options[static_cast<size_t>(k)] = true;
    };
  };
  const Case cases[] = {
      {"desktop", only(0), "desk", nullptr},
      {"documents", only(1), "docs", nullptr},
      {"fixed folder",
       [&](testutil::FakeHost& h, const RunFolders& r) {
         only(3)(h, r);
         h.editFl1 = FromUtf8(r.f("out"));  // no trailing delimiter: one is added
       },
       "out", nullptr},
      {"fixed folder missing",
       [&](testutil::FakeHost& h, const RunFolders& r) {
         only(3)(h, r);
         h.editFl1 = FromUtf8(r.f("nowhere"));
       },
       nullptr, "指定したフォルダが見つかりません。\r\n"},
      {"ask each time",
       [&](testutil::FakeHost& h, const RunFolders& r) {
         only(4)(h, r);
         h.browseChooses = FromUtf8(r.f("picked/"));
       },
       "picked", nullptr},
      {"no option checked asks too",
       [&](testutil::FakeHost& h, const RunFolders& r) {
         only(-1)(h, r);
         h.browseChooses = FromUtf8(r.f("picked/"));
       },
       "picked", nullptr},
      {"folder dialog cancelled",
       [&](testutil::FakeHost& h, const RunFolders& r) {
         only(4)(h, r);
         h.browseAccepts = false;
       },
       nullptr, nullptr},
      {"no desktop folder",
       [&](testutil::FakeHost& h, const RunFolders& r) {
         only(0)(h, r);
         h.desktop = "";
       },
       nullptr, "デスクトップフォルダが見つかりません。"},
      {"no documents folder",
       [&](testutil::FakeHost& h, const RunFolders& r) {
         only(1)(h, r);
         h.documents = "";
       },
       nullptr, "マイドキュメントフォルダが見つかりません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFolders r;
    testutil::FakeHost h;
    h.desktop = r.f("desk");
    h.documents = r.f("docs");
    c.setUp(h, r);
    TJwwData doc;
    shell::RunSummary sum = shell::RunProc(doc, {r.f("a/plan.jww")}, h);
    Strings messages = h.Only("message:");
    if (c.message) {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_TRUE(messages[0].starts_with(c.message)) << messages[0];
    } else {
      EXPECT_TRUE(messages.empty());
    }
    if (!c.folder) {
      // A run that cannot settle its destination changes nothing at all.
      EXPECT_FALSE(sum.started);
      for (const auto& e : h.events) EXPECT_TRUE(e.starts_with("message:") || e == "browse") << e;
      for (const char* f : {"out", "desk", "docs", "picked"}) EXPECT_TRUE(r.FilesIn(f).empty()) << f;
      EXPECT_EQ(r.FilesIn("a"), Strings{"plan.jww"});
      continue;
    }
    EXPECT_TRUE(sum.started);
    EXPECT_EQ(sum.converted, 1);
    EXPECT_EQ(r.FilesIn(c.folder), Strings{"plan.jww"});
    EXPECT_EQ(h.Log()[1], "→ " + jww::ToUtf8(FromUtf8(shell::AddPathDelim(r.f(c.folder)))) + "plan.jww");
  }
}

TEST(RunProc, LogStatusAndSettingsInTheirOrder) {
  RunFolders r;
  testutil::FakeHost h;
  h.options = {false, false, false, true, false};
  h.editFl1 = FromUtf8(r.f("out/"));
  TJwwData doc;
  shell::RunSummary sum = shell::RunProc(doc, {r.f("a/plan.jww"), r.f("b/plan.jww")}, h);
  EXPECT_EQ(sum.converted, 2);
  // Same names from two folders: the second gets the first branch number.
  EXPECT_EQ(r.FilesIn("out"), (Strings{"plan.jww", "plan~1.jww"}));
  std::string a = r.f("a/plan.jww"), b = r.f("b/plan.jww"), o1 = r.f("out/plan.jww"), o2 = r.f("out/plan~1.jww");
  // The arrow line follows the conversion: it names the file written.
  Strings expected = {"save", "clear", "log:" + a, "status:ファイル保存中です\u3000" + a + " → " + o1};
  Strings got(h.events.begin(), h.events.begin() + static_cast<long>(expected.size()));
  EXPECT_EQ(got, expected);
  EXPECT_EQ(h.Log(), (Strings{a, "→ " + o1, "\u3000…… 変換完了", b, "→ " + o2, "\u3000…… 変換完了"}));
  // The status ends empty and the log page comes last.
  ASSERT_GE(h.events.size(), 2u);
  EXPECT_EQ(h.events[h.events.size() - 2], "status:");
  EXPECT_EQ(h.events.back(), "page");
  EXPECT_EQ(h.Only("save").size(), 1u);
}

TEST(RunProc, NamesNeverReplaceAFile) {
  RunFolders r;
  fs::create_directories(r.f("c"));  // names differing in case only are one file on Windows
  testutil::WriteFile(r.f("c/PLAN.JWW"), PointsDrawing({{0, 0}}));
  testutil::FakeHost h;
  h.options = {false, false, true, false, false};  // beside each source
  TJwwData doc;
  shell::RunProc(doc, {r.f("a/plan.jww"), r.f("c/PLAN.JWW"), r.f("a/plan.jww")}, h);
  EXPECT_EQ(r.FilesIn("a"), (Strings{"plan.jww", "plan~1.jww", "plan~2.jww"}));
  EXPECT_EQ(r.FilesIn("c"), (Strings{"PLAN.JWW", "PLAN~1.jww"}));
  EXPECT_EQ(testutil::ReadFile(r.f("a/plan.jww")), PointsDrawing({{0, 0}}));
}

TEST(RunProc, EscapeStopsBeforeTheNextFile) {
  for (int from : {0, 1}) {
    RunFolders r;
    testutil::FakeHost h;
    h.options = {false, false, false, true, false};
    h.editFl1 = FromUtf8(r.f("out"));
    h.escapeFromPoll = from;
    TJwwData doc;
    shell::RunSummary sum = shell::RunProc(doc, {r.f("a/plan.jww"), r.f("b/plan.jww")}, h);
    EXPECT_TRUE(sum.stopped);
    EXPECT_EQ(sum.converted, from);
    EXPECT_EQ(r.FilesIn("out").size(), static_cast<size_t>(from));
    EXPECT_EQ(h.Log().back(), "[ESC]を押しましたので中断します。");
    EXPECT_EQ(h.Log().size(), static_cast<size_t>(3 * from + 1));
    EXPECT_EQ(h.events.front(), "save");  // the run had started
    EXPECT_EQ(h.events[h.events.size() - 2], "status:");
    EXPECT_EQ(h.events.back(), "page");
  }
}

TEST(RunProc, EmptyListDoesNothing) {
  testutil::FakeHost h;
  TJwwData doc;
  EXPECT_FALSE(shell::RunProc(doc, {}, h).started);
  EXPECT_TRUE(h.events.empty());
}

TEST(RunProc, FailedAndDamagedSourcesSayWhy) {
  RunFolders r;
  testutil::WriteFile(r.f("a/notes.jww"), {'h', 'e', 'l', 'l', 'o'});
  testutil::WriteFile(r.f("a/notes.txt"), PointsDrawing({{0, 0}}));
  auto cut = PointsDrawing({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  cut.resize(cut.size() - 20);  // passes the check, fails while being read
  testutil::WriteFile(r.f("a/cut.jww"), cut);
  testutil::FakeHost h;
  h.options = {false, false, false, true, false};
  h.editFl1 = FromUtf8(r.f("out"));
  TJwwData doc;
  shell::RunSummary sum =
      shell::RunProc(doc, {r.f("a/notes.jww"), r.f("a/notes.txt"), r.f("a/cut.jww"), r.f("a/missing.jww")}, h);
  EXPECT_EQ(sum.failed, 3);
  EXPECT_EQ(sum.converted, 1);
  EXPECT_EQ(sum.salvaged, 1);
  // Nothing is left behind for a failed file; the damaged one is saved.
  EXPECT_EQ(r.FilesIn("out"), Strings{"cut.jww"});
  Strings log = h.Log();
  ASSERT_EQ(log.size(), 13u);
  EXPECT_EQ(log[2], "\u3000…… 変換失敗");
  EXPECT_EQ(log[5], "\u3000…… 変換失敗");
  EXPECT_EQ(log[8], "\u3000…… 変換完了");
  EXPECT_EQ(log[9], "\u3000※元のファイルが壊れていたため、読み込めた部分だけを保存しました");
  EXPECT_EQ(log[12], "\u3000…… 変換失敗");
  Strings why = h.Only("why:");
  ASSERT_EQ(why.size(), 4u);
  EXPECT_NE(why[0].find("not a JWW file"), std::string::npos) << why[0];
  EXPECT_NE(why[1].find("not a .jww file"), std::string::npos) << why[1];
  EXPECT_NE(why[2].find("damaged"), std::string::npos) << why[2];
  EXPECT_NE(why[3].find("not found"), std::string::npos) << why[3];
}
