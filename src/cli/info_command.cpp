// "info": what a drawing holds, for people (plain text) or scripts (--json).
#include "info_command.h"

#include <cstdio>
#include <sstream>

#include "console.h"
#include "jww/jww_data.h"
#include "jww/jww_strings.h"
#include "json_writer.h"
#include "shell/batch_run.h"
#include "shell/failure_reason.h"
#include "shell/temp_folder.h"
#include "trim/file_conv.h"

namespace cli {

namespace {

using jww::ToUtf8;

std::string Num(double v) {
  std::ostringstream s;
  s << v;
  return s.str();
}

void PrintText(const std::string& path, const jww::TJwwData& d, bool readOk) {
  const auto& h = d.Enthd;
  std::ostringstream o;
  trim::PaperMm p = trim::PaperSize(h.nZumen);
  o << path << ": JWW version " << h.jwVer << (readOk ? "" : " (damaged: read stopped early)") << "\n";
  o << "  memo: " << ToUtf8(h.strMemo) << "\n";
  o << "  paper: code " << h.nZumen << ", " << Num(p.w) << " x " << Num(p.h) << " mm\n";
  o << "  strings: " << (d.MojiEncode ? "UTF-16" : "code page 932") << "\n";
  o << "  elements: " << d.EntLineN << " lines, " << d.EntEnkoN << " arcs, " << d.EntTenN
            << " points, " << d.EntMojiN << " texts, " << d.EntSunpoN << " dimensions, " << d.EntSolidN
            << " solids, " << d.EntBlockN << " block insertions\n";
  o << "  block definitions: " << d.EntBlockDefN << " (" << d.EntBlockNum << " in use), block tree "
            << d.EntBlockTreeN << " placements\n";
  for (const auto& b : d.EntBlockDef)
    o << "    #" << b.nNumber << " \"" << ToUtf8(b.strName) << "\": " << b.N << " members, "
              << b.mBlockN << " nested insertions" << (b.ref_flag ? "" : ", unused") << "\n";
  o << "  embedded images: " << std::max(d.BindImageN, 0) << "\n";
  for (const auto& im : d.BindImage) o << "    " << ToUtf8(im.Fname) << " (" << im.Fsize << " bytes)\n";
  Out(o.str());
}

void PrintJson(const std::string& path, const jww::TJwwData& d, bool readOk) {
  const auto& h = d.Enthd;
  trim::PaperMm p = trim::PaperSize(h.nZumen);
  std::ostringstream o;
  o << "{\"file\":" << JsonString(path) << ",\"ok\":" << (readOk ? "true" : "false")
    << ",\"version\":" << h.jwVer << ",\"memo\":" << JsonString(ToUtf8(h.strMemo)) << ",\"zumen\":" << h.nZumen
    << ",\"paper_mm\":[" << Num(p.w) << "," << Num(p.h) << "]"
    << ",\"counts\":{\"line\":" << d.EntLineN << ",\"arc\":" << d.EntEnkoN << ",\"point\":" << d.EntTenN
    << ",\"text\":" << d.EntMojiN << ",\"dimension\":" << d.EntSunpoN << ",\"solid\":" << d.EntSolidN
    << ",\"block\":" << d.EntBlockN << "},\"block_defs\":[";
  for (size_t i = 0; i < d.EntBlockDef.size(); ++i) {
    const auto& b = d.EntBlockDef[i];
    o << (i ? "," : "") << "{\"number\":" << b.nNumber << ",\"name\":" << JsonString(ToUtf8(b.strName))
      << ",\"members\":" << b.N << ",\"nested\":" << b.mBlockN << ",\"used\":" << (b.ref_flag ? "true" : "false")
      << "}";
  }
  o << "],\"tree_nodes\":" << d.EntBlockTreeN << ",\"images\":[";
  for (size_t i = 0; i < d.BindImage.size(); ++i)
    o << (i ? "," : "") << "{\"name\":" << JsonString(ToUtf8(d.BindImage[i].Fname))
      << ",\"size\":" << d.BindImage[i].Fsize << "}";
  o << "],\"utf16\":" << (d.MojiEncode ? "true" : "false") << ",\"error\":"
    << (readOk ? "null" : JsonString("read stopped early: the file is truncated or damaged")) << "}";
  Out(o.str() + "\n");
}

void PrintRefusal(const std::string& path, const std::string& reason, bool json) {
  Err(path + ": " + reason + "\n");
  if (json) Out("{\"file\":" + JsonString(path) + ",\"ok\":false,\"error\":" + JsonString(reason) + "}\n");
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  bool json = false;
  std::vector<std::string> files;
  for (const auto& a : args) {
    if (a == "--json") json = true;
    else files.push_back(a);
  }
  if (files.empty()) {
    Err("usage: orvantis-cli info [--json] FILE...\n");
    return 2;
  }
  jww::TJwwData doc;
  shell::RunImageFolder images{};
  doc.BindImageFolder = images.path();
  int status = 0;
  for (const auto& path : files) {
    std::string reason = shell::SourceRefusal(path);
    if (!reason.empty()) {
      PrintRefusal(path, reason, json);
      status = 1;
      continue;
    }
    bool ok = doc.FileIn(path);
    if (json) PrintJson(path, doc, ok);
    else PrintText(path, doc, ok);
    if (!ok) {
      Err(path + ": read stopped early: the file is truncated or damaged\n");
      status = 1;
    }
    shell::JwwDataFree(doc);
  }
  return status;
}

}  // namespace cli
