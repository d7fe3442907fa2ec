// Path helpers and the naming rule that keeps every output from replacing an
// existing file.
#pragma once

#include <string>

namespace shell {

// The path with a delimiter at its end.
std::string AddPathDelim(const std::string& path);
// Extension of the file-name part, dot included, lower-cased; "" when none.
std::string LowerExt(const std::string& path);
// True when a folder of that path exists.
bool IsDirectory(const std::string& path);
// The file-name part of a path.
std::string FileNamePart(const std::string& path);
// The folder part of a path, with its delimiter; "" when there is none.
std::string FolderPart(const std::string& path);
// The path itself when no file has it, else the first free "base~n.ext"
// (n = 1 to 99999); "" when all of those are taken.
std::string MakeUniqueFileName(const std::string& path);

}  // namespace shell
