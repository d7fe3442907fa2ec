#include "shell/system_text.h"

#include "jww/jww_strings.h"

namespace shell {

std::string ToSystemAnsi(const jww::JString& s) { return jww::ToUtf8(s); }

jww::JString FromSystemAnsi(const std::string& bytes) { return jww::FromUtf8(bytes); }

}  // namespace shell
