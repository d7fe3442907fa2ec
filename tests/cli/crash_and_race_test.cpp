// The command line killed at random moments, and several runs at once into
// one folder: no partial file under an output's name, nothing replaced,
// nothing lost.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <random>
#include <set>

#include "drawings.h"
#include "shell/output_file.h"
#include "test_util.h"

namespace fs = std::filesystem;

#ifndef _WIN32

namespace {

// Starts orvantis-cli convert with the arguments; its standard output goes
// to the file `log` when given, else nowhere.
pid_t Start(const std::vector<std::string>& args, const std::string& log = "") {
  pid_t pid = fork();
  if (pid == 0) {
    FILE* out = std::freopen(log.empty() ? "/dev/null" : log.c_str(), "w", stdout);
    (void)out;
    std::vector<char*> argv = {const_cast<char*>(ORVANTIS_CLI), const_cast<char*>("convert")};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(ORVANTIS_CLI, argv.data());
    _exit(127);
  }
  return pid;
}

std::string Text(const std::string& path) {
  auto b = testutil::ReadFile(path);
  return std::string(b.begin(), b.end());
}

}  // namespace

TEST(CrashAndRace, KilledAtRandomMomentsLeavesOnlyWholeOutputs) {
  testutil::TempDir dir;
  const auto big = testutil::ManyPointsDrawing(150000);
  fs::create_directories(dir.file("out"));
  std::vector<std::string> args = {"--dest", dir.file("out")};
  for (int i = 0; i < 3; ++i) {
    testutil::WriteFile(dir.file("s" + std::to_string(i) + ".jww"), big);
    args.push_back(dir.file("s" + std::to_string(i) + ".jww"));
  }
  testutil::WriteFile(dir.file("out/s0.jww"), {4, 2});  // the user's own file
  // One whole run first: it tells how long a run takes, so the kills fall
  // anywhere in it, however fast this machine is.
  timeval t0, t1;
  gettimeofday(&t0, nullptr);
  pid_t whole = Start(args);
  waitpid(whole, nullptr, 0);
  gettimeofday(&t1, nullptr);
  long runMicros = (t1.tv_sec - t0.tv_sec) * 1000000L + (t1.tv_usec - t0.tv_usec);
  std::mt19937 rng(2026);
  for (int round = 0; round < 50; ++round) {
    pid_t pid = Start(args);
    usleep(static_cast<useconds_t>(rng() % static_cast<unsigned long>(runMicros + 1)));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  size_t outputs = 0;
  for (const auto& e : fs::directory_iterator(dir.file("out"))) {
    std::string name = e.path().filename().string();
    if (shell::IsTempOutputName(name)) continue;  // hidden, and cleared a day later
    if (name == "s0.jww") {
      EXPECT_EQ(testutil::ReadFile(e.path().string()), (std::vector<uint8_t>{4, 2}));
      continue;
    }
    ++outputs;
    EXPECT_TRUE(testutil::ReadFile(e.path().string()) == big) << name << " is not whole";
  }
  EXPECT_GE(outputs, 3u);  // at least those of the whole run
  // The next run clears the run folders of the killed ones and leaves
  // nothing of its own.
  std::string temp = testutil::Native(fs::path(ORVANTIS_CLI).parent_path().string() + "/TEMP");
  pid_t next = Start({"--dest", dir.file("out"), dir.file("s1.jww")});
  int status = 0;
  waitpid(next, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  if (fs::exists(temp)) {
    for (const auto& e : fs::directory_iterator(temp)) {
      std::string name = e.path().filename().string();
      if (!name.starts_with("run-")) continue;
      EXPECT_EQ(kill(static_cast<pid_t>(std::stol(name.substr(4))), 0), 0) << name << " of a dead run is left";
    }
  }
}

TEST(CrashAndRace, FourRunsIntoOneFolderLoseNothing) {
  testutil::TempDir dir;
  const auto drawing = testutil::PointsDrawing({{0, 0}, {5, 5}});
  fs::create_directories(dir.file("out"));
  std::vector<std::string> sources;
  for (int i = 0; i < 100; ++i) {
    fs::create_directories(dir.file("src" + std::to_string(i)));
    sources.push_back(dir.file("src" + std::to_string(i) + "/plan.jww"));
    testutil::WriteFile(sources.back(), drawing);
  }
  std::vector<pid_t> runs;
  for (int r = 0; r < 4; ++r) {
    std::vector<std::string> args = {"--dest", dir.file("out")};
    args.insert(args.end(), sources.begin(), sources.end());
    runs.push_back(Start(args, dir.file("log" + std::to_string(r))));
  }
  for (pid_t p : runs) {
    int status = 0;
    waitpid(p, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  std::set<std::string> logged;
  for (int r = 0; r < 4; ++r) {
    std::string log = Text(dir.file("log" + std::to_string(r)));
    for (size_t p = 0; (p = log.find("→ ", p)) != std::string::npos;) {
      size_t end = log.find('\n', p);
      EXPECT_TRUE(logged.insert(log.substr(p + 4, end - p - 4)).second) << "logged twice";
      p = end;
    }
  }
  std::set<std::string> written;
  for (const auto& e : fs::directory_iterator(dir.file("out"))) {
    written.insert(e.path().string());
    EXPECT_TRUE(testutil::ReadFile(e.path().string()) == drawing) << e.path();
  }
  EXPECT_EQ(written.size(), 400u);
  EXPECT_EQ(logged, written);
}

#endif
