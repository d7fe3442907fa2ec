#include "shell/batch_run.h"

#include <exception>

#include "jww/jww_strings.h"
#include "shell/failure_reason.h"
#include "shell/output_naming.h"

namespace shell {

using jww::FromUtf8;
using jww::ToUtf8;

namespace {

// The destination folder of a run (with a trailing delimiter), or the
// source's own folder; unsettled when the run must not start.
struct Destination {
  bool settled = false;
  bool sameFolder = false;
  std::string folder;
};

Destination UserFolderDestination(const std::string& folder, const char16_t* what, BatchHost& host) {
  if (folder.empty()) {
    host.ShowMessage(JString(what) + u"が見つかりません。");
    return {};
  }
  return {true, false, AddPathDelim(folder)};
}

Destination ResolveDestination(BatchHost& host) {
  if (host.OptionChecked(0)) return UserFolderDestination(host.DesktopFolder(), u"デスクトップフォルダ", host);
  if (host.OptionChecked(1)) return UserFolderDestination(host.DocumentsFolder(), u"マイドキュメントフォルダ", host);
  if (host.OptionChecked(2)) return {true, true, ""};
  if (host.OptionChecked(3)) {
    std::string d = AddPathDelim(ToUtf8(host.EditFl1Text()));
    if (!IsDirectory(d)) {
      host.ShowMessage(JString(kFolderMissing) + u"\r\n" + FromUtf8(d));
      return {};
    }
    return {true, false, d};
  }
  if (!host.BrowseForFolder2()) return {};
  return {true, false, ToUtf8(host.LabelPreFolderText())};
}

}  // namespace

void JwwDataFree(jww::TJwwData& doc) {
  doc.BindImageDeleteGzFile();
  doc.BindImageDeleteNonGzFile();
  doc.DataFree();
  doc.BindImageInit();
}

JString RunProc1(jww::TJwwData& doc, const std::string& src, const std::string& dst,
                 const trim::StatusFn& status, FileOutcome* outcome) {
  FileOutcome o;
  bool written = false;
  if (LowerExt(src) != ".jww") {
    o.why = "not a .jww file";
  } else {
    if (dst.empty()) {
      o.why = "every branch number of the output's name is taken";
    } else if (!jww::TJwwData::FileCheck(src)) {
      o.why = SourceRefusal(src);
      if (o.why.empty()) o.why = "not a JWW drawing this program reads";
    } else {
      // A damaged file is still converted with what was read.
      bool whole = doc.FileIn(src);
      try {
        trim::FileConv(doc, status);
        doc.SetFileOutOption(doc.MojiEncode ? 32 : 0);
        // FileOut removes its own file when it fails and never touches one it
        // did not create, so nothing else is deleted here.
        written = doc.FileOut(dst, doc.Enthd.jwVer);
        if (!written) o.why = WriteFailure(doc.FileOutError);
      } catch (const std::exception& e) {
        // One drawing that cannot be trimmed must not end the whole batch.
        o.why = std::string("trimming failed: ") + e.what();
      }
      if (written && !whole) {
        o.salvaged = true;
        o.why = "the source is damaged: its read stopped early, and only what was read is saved";
      }
    }
    JwwDataFree(doc);
  }
  if (outcome) *outcome = o;
  return written ? kConverted : kFailed;
}

RunSummary RunProc(jww::TJwwData& doc, const std::vector<std::string>& FList, BatchHost& host) {
  RunSummary sum;
  if (FList.empty()) return sum;
  Destination dest = ResolveDestination(host);
  if (!dest.settled) return sum;
  sum.started = true;
  host.SaveSettings();
  host.LogClear();
  auto status = [&host](const JString& s) { host.SetStatus(s); };
  for (size_t i = 0; i < FList.size(); ++i) {
    if (host.EscapeDown()) {
      host.LogAdd(kEscStop);
      sum.stopped = true;
      break;
    }
    const std::string& src = FList[i];
    std::string dst = MakeUniqueFileName(dest.sameFolder ? src : dest.folder + FileNamePart(src));
    JString usrc = FromUtf8(src), udst = FromUtf8(dst);
    host.LogAdd(usrc);
    host.LogAdd(u"→ " + udst);
    host.SetStatus(kSaving + usrc + u" → " + udst);
    FileOutcome o;
    JString result = RunProc1(doc, src, dst, status, &o);
    host.LogAdd(u"\u3000…… " + result);
    if (result == kConverted) ++sum.converted;
    else ++sum.failed;
    if (o.salvaged) {
      ++sum.salvaged;
      host.LogAdd(kSalvaged);
    }
    if (!o.why.empty()) host.FileDetail(o.why);
  }
  host.SetStatus(u"");
  host.ShowLogPage();
  return sum;
}

}  // namespace shell
