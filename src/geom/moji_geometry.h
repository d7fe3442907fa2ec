// Texts, image-reference texts and dimension value texts carried through a
// block transform, and the width a string is taken to have.
#pragma once

#include <cstdint>

#include "geom/func_2.h"
#include "geom/number_text.h"
#include "jww/jwwtype.h"

namespace geom {

// Placement of a text: base line s -> e, character size along and across
// the base line, spacing and text kind.
struct MojiPlace {
  DPoint s, e;
  double along = 0, across = 0, spacing = 0;
  uint32_t kind = 0;
};

// Width of s in code page 932 bytes: size per full-width character, size/2
// per half-width one, with spacing (resp. spacing/2) between characters.
double MojiWidth(const jww::JString& s, double size, double spacing);

// Base line mapped by t. Unless t is a pure translation, sizes and spacing
// are measured anew, a mirrored base line is reversed and the kind loses its
// last three decimal digits. Sizes and spacing come back rounded to 4
// decimals; the sizes are at least 0.0001.
MojiPlace TransformMoji(uint32_t kind, const DPoint& s, const DPoint& e,
                        double along, double across, double spacing,
                        const Transform& t);
// TransformMoji, then (unless t is a pure translation) the base line is
// centred on the mapped middle with the length of `text`.
MojiPlace TransformSunpoMoji(uint32_t kind, const jww::JString& text,
                             const DPoint& s, const DPoint& e, double along,
                             double across, double spacing, const Transform& t);
// Value text of the dimension line p-q after t: F the format bits, G the
// mark bits, scale the layer group scale (0 or below counts as 1).
jww::JString MakeSunpoText(uint16_t F, uint16_t G, const DPoint& p,
                           const DPoint& q, const Transform& t, double scale);

// Vertical texts (sFlg bit 0x20) have dSizeY along the base line.
bool IsVerticalMoji(const jww::TEntJwwMoji& m);
// Begins "^@BM" and has a "," (name and size fields follow).
bool IsImageMoji(const jww::JString& str);
// Reads resp. stores base line, sizes (by the vertical rule), spacing and kind.
MojiPlace MojiPlaceOf(const jww::TEntJwwMoji& m);
void StoreMojiPlace(jww::TEntJwwMoji& m, const MojiPlace& p);

// A text element of a block definition through the block transform: places
// it, rebuilds an image reference for its new size and angle and sets
// degKakudo. Leaves the attribute record alone.
void TransformMojiElement(jww::TEntJwwMoji& m, const Transform& t);
// The value text of a dimension through the block transform: rebuilt from
// the definition's dimension line p-q and the layer group scale when t is
// not a pure translation, the format bits (nPenWidth) ask for it and the text
// is not an image reference; placed accordingly; degKakudo set. Leaves the
// attribute record alone.
void TransformSunpoMojiElement(jww::TEntJwwMoji& m, const Transform& t,
                               const DPoint& p, const DPoint& q, double scale);

}  // namespace geom
