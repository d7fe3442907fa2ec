#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "shell/temp_folder.h"
#include "test_util.h"

namespace fs = std::filesystem;

TEST(TempFolder, BesideTheExecutableOrInTheUserCache) {
  testutil::TempDir dir;
  std::string beside = shell::MakeTempFolder(dir.path());
  EXPECT_EQ(beside, dir.file("TEMP/"));
  EXPECT_TRUE(fs::is_directory(beside));

#ifndef _WIN32
  // A folder where nothing can be created (a file stands in its way) sends
  // the images to the user's cache folder instead.
  testutil::WriteFile(dir.file("blocked"), {1});
  setenv("XDG_CACHE_HOME", dir.file("cache").c_str(), 1);
  std::string fallback = shell::MakeTempFolder(dir.file("blocked"));
  unsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(fallback, dir.file("cache") + "/orvantis/TEMP/");
  EXPECT_TRUE(fs::is_directory(fallback));
#endif

  std::string run = shell::MakeRunFolder(beside);
  EXPECT_TRUE(fs::is_directory(run));
  EXPECT_NE(run, beside);
  shell::RemoveTempFolderIfEmpty(run);
  testutil::WriteFile(beside + "left.png", {1});
  shell::RemoveTempFolderIfEmpty(beside);  // not empty: stays, with its file
  EXPECT_TRUE(fs::exists(beside + "left.png"));
}
