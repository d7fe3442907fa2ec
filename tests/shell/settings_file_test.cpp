#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "jww/jww_strings.h"
#include "shell/settings_file.h"
#include "failing_file_system.h"
#include "test_util.h"

using shell::DatSettings;
using shell::JString;

namespace {

std::string Text(const std::string& path) {
  auto b = testutil::ReadFile(path);
  return std::string(b.begin(), b.end());
}

void WriteText(const std::string& path, const std::string& t) {
  testutil::WriteFile(path, std::vector<uint8_t>(t.begin(), t.end()));
}

DatSettings Read(const std::string& path) {
  DatSettings s = shell::DefaultSettings(u"/opt/orvantis/");
  shell::OpenDatFile(path, s);
  return s;
}

}  // namespace

TEST(SettingsFile, DefaultsWithoutAFile) {
  DatSettings s = Read("/nonexistent/orvantis.dat");
  EXPECT_EQ(std::vector<int32_t>({s.Fm1x, s.Fm1y, s.Fm1w, s.Fm1h, s.Fidx}),
            std::vector<int32_t>({50, 50, 480, 480, 1}));
  EXPECT_EQ(s.Fl, (std::array<bool, 5>{true, false, false, false, false}));
  EXPECT_EQ(s.EditFl1, u"");
  EXPECT_EQ(s.LabelPreFolder, u"/opt/orvantis/");
  EXPECT_EQ(s.gstyle, u"Windows");
}

TEST(SettingsFile, RoundTripWithNonAsciiFolders) {
  testutil::TempDir dir;
  DatSettings s;
  s.Fm1x = -8;
  s.Fm1y = 120;
  s.Fm1w = 640;
  s.Fm1h = 500;
  s.Check(3);
  s.EditFl1 = u"C:\\図面\\";
  s.Label1 = u"/home/作図/";
  s.LabelPreFolder = u"";
  s.Fidx = 2;
  s.gstyle = u"Classic";
  ASSERT_TRUE(shell::SaveDatFile(dir.file("o.dat"), s));
  EXPECT_EQ(Text(dir.file("o.dat")),
            "-8\r\n120\r\n640\r\n500\r\n0\r\n0\r\n0\r\n1\r\n0\r\n433A5CE59BB3E99DA25C\r\n"
            "2F686F6D652FE4BD9CE59BB32F\r\n\r\n2\r\nClassic\r\n");
  DatSettings r = Read(dir.file("o.dat"));
  EXPECT_EQ(std::vector<int32_t>({r.Fm1x, r.Fm1y, r.Fm1w, r.Fm1h, r.Fidx}),
            std::vector<int32_t>({-8, 120, 640, 500, 2}));
  EXPECT_EQ(r.Fl, s.Fl);
  EXPECT_EQ(r.EditFl1, s.EditFl1);
  EXPECT_EQ(r.Label1, s.Label1);
  EXPECT_EQ(r.LabelPreFolder, u"");
  EXPECT_EQ(r.gstyle, u"Classic");
  // Nothing but the settings file is left in its folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(SettingsFile, OptionSpellings) {
  struct Case {
    const char16_t* line;
    bool checked;
  };
  for (Case c : {Case{u"T", true}, {u"tr", true}, {u"tRu", true}, {u"true", true}, {u"1", true},
                 {u"１", true}, {u"○", true}, {u"On", true}, {u"真", true}, {u"正", true},
                 {u"yes", false}, {u"0", false}, {u"", false}, {u"TRUE ", false}, {u"ｔｒｕｅ", false},
                 {u"2", false}, {u"OFF", false}}) {
    EXPECT_EQ(shell::StrToBoolEx(c.line), c.checked) << jww::ToUtf8(c.line);
  }
}

TEST(SettingsFile, Integers) {
  struct Case {
    const char16_t* line;
    int32_t value;
  };
  for (Case c : {Case{u"12", 12}, {u"-5", -5}, {u"+7", 7}, {u"", 0}, {u"-", 0}, {u"1.5", 0}, {u" 3", 0},
                 {u"3x", 0}, {u"2147483647", 2147483647}, {u"2147483648", 0}, {u"-2147483648", INT32_MIN},
                 {u"99999999999999999999", 0}, {u"１２", 0}}) {
    EXPECT_EQ(shell::StrToIntZero(c.line), c.value) << jww::ToUtf8(c.line);
  }
}

TEST(SettingsFile, HexFolders) {
  struct Case {
    const char* hex;
    const char16_t* text;
  };
  for (Case c : {Case{"433A5CE59BB3E99DA25C", u"C:\\図面\\"}, {"433a5c", u"C:\\"}, {"4142zz43", u"AB"},
                 {"41420043", u"AB"}, {"414", u"A"}, {"", u""}, {"G1", u""}}) {
    JString out = u"untouched";
    EXPECT_TRUE(shell::HexUtf8ToStr(c.hex, out)) << c.hex;
    EXPECT_EQ(out, c.text) << c.hex;
  }
  JString out;
  EXPECT_FALSE(shell::HexUtf8ToStr("41C3", out));    // cut inside a character
  EXPECT_FALSE(shell::HexUtf8ToStr("EDA080", out));  // a lone surrogate
  EXPECT_EQ(shell::StrToHexUtf8(u"C:\\図面\\"), "433A5CE59BB3E99DA25C");
}

TEST(SettingsFile, LastCheckedOptionWins) {
  testutil::TempDir dir;
  struct Case {
    const char* lines;  // lines 5 to 9
    std::array<bool, 5> fl;
  };
  for (Case c : {Case{"1\r\n0\r\n1\r\n0\r\n0", {false, false, true, false, false}},
                 {"1\r\n1\r\n1\r\n1\r\n1", {false, false, false, false, true}},
                 {"0\r\n0\r\n0\r\n0\r\n0", {false, false, false, false, false}},
                 {"0\r\nOn\r\n0\r\n0\r\n0", {false, true, false, false, false}}}) {
    WriteText(dir.file("s.dat"), std::string("1\r\n2\r\n3\r\n4\r\n") + c.lines + "\r\n");
    EXPECT_EQ(Read(dir.file("s.dat")).Fl, c.fl) << c.lines;
  }
}

TEST(SettingsFile, ShortAndDamagedFiles) {
  testutil::TempDir dir;
  // Cut after line 4: the missing lines read as empty.
  WriteText(dir.file("short.dat"), "10\r\n20\r\n300\r\n400\r\n");
  DatSettings s = Read(dir.file("short.dat"));
  EXPECT_EQ(std::vector<int32_t>({s.Fm1x, s.Fm1y, s.Fm1w, s.Fm1h, s.Fidx}),
            std::vector<int32_t>({10, 20, 300, 400, 0}));
  EXPECT_EQ(s.Fl, (std::array<bool, 5>{}));
  EXPECT_EQ(s.EditFl1 + s.Label1 + s.LabelPreFolder + s.gstyle, u"");

  // A folder line that is not UTF-8 ends the reading; what came before stays.
  WriteText(dir.file("bad.dat"), "10\n20\n300\n400\n0\n0\n0\n1\n0\n2F61\nC328\n2F62\n3\nClassic\n");
  s = Read(dir.file("bad.dat"));
  EXPECT_EQ(s.Fm1w, 300);
  EXPECT_TRUE(s.Fl[3]);
  EXPECT_EQ(s.EditFl1, u"/a");
  EXPECT_EQ(s.Label1, u"");
  EXPECT_EQ(s.LabelPreFolder, u"/opt/orvantis/");
  EXPECT_EQ(s.Fidx, 1);
  EXPECT_EQ(s.gstyle, u"Windows");
}

TEST(SettingsFile, FailedWriteKeepsThePreviousFile) {
  testutil::TempDir dir;
  DatSettings s;
  ASSERT_TRUE(shell::SaveDatFile(dir.file("o.dat"), s));
  std::string before = Text(dir.file("o.dat"));
  {
    testutil::FailingFileSystem disk(8);  // the disk fills up after 8 bytes
    DatSettings other;
    other.EditFl1 = u"/a/much/longer/folder/name/than/eight/bytes/";
    EXPECT_FALSE(shell::SaveDatFile(dir.file("o.dat"), other));
  }
  EXPECT_EQ(Text(dir.file("o.dat")), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_FALSE(shell::SaveDatFile(dir.file("no/such/folder/o.dat"), s));
}

TEST(SettingsFile, PathFallsBackToAPrivateConfigFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows keeps the fallback in %APPDATA%, which is private to the user by itself";
#else
  testutil::TempDir dir;
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
  // A writable executable folder holds the file itself.
  EXPECT_EQ(shell::SettingsPath(dir.path(), "orvantis.dat"), dir.file("orvantis.dat"));
  // A folder that cannot take it sends it to the user's own config folder.
  EXPECT_EQ(shell::SettingsPath(dir.file("missing"), "orvantis.dat"), dir.file("config/orvantis/orvantis.dat"));
  struct stat st;
  ASSERT_EQ(stat(dir.file("config/orvantis").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // One of ours left open to others is closed again; one that another user
  // prepared is refused.
  chmod(dir.file("config/orvantis").c_str(), 0777);
  EXPECT_EQ(shell::SettingsPath(dir.file("missing"), "orvantis.dat"), dir.file("config/orvantis/orvantis.dat"));
  ASSERT_EQ(stat(dir.file("config/orvantis").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  if (geteuid() == 0 && chown(dir.file("config/orvantis").c_str(), 65534, 65534) == 0) {
    EXPECT_EQ(shell::SettingsPath(dir.file("missing"), "orvantis.dat"), "");
  }
  if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
#endif
}

// Whatever bytes a settings file holds, what was read is written and read
// back unchanged; malformed UTF-8 never turns into a line end.
TEST(SettingsFile, WrittenAsReadWhateverTheBytes) {
  const std::string styles[] = {std::string("a\xC0\x8A" "b"), std::string("\xE3\x81"), std::string("\xED\xA0\x80x"),
                                std::string("n\0ul", 4), std::string("\xF4\x90\x80\x80")};
  for (const std::string& style : styles) {
    DatSettings s = shell::DefaultSettings(u"/opt/");
    shell::ReadDatSettings("1\r\n2\r\n3\r\n4\r\n0\r\n0\r\n0\r\n1\r\n0\r\n2F61\r\n\r\n\r\n5\r\n" + style + "\r\n", s);
    DatSettings again = shell::DefaultSettings(u"/elsewhere/");
    shell::ReadDatSettings(shell::DatSettingsText(s), again);
    EXPECT_EQ(again.gstyle, s.gstyle) << style;
    EXPECT_EQ(again.Fidx, 5);
    EXPECT_EQ(again.EditFl1, u"/a");
    EXPECT_EQ(s.gstyle.find(u'\n'), jww::JString::npos);
  }
}
