// The batch run: one destination for the whole list, then every source
// converted in turn under a name that never replaces a file, with the log and
// the status texts shown through the host.
#pragma once

#include <string>
#include <vector>

#include "jww/jww_data.h"
#include "shell/batch_host.h"
#include "trim/file_conv.h"

namespace shell {

inline const char16_t* const kConverted = u"変換完了";
inline const char16_t* const kFailed = u"変換失敗";
inline const char16_t* const kEscStop = u"[ESC]を押しましたので中断します。";
inline const char16_t* const kFolderMissing = u"指定したフォルダが見つかりません。";
inline const char16_t* const kSaving = u"ファイル保存中です\u3000";
inline const char16_t* const kSalvaged = u"\u3000※元のファイルが壊れていたため、読み込めた部分だけを保存しました";

// Empties the document between files, deleting its extracted images.
void JwwDataFree(jww::TJwwData& doc);

// What became of one source beyond its result word.
struct FileOutcome {
  std::string written;    // the output's name, when one was written
  bool salvaged = false;  // written, but the source was damaged and read in part
  std::string why;        // the reason, when it failed or was salvaged
};

struct ConvOptions {
  trim::TrimObserver* observer = nullptr;  // watches the trim
  bool write = true;                       // false: a dry run, nothing made
};

// Converts one file: check, read, trim, write. Returns one of the two result
// words; the word is "変換完了" only when this conversion wrote an output
// (in a dry run: when it would have).
// The output goes to dst or, when another program takes that name while it
// is written, to the next free branch number of `wanted` (dst when empty);
// outcome->written names it.
JString RunProc1(jww::TJwwData& doc, const std::string& src, const std::string& dst,
                 const trim::StatusFn& status, FileOutcome* outcome = nullptr, const std::string& wanted = "",
                 const ConvOptions& options = {});

struct RunSummary {
  bool started = false;  // the destination was settled and the files taken in turn
  bool stopped = false;  // the stop key ended the run before its last file
  int converted = 0, failed = 0, salvaged = 0;
};

// Runs the batch over FList. Nothing changes (no settings written, log and
// status untouched) when the destination cannot be settled.
RunSummary RunProc(jww::TJwwData& doc, const std::vector<std::string>& FList, BatchHost& host);

}  // namespace shell
