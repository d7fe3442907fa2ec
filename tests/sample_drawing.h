// The example drawing's contents, in any version and string form: A3 paper
// with every element kind, nested block insertions (rotated, mirrored,
// scaled unevenly), and elements inside, across and outside the paper frame
// (±210 × ±148.5 mm); version 700 drawings may carry images as well.
#pragma once

#include <numbers>

#include "jww_builder.h"

namespace fixture {

namespace sample {

constexpr double kPi = std::numbers::pi;

inline void Elements(Stream& s) {
  Attr a;
  Attr red = a;
  red.color = 2;
  Attr vertical = a;
  vertical.flg = 0x20;
  Attr mark = a;
  mark.style = 100;
  // Inside the paper.
  s.Line(a, -200, -140, 200, -140);
  s.Line(a, -200, 140, 200, 140);
  s.Enko(a, 0, 0, 50, 0, 2 * kPi, 0, 1, 1);               // circle
  s.Enko(red, 0, 0, 80, 0.25, kPi, 0.3, 0.5, 0);          // ellipse arc
  s.Ten(a, 10, 10);
  s.Ten(mark, -10, 10, 0, 3, 0.5, 2);
  s.Moji(a, -190, 120, -130, 120, "Orvantis " FIXTURE_ZUMEN, 5, 5, 0.5);
  s.Moji(vertical, 190, 100, 190, 40, FIXTURE_ZUMEN, 4, 6, 1);
  Attr dimText = a;
  dimText.width = 0x2002;  // value text recomputed with 2 decimals
  s.Sunpo(a, -150, -100, -50, -100, "100", 0, dimText);
  s.Solid(a, 100, -100, 150, -100, 150, -60, 100, -60);
  Attr fan = a;
  fan.style = 101;
  s.Solid(fan, -100, 50, 30, 1, 0, 0, kPi / 2, 0);        // sector
  // Across the frame: kept whole.
  s.Line(red, 150, 0, 400, 0);
  s.Enko(a, 210, -148.5, 30, 0, 2 * kPi, 0, 1, 1);
  s.Moji(a, 0, -150, 40, -150, "edge", 3, 5);             // base line below, box reaches in
  // Outside: deleted.
  s.Line(a, 300, 200, 500, 250);
  s.Enko(a, 0, 0, 300, 0, 2 * kPi, 0, 1, 1);              // encloses the whole frame
  s.Ten(a, -400, 0);
  s.Moji(a, -500, -300, -450, -300, "far away");
  Attr ring = a;
  ring.style = 105;
  s.Solid(ring, 600, 600, 40, 1, 0, 0, kPi, 20);
}

}  // namespace sample


// images: with version 700, two embedded images, one named by a kept text
// and one by a deleted text.
inline Bytes SampleDrawing(int ver, bool utf16 = false, bool images = false) {
  using sample::kPi;
  Bytes b;
  HeaderOptions o;
  o.ver = ver;
  o.zumen = 3;
  o.memo = "Orvantis example";
  o.utf16 = utf16;
  Header(b, o);
  Stream s(b, ver, utf16);
  const bool pictures = images && ver >= 700;
  s.Count(19 + 4 + (pictures ? 2 : 0));  // the 19 elements, the 4 insertions, the image texts
  sample::Elements(s);
  // Insertions of "door" (number 1), which itself inserts "handle" (2).
  Attr a;
  s.Block(a, -120, -30, 1, 1, kPi / 6, 1);    // rotated
  s.Block(a, 80, 60, -1, 1, 0, 1);           // mirrored
  s.Block(a, 0, -60, 2, 0.5, 0, 1);          // scaled unevenly
  s.Block(a, 380, 0, 1, 1, 0, 1);            // off the paper: its copies are deleted
  if (pictures) {
    s.Moji(a, -50, 0, -40, 0, "^@BM%temp%kept.png,20,10");
    s.Moji(a, 900, 0, 910, 0, "^@BM%temp%gone.png,20,10");
  }
  s.Count(2);
  s.Def(a, 1, "door", 4, 1);
  s.Line(a, 0, 0, 30, 0);
  s.Enko(a, 0, 0, 30, 0, kPi / 2, 0, 1, 0);
  s.Moji(a, 2, 2, 20, 2, "door", 2.5, 2.5);
  s.Block(a, 25, 15, 1, 1, kPi / 2, 2);
  s.Def(a, 2, "handle", 2, 2);
  s.Line(a, 0, 0, 5, 0);
  s.Ten(a, 5, 0);
  if (ver >= 700) Images(b, pictures ? std::vector<Image>{{"kept.png.gz", "KEPT"}, {"gone.png.gz", "GONE"}}
                                     : std::vector<Image>{},
                         utf16);
  return b;
}

}  // namespace fixture
