// The convert command as a user runs it: options, the settings it reads,
// reasons for failures, and Ctrl-C between files.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "cli_run.h"
#include "drawings.h"
#include "test_util.h"

namespace fs = std::filesystem;
using testutil::Cli;
using testutil::CliRun;

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A copy of the program in its own folder, with a settings file beside it.
std::string ProgramWithSettings(const testutil::TempDir& dir, const std::string& settings) {
  fs::create_directories(dir.file("bin"));
  std::string program = dir.file("bin/orvantis-cli") + testutil::kExe;
  fs::copy_file(ORVANTIS_CLI, program);
  testutil::WriteFile(dir.file("bin/orvantis.dat"), std::vector<uint8_t>(settings.begin(), settings.end()));
  return program;
}

std::string SettingsWithOption(int k) {
  std::string t = "50\r\n50\r\n480\r\n480\r\n";
  for (int i = 0; i < 5; ++i) t += (i == k ? "1\r\n" : "0\r\n");
  return t + "\r\n\r\n\r\n1\r\nWindows\r\n";
}

}  // namespace

TEST(ConvertCli, Usage) {
  struct Case {
    const char* args;
    int status;
    const char* says;
  };
  for (Case c : {Case{"convert --help", 0, "--same-folder"}, {"--version", 0, "orvantis-cli 0."},
                 {"convert --dest /tmp --same-folder x.jww", 2, "at most one destination"},
                 {"convert --frobnicate x.jww", 2, "unknown option --frobnicate"},
                 {"convert --same-folder", 2, "no files"}, {"convert --dest", 2, "--dest needs a folder"}}) {
    CliRun r = Cli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
    EXPECT_TRUE(Has(r.out, c.says)) << c.args << "\n" << r.out;
  }
  CliRun help = Cli("convert --help");
  for (const char* opt : {"--dest", "--desktop", "--documents", "--progress", "--why", "Exit status"})
    EXPECT_TRUE(Has(help.out, opt)) << opt;
}

TEST(ConvertCli, DestinationFromTheSettingsFile) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.file("plan.jww"), testutil::PointsDrawing({{0, 0}}));
  // The window's "ask each time" cannot be asked here: --dest is needed.
  CliRun ask = Cli(dir.file("plan.jww"), ProgramWithSettings(dir, SettingsWithOption(4)) + " convert");
  EXPECT_EQ(ask.status, 2) << ask.out;
  EXPECT_TRUE(Has(ask.out, "--dest")) << ask.out;
  fs::remove_all(dir.file("bin"));
  CliRun same = Cli(dir.file("plan.jww"), ProgramWithSettings(dir, SettingsWithOption(2)) + " convert");
  EXPECT_EQ(same.status, 0) << same.out;
  EXPECT_TRUE(fs::exists(dir.file("plan~1.jww")));
  // The command line never rewrites the window's settings.
  auto kept = testutil::ReadFile(dir.file("bin/orvantis.dat"));
  EXPECT_EQ(std::string(kept.begin(), kept.end()), SettingsWithOption(2));
}

TEST(ConvertCli, DesktopAndDocumentsFolders) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows names these folders through the shell, not through variables a test can set";
#else
  testutil::TempDir dir;
  fs::create_directories(dir.file("home/Desktop"));
  fs::create_directories(dir.file("home/papers"));
  fs::create_directories(dir.file("config"));
  testutil::WriteFile(dir.file("plan.jww"), testutil::PointsDrawing({{0, 0}}));
  std::string dirs = "XDG_DOCUMENTS_DIR=\"$HOME/papers\"\n";
  testutil::WriteFile(dir.file("config/user-dirs.dirs"), std::vector<uint8_t>(dirs.begin(), dirs.end()));
  std::string env = "HOME=" + dir.file("home") + " XDG_CONFIG_HOME=" + dir.file("config") + " ";
  EXPECT_EQ(Cli("--desktop " + dir.file("plan.jww"), env + ORVANTIS_CLI " convert").status, 0);
  EXPECT_EQ(Cli("--documents " + dir.file("plan.jww"), env + ORVANTIS_CLI " convert").status, 0);
  EXPECT_TRUE(fs::exists(dir.file("home/Desktop/plan.jww")));
  EXPECT_TRUE(fs::exists(dir.file("home/papers/plan.jww")));
  // A machine without a desktop folder: a clear message and nothing written.
  fs::remove_all(dir.file("home/Desktop"));
  CliRun none = Cli("--desktop " + dir.file("plan.jww"), env + ORVANTIS_CLI " convert");
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(Has(none.out, "デスクトップフォルダが見つかりません。")) << none.out;
  EXPECT_FALSE(Has(none.out, "変換")) << none.out;
#endif
}

TEST(ConvertCli, WhySaysWhy) {
  testutil::TempDir dir;
  auto good = testutil::PointsDrawing({{0, 0}, {1, 1}, {2, 2}});
  auto cut = good;
  cut.resize(cut.size() - 12);
  testutil::WriteFile(dir.file("cut.jww"), cut);
  testutil::WriteFile(dir.file("other.jww"), {'%', 'P', 'D', 'F', '-', '1', '.', '4'});
  testutil::WriteFile(dir.file("good.jww"), good);
  fs::create_directories(dir.file("out"));
  CliRun r = Cli("convert --why --dest " + dir.file("out") + " " + dir.file("cut.jww") + " " + dir.file("other.jww"));
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_TRUE(Has(r.out, "※元のファイルが壊れていたため、読み込めた部分だけを保存しました")) << r.out;
  EXPECT_TRUE(Has(r.out, "    the source is damaged")) << r.out;
  EXPECT_TRUE(Has(r.out, "    not a JWW file")) << r.out;
#ifndef _WIN32
  // A folder even root cannot write into.
  if (access("/sys/kernel", F_OK) == 0) {
    CliRun ro = Cli("convert --why --dest /sys/kernel " + dir.file("good.jww"));
    EXPECT_EQ(ro.status, 1) << ro.out;
    EXPECT_TRUE(Has(ro.out, "変換失敗")) << ro.out;
    EXPECT_TRUE(Has(ro.out, "    destination not writable")) << ro.out;
  }
#endif
  // Without --why the log keeps its two words only.
  CliRun quiet = Cli("convert --dest " + dir.file("out") + " " + dir.file("other.jww"));
  EXPECT_FALSE(Has(quiet.out, "not a JWW file")) << quiet.out;
}

TEST(ConvertCli, CtrlCStopsAfterTheFileInProgress) {
#ifdef _WIN32
  GTEST_SKIP() << "a console control event needs a console shared with the program; the run's stop rule is "
                  "tested through the host (RunProc.EscapeStopsBeforeTheNextFile)";
#else
  testutil::TempDir dir;
  const auto big = testutil::ManyPointsDrawing(400000);
  std::string args;
  for (int i = 0; i < 6; ++i) {
    std::string f = dir.file("big" + std::to_string(i) + ".jww");
    testutil::WriteFile(f, big);
    args += " " + f;
  }
  fs::create_directories(dir.file("out"));
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    execl("/bin/sh", "sh", "-c", (std::string("exec ") + ORVANTIS_CLI + " convert --dest " + dir.file("out") + args).c_str(),
          nullptr);
    _exit(127);
  }
  close(out[1]);
  std::string log;
  char buf[4096];
  bool sent = false;
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) {
    log.append(buf, static_cast<size_t>(n));
    if (!sent && Has(log, "→ ")) {
      kill(pid, SIGINT);  // twice: the second means the same as the first
      kill(pid, SIGINT);
      sent = true;
    }
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << log;
  EXPECT_EQ(WEXITSTATUS(status), 1) << log;
  EXPECT_TRUE(Has(log, "[ESC]を押しましたので中断します。")) << log;
  // Every output is whole: these drawings lie inside their paper and come
  // back as they were.
  size_t outputs = 0;
  for (const auto& e : fs::directory_iterator(dir.file("out"))) {
    ++outputs;
    EXPECT_TRUE(testutil::ReadFile(e.path().string()) == big) << e.path();
  }
  EXPECT_GE(outputs, 1u);
  EXPECT_LT(outputs, 6u) << log;
#endif
}
