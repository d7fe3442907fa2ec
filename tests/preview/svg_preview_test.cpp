// The picture of a conversion: well-formed XML, one shape per element, kept
// and deleted told apart, counts equal to what the conversion wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>
#include <regex>

#include "cli/cli_run.h"
#include "drawings.h"
#include "jww/jww_data.h"
#include "preview/svg_preview.h"
#include "sample_drawing.h"
#include "shell/batch_run.h"
#include "test_util.h"

namespace fs = std::filesystem;

namespace {

std::string Text(const std::string& path) {
  auto b = testutil::ReadFile(path);
  return std::string(b.begin(), b.end());
}

// A small well-formedness check: balanced tags, quoted attributes, known
// entities, no stray markup in text. Returns "" or what is wrong.
std::string XmlProblem(const std::string& x) {
  std::vector<std::string> open;
  size_t i = 0;
  auto entityOk = [&](size_t at) {
    static const std::regex kEntity("&(lt|gt|amp|quot|apos|#[0-9]+|#x[0-9a-fA-F]+);");
    return std::regex_search(x.begin() + static_cast<long>(at), x.begin() + static_cast<long>(std::min(x.size(), at + 12)),
                             kEntity, std::regex_constants::match_continuous);
  };
  while (i < x.size()) {
    if (x[i] == '&' && !entityOk(i)) return "bad entity at " + std::to_string(i);
    if (x[i] == '>') return "stray > at " + std::to_string(i);
    if (x[i] != '<') { ++i; continue; }
    if (x.compare(i, 5, "<?xml") == 0) { i = x.find("?>", i) + 2; continue; }
    size_t end = i + 1;
    char quote = 0;
    for (; end < x.size() && (quote || x[end] != '>'); ++end) {
      if (quote && x[end] == '<') return "< inside an attribute at " + std::to_string(end);
      if (quote && x[end] == '&' && !entityOk(end)) return "bad entity in an attribute at " + std::to_string(end);
      if (x[end] == '"' || x[end] == '\'') quote = quote == x[end] ? 0 : (quote ? quote : x[end]);
    }
    if (end >= x.size()) return "unclosed tag at " + std::to_string(i);
    std::string tag = x.substr(i + 1, end - i - 1);
    if (tag.starts_with("/")) {
      std::string name = tag.substr(1);
      if (open.empty() || open.back() != name) return "mismatched </" + name + ">";
      open.pop_back();
    } else if (!tag.ends_with("/")) {
      open.push_back(tag.substr(0, tag.find_first_of(" \n")));
    }
    i = end + 1;
  }
  return open.empty() ? "" : "unclosed <" + open.back() + ">";
}

// The top-level shapes inside <g class="elements">: "k" kept, "d" deleted
// (class "d").
std::map<std::string, int> ShapeClasses(const std::string& svg) {
  std::map<std::string, int> n;
  size_t start = svg.find("<g class=\"elements\">"), end = svg.find("<g class=\"legend\"");
  std::string body = svg.substr(start, end - start);
  std::regex shape("\n<([a-z]+)( class=\"d[ \"])?");
  for (auto it = std::sregex_iterator(body.begin(), body.end(), shape); it != std::sregex_iterator(); ++it)
    if ((*it)[1] != "g" || body.compare(static_cast<size_t>(it->position()) + 1, 3, "<g>") == 0 || (*it)[2].matched)
      n[(*it)[2].matched ? "d" : "k"]++;
  return n;
}

}  // namespace

TEST(SvgPreview, TheExampleDrawing) {
  testutil::TempDir dir;
  jww::TJwwData doc;
  preview::SvgPreview svg(dir.file("sample.svg"));
  shell::ConvOptions opt{&svg, true};
  shell::FileOutcome o;
  ASSERT_EQ(shell::RunProc1(doc, ORVANTIS_SOURCE_DIR "/examples/sample.jww", dir.file("out.jww"), nullptr, &o, "", opt),
            jww::JString(shell::kConverted));
  ASSERT_TRUE(svg.finished() && svg.ok());
  const std::string x = Text(dir.file("sample.svg"));
  EXPECT_EQ(XmlProblem(x), "");
  EXPECT_EQ(std::regex_search(x, std::regex("class=\"frame\"")), true);
  EXPECT_EQ(x.find("class=\"frame\""), x.rfind("class=\"frame\""));  // one frame
  // A3 paper: the frame's corner at (-210, 148.5) becomes (-210, -148.5).
  EXPECT_NE(x.find("<rect class=\"frame\" x=\"-210.00\" y=\"-148.50\" width=\"420.00\" height=\"297.00\""),
            std::string::npos);
  const preview::TrimSummary& s = svg.summary();
  auto shapes = ShapeClasses(x);
  EXPECT_EQ(shapes["k"], s.kept.Total());
  EXPECT_EQ(shapes["d"], s.deleted.Total());
  EXPECT_EQ(s.kept.Total() + s.deleted.Total(), s.read.Total() - s.read.n[6] + s.exploded.Total());
  // The kept counts are what the written drawing holds.
  jww::TJwwData out;
  ASSERT_TRUE(out.FileIn(dir.file("out.jww")));
  EXPECT_EQ(s.kept.n, (std::array<int64_t, 7>{out.EntLineN, out.EntEnkoN, out.EntTenN, out.EntMojiN, out.EntSunpoN,
                                                out.EntSolidN, out.EntBlockN}));
  EXPECT_NE(x.find("kept: " + s.kept.Text()), std::string::npos);
  EXPECT_NE(x.find("deleted: " + s.deleted.Text()), std::string::npos);
}

TEST(SvgPreview, TextsAreEscapedAndYPointsDown) {
  testutil::TempDir dir;
  fixture::Bytes b;
  fixture::HeaderOptions ho;
  fixture::Header(b, ho);
  fixture::Stream s(b, 600);
  s.Count(3);
  s.Ten(fixture::Attr{}, 10, 20);
  s.Enko(fixture::Attr{}, 0, 0, 10, 0, std::numbers::pi / 2, 0, 1, 0);
  s.Moji(fixture::Attr{}, 0, 0, 30, 0, "a<b & \"c\">\x01");
  s.Count(0);
  testutil::WriteFile(dir.file("in.jww"), b.b);
  jww::TJwwData doc;
  preview::SvgPreview svg(dir.file("p.svg"));
  shell::RunProc1(doc, dir.file("in.jww"), dir.file("out.jww"), nullptr, nullptr, "", {&svg, true});
  const std::string x = Text(dir.file("p.svg"));
  EXPECT_EQ(XmlProblem(x), "");
  EXPECT_NE(x.find("cx=\"10.00\" cy=\"-20.00\""), std::string::npos) << x;
  // A quarter circle counterclockwise from +x: from (10, 0) up to (0, 10),
  // which SVG, whose positive sweep runs clockwise, draws with flag 0.
  EXPECT_NE(x.find("d=\"M10.00,0.00 A10.00 10.00 0.00 0 0 0.00,-10.00\""), std::string::npos) << x;
  EXPECT_NE(x.find(">a&lt;b &amp; &quot;c&quot;&gt;</text>"), std::string::npos) << x;
}

TEST(SvgPreview, NoPictureForAFileThatIsNoDrawing) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.file("junk.jww"), {1, 2, 3});
  {
    jww::TJwwData doc;
    preview::SvgPreview svg(dir.file("p.svg"));
    shell::RunProc1(doc, dir.file("junk.jww"), dir.file("out.jww"), nullptr, nullptr, "", {&svg, true});
  }
  EXPECT_FALSE(fs::exists(dir.file("p.svg")));
}

TEST(DryRun, WritesNothingAndCountsWhatAConversionWrites) {
  testutil::TempDir dir;
  fs::create_directories(dir.file("out"));
  fs::create_directories(dir.file("real"));
  testutil::WriteFile(dir.file("pic.jww"), fixture::SampleDrawing(700, false, true).b);
  testutil::CliRun dry = testutil::Cli("convert --dry-run --json --dest " + dir.file("out") + " " + dir.file("pic.jww"));
  ASSERT_EQ(dry.status, 0) << dry.out;
  EXPECT_TRUE(fs::is_empty(dir.file("out")));
  EXPECT_NE(dry.out.find("\"dry_run\":true"), std::string::npos) << dry.out;
  testutil::CliRun real = testutil::Cli("convert --json --dest " + dir.file("real") + " " + dir.file("pic.jww"));
  ASSERT_EQ(real.status, 0) << real.out;
  // The same counts, and those of the written file.
  auto counts = [](const std::string& j, const std::string& key) {
    size_t p = j.find("\"" + key + "\":");
    return p == std::string::npos ? std::string() : j.substr(p, j.find('}', p) - p + 1);
  };
  EXPECT_EQ(counts(dry.out, "kept"), counts(real.out, "kept"));
  EXPECT_EQ(counts(dry.out, "images"), counts(real.out, "images"));
  EXPECT_NE(counts(dry.out, "images"), "\"images\":{\"kept\":0,\"dropped\":0}") << dry.out;
  testutil::CliRun info = testutil::Cli("info --json " + dir.file("real/pic.jww"));
  std::string kept = counts(real.out, "kept");
  EXPECT_EQ(kept.substr(kept.find('{')), counts(info.out, "counts").substr(counts(info.out, "counts").find('{')));
  // No images of the dry run are left in the temporary folder.
  std::string temp = testutil::Native(fs::path(ORVANTIS_CLI).parent_path().string() + "/TEMP");
  if (fs::exists(temp)) {
    for (const auto& e : fs::recursive_directory_iterator(temp)) EXPECT_FALSE(e.path().string().ends_with(".gz")) << e.path();
  }
}
