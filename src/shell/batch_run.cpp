#include "shell/batch_run.h"

#include "jww/jww_strings.h"
#include "shell/output_naming.h"

namespace shell {

using jww::JString;

void JwwDataFree(jww::TJwwData& doc) {
  doc.BindImageDeleteGzFile();
  doc.BindImageDeleteNonGzFile();
  doc.DataFree();
  doc.BindImageInit();
}

JString RunProc1(jww::TJwwData& doc, const std::string& src, const std::string& dst,
                 const trim::StatusFn& status) {
  bool written = false;
  if (LowerExt(src) == ".jww") {
    if (!dst.empty() && jww::TJwwData::FileCheck(src)) {
      doc.FileIn(src);  // a damaged file is still converted with what was read
      if (!trim::FileConv(doc, status)) {
        JwwDataFree(doc);
        return kFailed;
      }
      doc.SetFileOutOption(doc.MojiEncode ? 32 : 0);
      // FileOut removes its own file when it fails and never touches one it
      // did not create, so nothing else is deleted here.
      written = doc.FileOut(dst, doc.Enthd.jwVer);
    }
    JwwDataFree(doc);
  }
  return written ? kConverted : kFailed;
}

int RunBatch(jww::TJwwData& doc, const std::vector<std::string>& sources, const std::string& destFolder,
             const BatchHooks& hooks) {
  auto log = [&](const JString& s) {
    if (hooks.log) hooks.log(s);
  };
  auto status = [&](const JString& s) {
    if (hooks.status) hooks.status(s);
  };
  int failed = 0;
  for (const std::string& src : sources) {
    if (hooks.stopRequested && hooks.stopRequested()) {
      log(u"[ESC]を押しましたので中断します。");
      break;
    }
    std::string dst = MakeUniqueFileName(destFolder.empty() ? src : destFolder + FileNamePart(src));
    JString usrc = jww::FromUtf8(src), udst = jww::FromUtf8(dst);
    log(usrc);
    log(u"→ " + udst);
    status(u"ファイル保存中です\u3000" + usrc + u" → " + udst);
    JString result = RunProc1(doc, src, dst, hooks.status);
    if (result != kConverted) ++failed;
    log(u"\u3000…… " + result);
  }
  status(u"");
  return failed;
}

}  // namespace shell
