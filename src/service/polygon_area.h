// Area of the region covered by one closed outline under the even-odd rule. The only place
// that knows the polygon clipping library; replacing the library means replacing this pair.
#ifndef GEOXFORM_POLYGON_AREA_H
#define GEOXFORM_POLYGON_AREA_H

namespace gx {

// Area covered by the closed outline of n (x, y) pairs under the even-odd rule: a point is
// covered when a ray from it crosses the outline an odd number of times. So the direction of
// the outline does not matter, the loops of a figure eight add up, the centre of a pentagram
// and an outline traced twice cover nothing.
// Returns 0 for a null array, fewer than three points, or when memory runs out; NaN when a
// coordinate is not finite. Never throws.
double EvenOddArea(const double* xy, int n) noexcept;

// The same, cutting the outline into vertical slabs while its estimated clipping cost
// (vertices times the mean number of edges on a scan line) exceeds dCutCost. The default
// bounds the time of outlines whose scan lines cross many edges; tests vary it.
double EvenOddArea(const double* xy, int n, double dCutCost) noexcept;

} // namespace gx

#endif
