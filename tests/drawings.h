// Whole drawings for tests that convert files: points on A3 paper, in the
// bytes our own writer gives them, so that a drawing wholly inside its paper
// converts to itself.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "jww/jww_data.h"
#include "jww_builder.h"

namespace testutil {

inline std::vector<uint8_t> PointsDrawing(const std::vector<std::pair<double, double>>& points, int ver = 600) {
  fixture::Bytes b;
  fixture::HeaderOptions o;
  o.ver = ver;
  fixture::Header(b, o);
  fixture::Stream s(b, ver);
  s.Count(static_cast<uint32_t>(points.size()));
  for (auto [x, y] : points) s.Ten(fixture::Attr{}, x, y);
  s.Count(0);
  if (ver >= 700) fixture::Images(b, {});
  jww::TJwwData d;
  EXPECT_TRUE(d.FileInMemory(b.b.data(), b.size()));
  std::vector<uint8_t> out;
  EXPECT_TRUE(d.FileOutMemory(out, ver));
  return out;
}

// A version 700 drawing of texts (at the origin unless far) and embedded images.
inline std::vector<uint8_t> TextsAndImagesDrawing(const std::vector<std::pair<std::string, double>>& textsAtX,
                                                  const std::vector<fixture::Image>& images) {
  fixture::Bytes b;
  fixture::HeaderOptions o;
  o.ver = 700;
  fixture::Header(b, o);
  fixture::Stream s(b, 700);
  s.Count(static_cast<uint32_t>(textsAtX.size()));
  for (const auto& [text, x] : textsAtX) s.Moji(fixture::Attr{}, x, 0, x + 10, 0, text);
  s.Count(0);
  fixture::Images(b, images);
  return b.b;
}

// n points spread over the paper.
inline std::vector<uint8_t> ManyPointsDrawing(int n) {
  std::vector<std::pair<double, double>> pts;
  pts.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) pts.emplace_back(i % 400 - 200.0, (i / 400) % 280 - 140.0);
  return PointsDrawing(pts);
}

}  // namespace testutil
