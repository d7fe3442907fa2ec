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
// Text sizes are stored as magnitudes within 1e-10 to 1e10; one that is not
// a number is stored as 3.0, the size a reader would give it.
double ClampTextSize(double v);
// Text spacing that is not finite is stored as 0.0, as a reader takes it.
double StoredSpacing(double v);

}  // namespace jww
