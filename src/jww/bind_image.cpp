#include "jww/bind_image.h"

#include <algorithm>
#include <memory>
#include <span>

#include "jww/jww_data.h"
#include "jww/jww_stream.h"
#include "jww/jww_strings.h"
#include "platform/file_system.h"

namespace jww {

namespace {

constexpr size_t kCopyBlock = 2048;
const JString kTempRef = u"^@BM%temp%";

bool FileExists(const std::string& path) { return !path.empty() && platform::Fs().FileExists(path); }

void DeleteFile(const std::string& path) {
  if (!path.empty()) platform::Fs().DeleteFile(path);  // a failed clean-up is ignored
}

bool HasGzExt(const JString& name) {
  size_t dot = name.rfind(u'.');
  return dot != JString::npos && UpperName(name.substr(dot)) == u".GZ";
}

// Copies n payload bytes from the drawing into a new file; false when the
// file could not be made whole. The payload is consumed in any case.
bool Extract(JwwIn& in, const std::string& path, int32_t n) {
  // A file of the same name (an earlier image of this drawing) gives way;
  // the new one is made without following any link planted at its name.
  DeleteFile(path);
  std::unique_ptr<platform::File> f = platform::Fs().CreateExclusive(path, nullptr);
  if (!f) {
    if (n > 0) in.Skip(static_cast<uint64_t>(n));
    return false;
  }
  uint8_t buf[kCopyBlock];
  int64_t left = n > 0 ? n : 0;
  bool ok = true;
  while (left > 0) {
    size_t take = static_cast<size_t>(std::min<int64_t>(left, kCopyBlock));
    size_t got = in.Read(buf, take);
    if (got < take) {
      // The drawing ends inside the payload: no part of the image is kept.
      f.reset();
      DeleteFile(path);
      throw JwwIoError(kErrFileIo);
    }
    if (ok && !f->Write(buf, got)) ok = false;
    left -= static_cast<int64_t>(got);
  }
  return f->Close() && ok;
}

}  // namespace

std::string BindImagePath(const std::string& folder, const JString& name) {
  if (name.empty() || name == u"." || name == u"..") return "";
  for (char16_t c : name) {
    if (c < 0x20) return "";
    switch (c) {
      case u'/': case u'\\': case u':': case u'*': case u'?':
      case u'"': case u'<': case u'>': case u'|':
        return "";
      default:
        break;
    }
  }
  return folder + ToUtf8(name);
}

JString ImageReferenceName(const JString& text) {
  if (text.size() <= kTempRef.size() || text.compare(0, kTempRef.size(), kTempRef) != 0) return {};
  size_t comma = text.find(u',');
  if (comma == JString::npos) return {};
  if (comma < kTempRef.size()) return {};
  return text.substr(kTempRef.size(), comma - kTempRef.size());
}

JString UpperName(const JString& s) {
  JString r = s;
  for (char16_t& c : r) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
    else if (c >= 0xFF41 && c <= 0xFF5A) c = static_cast<char16_t>(c - 0x20);  // full-width a-z
    else if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) c = static_cast<char16_t>(c - 0x20);
  }
  return r;
}

void TJwwData::ReadBindImages(JwwIn& in) {
  int32_t count = in.I32();
  BindImageN = count;
  if (count <= 0) return;
  // Name and size take at least 5 bytes an entry. A count beyond that gets
  // entries only as they are really read; entries read before a failure stay.
  const uint64_t backed = in.Remaining() / 5;
  if (static_cast<uint64_t>(count) <= backed) {
    BindImage.assign(static_cast<size_t>(count), TBindImageType{});
  } else {
    BindImage.reserve(backed);
    BindImageN = 0;
  }
  for (int32_t i = 0; i < count; ++i) {
    JString name = ReadCleanString(*this, in);
    if (BindImage.size() <= static_cast<size_t>(i)) {
      BindImage.emplace_back();
      BindImageN = i + 1;
    }
    TBindImageType& e = BindImage[i];
    e.Fname = std::move(name);
    e.Fsize = in.I32();
    std::string path = BindImagePath(BindImageFolder, e.Fname);
    if (e.Fname.empty() || e.Fsize == 0 || path.empty() || !ExtractImages) {
      if (e.Fsize > 0) in.Skip(static_cast<uint64_t>(e.Fsize));
      continue;
    }
    if (!Extract(in, path, e.Fsize)) DeleteFile(path);
  }
}

void TJwwData::BindImageDeleteGzFile() {
  for (int32_t i = 0; i < BindImageN && i < static_cast<int32_t>(BindImage.size()); ++i) {
    const JString& name = BindImage[i].Fname;
    if (!HasGzExt(name)) continue;
    std::string path = BindImagePath(BindImageFolder, name);
    if (FileExists(path)) DeleteFile(path);
  }
}

void TJwwData::BindImageDeleteNonGzFile() {
  for (int32_t i = 0; i < BindImageN && i < static_cast<int32_t>(BindImage.size()); ++i) {
    JString name = BindImage[i].Fname;
    if (HasGzExt(name)) name.resize(name.size() - 3);
    std::string path = BindImagePath(BindImageFolder, name);
    if (FileExists(path)) DeleteFile(path);
  }
}

namespace {

void MarkReferences(const std::vector<TEntJwwNo>& rows, size_t n, const std::vector<TEntJwwMoji>& texts,
                    std::span<TBindImageType> images, const std::vector<JString>& upper) {
  n = std::min(n, rows.size());
  for (size_t i = 0; i < n; ++i) {
    const TEntJwwNo& r = rows[i];
    if (r.EntType != kEntMoji || r.EntNo < 0 || static_cast<size_t>(r.EntNo) >= texts.size()) continue;
    JString ref = ImageReferenceName(texts[r.EntNo].str);
    if (ref.empty()) continue;
    ref = UpperName(ref);
    for (size_t k = 0; k < images.size(); ++k) {
      if (upper[k].starts_with(ref)) {
        images[k].exf = true;
        break;
      }
    }
  }
}

}  // namespace

std::span<TBindImageType> MarkImagesInUse(TJwwData& d) {
  size_t n = d.BindImageN > 0 ? std::min<size_t>(d.BindImageN, d.BindImage.size()) : 0;
  std::span<TBindImageType> images(d.BindImage.data(), n);
  std::vector<JString> upper;
  upper.reserve(n);
  for (auto& e : images) {
    e.exf = false;
    upper.push_back(UpperName(e.Fname));
  }
  MarkReferences(d.EntNo, static_cast<size_t>(std::max(d.Enthd.n1, 0)), d.EntMoji, images, upper);
  for (const auto& def : d.EntBlockDef) MarkReferences(def.mNo, def.mNo.size(), def.mMoji, images, upper);
  return images;
}

void TJwwData::WriteBindImages(JwwOut& out) {
  std::span<TBindImageType> images = MarkImagesInUse(*this);
  int32_t count = 0;
  for (auto& e : images) {
    if (e.exf && !FileExists(BindImagePath(BindImageFolder, e.Fname))) e.exf = false;
    if (e.exf) ++count;
  }
  out.I32(count);
  for (const auto& e : images) {
    if (!e.exf) continue;
    // Opened before its name goes out: an image that cannot be read fails
    // the whole file rather than leave a section that disagrees with its count.
    std::unique_ptr<platform::File> f = platform::Fs().OpenRead(BindImagePath(BindImageFolder, e.Fname), nullptr);
    if (!f || f->Size() > INT32_MAX) throw JwwIoError(kErrFileIo);
    WriteArchiveString(*this, out, e.Fname);
    out.I32(static_cast<int32_t>(f->Size()));
    uint8_t buf[kCopyBlock];
    uint64_t left = f->Size();
    while (left > 0) {
      size_t take = static_cast<size_t>(std::min<uint64_t>(left, kCopyBlock));
      if (f->Read(buf, take) != static_cast<long long>(take)) throw JwwIoError(kErrFileIo);
      out.Write(buf, take);
      left -= take;
    }
  }
}

}  // namespace jww
