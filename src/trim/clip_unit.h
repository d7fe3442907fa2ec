// ClipUnit: the tests that decide whether a figure lies wholly outside the
// paper frame. Every test is a pure function of its arguments. Results: 0 for
// inside (or not wholly outside), 1 for a segment crossing the frame, 2 for
// wholly outside; callers only ask whether a result is 2.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geom/func_2.h"
#include "jww/jwwtype.h"

namespace trim {

struct Frame {
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

// Region code: 1 left, 2 right, 4 below, 8 above; a point on an edge (within
// 1e-12) counts as beyond it.
int32_t ClipOutCode(double x, double y, const Frame& fr);
// 2 when the point is not strictly inside, else 0.
int32_t ClipTenCheck(double x, double y, const Frame& fr);
// Clips the segment's end points in place; 0 inside, 1 crossing, 2 outside.
int32_t ClipSen(double& x1, double& y1, double& x2, double& y2, const Frame& fr);
// ClipSen on copies: the arguments stay unchanged.
int32_t ClipSenCheck(double x1, double y1, double x2, double y2, const Frame& fr);
// Ellipse arc as 72 chords; full != 0 or a zero sweep means the whole ellipse.
int32_t ClipEnkoCheck(int32_t full, double cx, double cy, double r, double f,
                      double start, double sweep, double tilt, const Frame& fr);
// Text box: the rectangle of height h on the left of the base line.
// The same test chord by chord, without the shortcuts that ClipEnkoCheck
// takes; kept to check those shortcuts against.
int32_t ClipEnkoCheckPlain(int32_t full, double cx, double cy, double r, double f,
                           double start, double sweep, double tilt, const Frame& fr);
int32_t ClipMojiCheck(double x1, double y1, double x2, double y2, double h,
                      const Frame& fr);
// Image box of an image-reference text placed at (x1, y1); falls back to the
// text box when the string carries no fields.
int32_t ClipImageCheck(const jww::JString& str, double x1, double y1, double x2,
                       double y2, double h, const Frame& fr);

// The figures the tests above see, for pictures of the decision.
// Text box corners: the base line's ends, then the far side's ends.
std::array<geom::DPoint, 4> MojiBoxCorners(double x1, double y1, double x2, double y2, double h);
// Image box corners in order round the box; false when the string carries
// no fields (the text box applies then).
bool ImageBoxCorners(const jww::JString& str, double x1, double y1, std::array<geom::DPoint, 4>& corners);
// The sweep the arc test walks: the whole ellipse (2π) for full != 0, a zero
// sweep, one beyond the bound or not finite; else the sweep within ±2π.
double EnkoSweep(int32_t full, double sweep);
// The point of an ellipse arc at parameter angle th.
geom::DPoint EnkoPoint(double cx, double cy, double r, double f, double th, double tilt);
// The 73 points of the 72 chords of an ellipse arc.
std::vector<geom::DPoint> EnkoChordPoints(int32_t full, double cx, double cy, double r, double f, double start,
                                          double sweep, double tilt);

}  // namespace trim
