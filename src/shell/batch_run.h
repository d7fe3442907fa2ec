// Converting files one by one into a destination folder, with the log and
// the status texts that the front ends show.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "jww/jww_data.h"
#include "trim/file_conv.h"

namespace shell {

inline const char16_t* const kConverted = u"変換完了";
inline const char16_t* const kFailed = u"変換失敗";

// Empties the document between files, deleting its extracted images.
void JwwDataFree(jww::TJwwData& doc);

// Converts one file: check, read, trim, write. Returns one of the two result
// words; the word is "変換完了" only when this conversion wrote dst.
jww::JString RunProc1(jww::TJwwData& doc, const std::string& src, const std::string& dst,
                      const trim::StatusFn& status);

struct BatchHooks {
  std::function<void(const jww::JString&)> log;     // one log line
  trim::StatusFn status;                            // status text, shown at once
  std::function<bool()> stopRequested;              // polled before each file
};

// Converts every source into destFolder (with a trailing delimiter), or beside
// its source when destFolder is empty. Returns the number of failed files.
int RunBatch(jww::TJwwData& doc, const std::vector<std::string>& sources, const std::string& destFolder,
             const BatchHooks& hooks);

}  // namespace shell
