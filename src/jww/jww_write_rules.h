// Clean-up and clamps applied to values on their way into a file.
#pragma once

#include "jww/jwwtype.h"

namespace jww {

// Drops "^m", "\n" (backslash, n) and control characters; a non-empty text
// with nothing left becomes one space so it never vanishes from the drawing.
JString CleanText(const JString& s);
// False when CleanText(s) would give s itself, so the copy can be skipped.
bool NeedsCleaning(const JString& s);
// s without spaces, ideographic spaces and control characters.
JString StripBlanks(const JString& s);
// Text sizes are stored as magnitudes within 1e-10 to 1e10.
double ClampTextSize(double v);

}  // namespace jww
