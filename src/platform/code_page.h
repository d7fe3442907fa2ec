// Code page 932, the code page of the drawings' ANSI strings. Both
// directions are strict: a byte sequence or a character without an exact
// counterpart makes the conversion fail, so that the caller decides what
// stands in for it, the same way on every system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

bool Cp932ToUtf16(const uint8_t* p, size_t n, std::u16string& out);
bool Utf16ToCp932(const char16_t* p, size_t n, std::string& out);

}  // namespace platform
