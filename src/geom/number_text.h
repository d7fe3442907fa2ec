// Numbers as they appear in drawing texts: the fields of image references
// and the value texts of dimensions.
#pragma once

#include <cstdint>

#include "jww/jwwtype.h"

namespace geom {

// Decimal number with "." as decimal point and an optional exponent; leading
// spaces are skipped. Empty, malformed or out-of-range text reads as 0.
double StrToFloatZero(const jww::JString& s);
// Shortest form with up to 15 significant digits: fixed notation when the
// rounded value lies in [0.00001, 1e15), else an exponent form such as 1E-6,
// 1.5E20 or -2.25E15 ("E", a "-" only for negative exponents, no leading
// zeros). Zero is "0"; NaN and infinities are "NAN", "INF" and "-INF".
jww::JString FormatGeneral(double v);
// v with exactly d decimals (d below 0 counts as 0); "-" only in front of a
// number that shows a nonzero digit.
jww::JString FormatFixed(int32_t d, double v);
// As FormatFixed, with "," between groups of three integer digits.
jww::JString FormatGrouped(int32_t d, double v);
// "!".."~" to their full-width forms (quotes and backslash to their typeset
// counterparts), space to the ideographic space; all else unchanged.
jww::JString ToFullWidth(const jww::JString& s);

}  // namespace geom
