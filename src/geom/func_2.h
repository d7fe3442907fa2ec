// Func_2: numeric helpers shared by the block explosion and the trimming.
// Every helper is a pure function of its arguments. The arithmetic is kept
// in the order the formulas are written, so results are reproducible to the
// last bit on every machine (the build disables fused multiply-add).
#pragma once

#include <cstdint>

namespace geom {

struct DPoint {
  double x = 0, y = 0;
};

// Affine map of a block tree node: (X, Y) -> (x + r1*X + r2*Y, y + r3*X + r4*Y).
struct Transform {
  double x = 0, y = 0, r1 = 1, r2 = 0, r3 = 0, r4 = 1;

  double MapX(double X, double Y) const { return x + r1 * X + r2 * Y; }
  double MapY(double X, double Y) const { return y + r3 * X + r4 * Y; }
  DPoint Map(double X, double Y) const { return {MapX(X, Y), MapY(X, Y)}; }
  DPoint Map(const DPoint& p) const { return Map(p.x, p.y); }
  // The matrix r1..r4 is the identity within 1e-14 (a pure translation).
  bool IsIdentity() const;
};

// Ellipse arc: centre, radius along its own x axis, flattening, start and
// sweep as parameter angles, tilt of its own x axis.
struct EnkoArc {
  double cx = 0, cy = 0, r = 0, f = 0, s = 0, w = 0, tau = 0;
};

// Direction of (dx, dy) in [0, 2*pi); 0 when both parts are below 1e-14.
double VectorAngle(double dx, double dy);
// (X, Y) turned by th about (cx, cy): the x resp. y coordinate.
double RotateX(double X, double Y, double cx, double cy, double th);
double RotateY(double X, double Y, double cx, double cy, double th);
double PointDistance(double x1, double y1, double x2, double y2);
// Both coordinates equal within 1e-12.
bool SamePoint(double x1, double y1, double x2, double y2);
// Rounds |v| to `digits` decimals (1..9; any other count means 0) and puts
// the sign back. Mode 0 truncates, 1 rounds up, anything else rounds half up.
double RoundDigits(double v, int32_t digits, int32_t mode);
void SwapValues(double& a, double& b);
// Distance of (px, py) from the line through (x1, y1) and (x2, y2).
double PointLineDistance(double x1, double y1, double x2, double y2, double px,
                         double py);
// True when the projection of (px, py) falls on the segment (within 1e-12);
// offset receives the signed distance from the line (left side positive).
bool WithinSegmentSpan(double x1, double y1, double x2, double y2, double px,
                       double py, double& offset);
// Meeting point of line a1-a2 with line b1-b2: 0 parallel (p untouched),
// 1 on both segments, 2 elsewhere.
int32_t LineIntersection(const DPoint& a1, const DPoint& a2, const DPoint& b1,
                         const DPoint& b2, DPoint& p);
// End points of an ellipse arc and the meeting point of the tangents there
// (the centre when the tangents are parallel).
void ArcEndPoints(double cx, double cy, double r, double f, double s, double w,
                  double tau, DPoint& start, DPoint& end, DPoint& apex);
// The ellipse arc mapped through t and described again as an ellipse arc with
// a counterclockwise sweep. Only full == 1 keeps start and sweep untouched.
EnkoArc TransformEnko(uint32_t full, double cx, double cy, double r, double f,
                      double s, double w, double tau, const Transform& t);

}  // namespace geom
