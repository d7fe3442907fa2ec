// Outputs appear whole under their names or not at all; links, planted
// folders and the debris of killed runs are handled.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "drawings.h"
#include "failing_file_system.h"
#include "fake_host.h"
#include "jww/jww_data.h"
#include "jww_builder.h"
#include "platform/file_system.h"
#include "shell/batch_run.h"
#include "shell/debris.h"
#include "shell/output_file.h"
#include "shell/private_folder.h"
#include "shell/temp_folder.h"
#include "test_util.h"

namespace fs = std::filesystem;
using testutil::PointsDrawing;

namespace {

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> r;
  for (const auto& e : fs::directory_iterator(folder)) r.push_back(e.path().filename().string());
  std::sort(r.begin(), r.end());
  return r;
}

}  // namespace

TEST(OutputFile, TempNamesAreHiddenAndRecognised) {
  std::string t = shell::TempOutputName(testutil::Native("/x/plan.jww"));
  EXPECT_TRUE(t.starts_with(testutil::Native("/x/.orvantis-"))) << t;
  EXPECT_TRUE(shell::IsTempOutputName(t.substr(3)));
  for (const char* name : {".orvantis-12-34.tmp"}) EXPECT_TRUE(shell::IsTempOutputName(name));
  for (const char* name : {"plan.jww", ".orvantis-.tmp", ".orvantis-12.tmp", ".orvantis-a-1.tmp",
                           "orvantis-1-2.tmp", ".orvantis-1-2.jww"})
    EXPECT_FALSE(shell::IsTempOutputName(name)) << name;
}

TEST(OutputFile, ATakenNameGoesToTheNextFreeNumber) {
  testutil::TempDir dir;
  std::string wanted = dir.file("plan.jww");
  for (const char* taken : {"plan.jww", "plan~1.jww"}) testutil::WriteFile(dir.file(taken), {7});
  std::string tmp = shell::TempOutputName(wanted);
  testutil::WriteFile(tmp, {1, 2, 3});
  platform::IoErr err;
  // The run chose plan.jww before two other programs took it and plan~1.
  EXPECT_EQ(shell::PlaceOutput(tmp, wanted, wanted, &err), dir.file("plan~2.jww"));
  EXPECT_EQ(testutil::ReadFile(dir.file("plan~2.jww")), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(testutil::ReadFile(dir.file("plan.jww")), (std::vector<uint8_t>{7}));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"plan.jww", "plan~1.jww", "plan~2.jww"}));
}

TEST(OutputFile, AFailedWriteLeavesNothing) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.file("src.jww"), testutil::ManyPointsDrawing(20000));
  jww::TJwwData doc;
  shell::FileOutcome o;
  {
    testutil::FailingFileSystem disk(100000);
    EXPECT_EQ(shell::RunProc1(doc, dir.file("src.jww"), dir.file("out.jww"), nullptr, &o),
              jww::JString(shell::kFailed));
  }
  EXPECT_EQ(o.why, "disk full");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"src.jww"});
}

#ifndef _WIN32

TEST(OutputFile, ADanglingLinkMakesANameTaken) {
  testutil::TempDir dir;
  fs::create_directories(dir.file("out"));
  testutil::WriteFile(dir.file("plan.jww"), PointsDrawing({{0, 0}}));
  fs::create_symlink(dir.file("nowhere/target.jww"), dir.file("out/plan.jww"));
  testutil::FakeHost h;
  h.options = {false, false, false, true, false};
  h.editFl1 = jww::FromUtf8(dir.file("out"));
  jww::TJwwData doc;
  EXPECT_EQ(shell::RunProc(doc, {dir.file("plan.jww")}, h).converted, 1);
  EXPECT_EQ(h.Log()[1], "→ " + dir.file("out/plan~1.jww"));
  EXPECT_TRUE(fs::is_symlink(dir.file("out/plan.jww")));
  EXPECT_FALSE(fs::exists(dir.file("nowhere")));
}

TEST(OutputFile, ImagesNeverFollowAPlantedLink) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.file("victim"), {'m', 'i', 'n', 'e'});
  fs::create_directories(dir.file("run"));
  fs::create_symlink(dir.file("victim"), dir.file("run/in.png.gz"));
  auto b = testutil::TextsAndImagesDrawing({{"^@BM%temp%in.png,10,10", 0}}, {{"in.png.gz", "ATTACKER"}});
  jww::TJwwData d;
  d.BindImageFolder = dir.file("run/");
  ASSERT_TRUE(d.FileInMemory(b.data(), b.size()));
  EXPECT_EQ(testutil::ReadFile(dir.file("victim")), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
  EXPECT_FALSE(fs::is_symlink(dir.file("run/in.png.gz")));
  EXPECT_EQ(testutil::ReadFile(dir.file("run/in.png.gz")).size(), 8u);
}

TEST(OutputFile, APlantedTemporaryFolderIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to stand in for another user";
  testutil::TempDir dir;
  // Another user made the cache folder's TEMP first.
  fs::create_directories(dir.file("cache/orvantis/TEMP"));
  chmod(dir.file("cache/orvantis").c_str(), 0700);
  ASSERT_EQ(chown(dir.file("cache/orvantis/TEMP").c_str(), 65534, 65534), 0);
  setenv("XDG_CACHE_HOME", dir.file("cache").c_str(), 1);
  testutil::WriteFile(dir.file("blocked"), {1});  // the executable's folder cannot take one
  std::string temp = shell::MakeTempFolder(dir.file("blocked"));
  unsetenv("XDG_CACHE_HOME");
  EXPECT_FALSE(temp.starts_with(dir.file("cache"))) << temp;
  struct stat st;
  ASSERT_EQ(stat(temp.c_str(), &st), 0) << temp;
  EXPECT_EQ(st.st_uid, geteuid());
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  fs::remove_all(temp);
}

TEST(OutputFile, DebrisOfKilledRunsIsCleared) {
  testutil::TempDir dir;
  // A process that has ended, and its run folder with an image.
  pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  std::string deadRun = dir.file("TEMP/run-" + std::to_string(dead));
  std::string liveRun = dir.file("TEMP/run-" + std::to_string(getpid()));
  fs::create_directories(deadRun);
  fs::create_directories(liveRun);
  testutil::WriteFile(deadRun + "/a.png", {1});
  testutil::WriteFile(dir.file("TEMP/notes.txt"), {1});
  shell::RemoveDeadRunFolders(dir.file("TEMP"));
  EXPECT_EQ(Names(dir.file("TEMP")), (std::vector<std::string>{"notes.txt", "run-" + std::to_string(getpid())}));

  // Temporary outputs: only those older than a day go.
  fs::create_directories(dir.file("out"));
  for (const char* n : {".orvantis-1-1.tmp", ".orvantis-2-2.tmp", ".other.tmp", "plan.jww"})
    testutil::WriteFile(dir.file(std::string("out/") + n), {1});
  timeval old[2] = {{time(nullptr) - 2 * 86400, 0}, {time(nullptr) - 2 * 86400, 0}};
  for (const char* n : {".orvantis-1-1.tmp", ".other.tmp", "plan.jww"})
    utimes(dir.file(std::string("out/") + n).c_str(), old);
  shell::RemoveStaleTempOutputs(dir.file("out"));
  EXPECT_EQ(Names(dir.file("out")), (std::vector<std::string>{".orvantis-2-2.tmp", ".other.tmp", "plan.jww"}));
}

#endif
