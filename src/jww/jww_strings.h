// Text conversion and the archive-string form of JWW files: a length prefix
// followed by code page 932 bytes, or by UTF-16 code units after the marker
// bytes FF FE FF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "jww/jwwtype.h"

namespace jww {

class JwwIn;
class JwwOut;
class TJwwData;

// Code page 932 bytes to text; the text ends before the first NUL.
JString DecodeAnsiBytes(const uint8_t* p, size_t n);
// UTF-16LE bytes to text; the text ends before the first NUL.
JString DecodeUtf16Bytes(const uint8_t* p, size_t n);
// Text to code page 932 bytes; characters the code page lacks become "?".
std::string EncodeAnsiBytes(const JString& s);
// Bytes of EncodeAnsiBytes(s) up to the first zero byte.
size_t AnsiByteLength(const JString& s);
JString RemoveControlChars(const JString& s);
bool IsFiniteNumber(double v);

JString ReadArchiveString(TJwwData& doc, JwwIn& in);
JString ReadCleanString(TJwwData& doc, JwwIn& in);
// Writes s in the form that bit 0x20 of doc.FileOutOpt selects.
void WriteArchiveString(const TJwwData& doc, JwwOut& out, const JString& s);

// UTF-8 for the command line and logs.
std::string ToUtf8(const JString& s);
// Malformed sequences become U+FFFD, byte by byte.
JString FromUtf8(const std::string& s);
// True when every byte belongs to a well-formed UTF-8 sequence.
bool IsUtf8(const std::string& s);
// Shorthand for ASCII literals in code.
JString Ascii(const char* s);

}  // namespace jww
