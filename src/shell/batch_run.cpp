#include "shell/batch_run.h"

#include <exception>
#include <set>

#include "jww/jww_strings.h"
#include "shell/debris.h"
#include "shell/failure_reason.h"
#include "shell/output_file.h"
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
                 const trim::StatusFn& status, FileOutcome* outcome, const std::string& wanted,
                 const ConvOptions& options) {
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
      doc.ExtractImages = options.write;
      bool whole = doc.FileIn(src);
      try {
        // A drawing without its blocks is not the drawing: a refused or
        // failed explosion fails the file.
        std::string why;
        if (!trim::FileConv(doc, status, &why, options.observer)) {
          o.why = why.empty() ? "the block explosion failed" : why;
        } else if (options.write) {
          doc.SetFileOutOption(doc.MojiEncode ? 32 : 0);
          // Written under a temporary name (FileOut removes it when it
          // fails), then named without replacing anything.
          std::string tmp = TempOutputName(dst);
          platform::IoErr err = platform::IoErr::kNone;
          if (doc.FileOut(tmp, doc.Enthd.jwVer)) o.written = PlaceOutput(tmp, dst, wanted.empty() ? dst : wanted, &err);
          else err = doc.FileOutError;
          written = !o.written.empty();
          if (!written) o.why = WriteFailure(err);
        } else {
          written = true;  // a dry run stops before the writing
        }
      } catch (const std::exception& e) {
        // One drawing that cannot be trimmed must not end the whole batch.
        o.why = std::string("trimming failed: ") + e.what();
      }
      doc.ExtractImages = true;
      if (written && !whole) {
        o.salvaged = true;
        o.why = "the source is damaged (" + (doc.ReadError.empty() ? std::string("its read stopped early") : doc.ReadError) +
                "); only what was read is saved";
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
  std::set<std::string> cleaned;  // destination folders cleared of stale temporary outputs
  for (size_t i = 0; i < FList.size(); ++i) {
    if (host.EscapeDown()) {
      host.LogAdd(kEscStop);
      sum.stopped = true;
      break;
    }
    const std::string& src = FList[i];
    std::string wanted = dest.sameFolder ? src : dest.folder + FileNamePart(src);
    if (cleaned.insert(FolderPart(wanted)).second) RemoveStaleTempOutputs(FolderPart(wanted));
    std::string dst = MakeUniqueFileName(wanted);
    JString usrc = FromUtf8(src);
    host.LogAdd(usrc);
    host.SetStatus(kSaving + usrc + u" → " + FromUtf8(dst));
    FileOutcome o;
    ConvOptions options{host.FileObserver(src, dst), host.WritesOutputs()};
    JString result = RunProc1(doc, src, dst, status, &o, wanted, options);
    // The arrow names the file actually written, settled only now.
    const std::string final = o.written.empty() ? dst : o.written;
    host.LogAdd(u"→ " + FromUtf8(final));
    host.LogAdd(u"\u3000…… " + result);
    if (result == kConverted) ++sum.converted;
    else ++sum.failed;
    if (o.salvaged) {
      ++sum.salvaged;
      host.LogAdd(kSalvaged);
    }
    if (!o.why.empty()) host.FileDetail(o.why);
    host.FileFinished(src, final, result);
  }
  host.SetStatus(u"");
  host.ShowLogPage();
  return sum;
}

}  // namespace shell
