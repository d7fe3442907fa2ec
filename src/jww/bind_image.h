// Embedded image files of a drawing, kept in the document's temporary folder
// while the document is loaded.
#pragma once

#include <span>
#include <string>

#include "jww/jwwtype.h"

namespace jww {

// Folder + stored name as a file path, or "" when the name could reach
// outside the folder (a path delimiter, a drive, "..") or holds characters
// no file name may hold. Such images are never extracted, written or deleted.
std::string BindImagePath(const std::string& folder, const JString& name);

// The image name an image-reference text names ("^@BM%temp%name,..."), or ""
// when the text names none.
JString ImageReferenceName(const JString& text);

// Upper-casing for comparing stored image names.
JString UpperName(const JString& s);

class TJwwData;
// Marks (exf) the embedded images that a remaining text names, those the
// writer carries when their files exist; returns the images.
std::span<TBindImageType> MarkImagesInUse(TJwwData& d);

}  // namespace jww
