// Even-odd area of one outline. The outline is moved onto an integer grid fine enough to keep
// every coordinate's precision relative to the polygon's size; the polygon clipping library
// resolves its crossings into simple outer outlines and holes; an exact shoelace sum over them
// is rounded once.
//
// The clipper sweeps a horizontal line over the outline and keeps the edges that the line
// crosses in a list that it walks for every edge it inserts, so an outline whose scan lines
// all cross many edges (a saw-tooth or a comb) costs time quadratic in its size. Such outlines
// are cut into vertical slabs first: the even-odd region of an outline clipped to a slab
// (Sutherland-Hodgman, the clipped-off parts replaced by runs along the slab's side) is the
// region of the whole outline inside the slab, because each clipped-off loop closed by its
// run crosses a horizontal ray from inside the slab an even number of times.
#include "service/polygon_area.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include <clipper.hpp>

namespace {

// Grid points across each side of the bounding box: 2^53, so that every coordinate keeps a
// double's 53 bits relative to the polygon's extent on its axis, far inside the clipper's range of
// +-2^62, where its own products are exact.
const int kGridBits = 53;

// An outline is cut when its estimated clipping cost (vertices times the mean number of edges
// on a scan line) exceeds this: about a millisecond of clipping. Measured on saw-tooths of
// 10^5 to 10^6 points, smaller and larger budgets (2^12 to 2^22) are no faster.
const double kClipBudget = 1 << 16;
// Outlines this small, or whose scan lines cross fewer edges than this on average (every
// convex outline crosses two), are never cut; cutting stops at this depth.
const size_t kMinCutSize = 8;
const double kMinCutCrossings = 4;
const int kMaxCutDepth = 40;

struct GridPoint {
    int64_t x;
    int64_t y;
};
using Outline = std::vector<GridPoint>;

// Unsigned 128-bit integer with wrapping arithmetic: the shoelace sum of grid coordinates of
// at most 2^53 is at most 2^107 at the end, so the wrapped sum is exact whatever the partial
// sums were.
struct Wide {
    uint64_t hi = 0;
    uint64_t lo = 0;
};

void Add(Wide& sum, const Wide& term) {
    sum.lo += term.lo;
    sum.hi += term.hi + (sum.lo < term.lo ? 1 : 0);
}

void Negate(Wide& value) {
    value.lo = ~value.lo + 1;
    value.hi = ~value.hi + (value.lo == 0 ? 1 : 0);
}

// Signed product of two 64-bit integers, exactly.
Wide Multiply(int64_t a, int64_t b) {
    const bool negative = (a < 0) != (b < 0);
    const uint64_t ua = a < 0 ? 0 - static_cast<uint64_t>(a) : static_cast<uint64_t>(a);
    const uint64_t ub = b < 0 ? 0 - static_cast<uint64_t>(b) : static_cast<uint64_t>(b);
    const uint64_t a0 = ua & 0xffffffffu, a1 = ua >> 32;
    const uint64_t b0 = ub & 0xffffffffu, b1 = ub >> 32;
    const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const uint64_t middle = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
    Wide product;
    product.lo = (middle << 32) | (p00 & 0xffffffffu);
    product.hi = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
    if (negative) Negate(product);
    return product;
}

// The magnitude of a two's complement 128-bit value, rounded once to the nearest double.
double Magnitude(Wide value) {
    if (value.hi >> 63) Negate(value);
    if (value.hi == 0) return static_cast<double>(value.lo);
    int bits = 0; // length of the high word
    for (uint64_t h = value.hi; h != 0; h >>= 1)
        ++bits;
    // The top 64 bits, with every bit shifted out folded into the lowest one, round as the
    // whole value would: the lowest bit lies eleven places below the rounding position.
    const uint64_t top = bits == 64 ? value.hi | (value.lo != 0 ? 1 : 0)
                                    : (value.hi << (64 - bits)) | (value.lo >> bits) |
                                          ((value.lo & ((uint64_t{1} << bits) - 1)) != 0 ? 1 : 0);
    return std::ldexp(static_cast<double>(top), bits);
}

// Twice the area covered by the outline under the even-odd rule, in grid units. The only call
// into the polygon clipping library: its union resolves the outline into simple outer
// outlines (positive shoelace sum) and holes (negative).
Wide ClippedTwiceArea(const Outline& outline) {
    ClipperLib::Path path;
    path.reserve(outline.size());
    for (const GridPoint& point : outline)
        path.emplace_back(point.x, point.y);
    ClipperLib::Clipper clipper;
    clipper.AddPath(path, ClipperLib::ptSubject, true);
    ClipperLib::Paths covered;
    clipper.Execute(ClipperLib::ctUnion, covered, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    Wide sum;
    for (const ClipperLib::Path& part : covered) {
        if (part.empty()) continue;
        const ClipperLib::IntPoint* previous = &part.back();
        for (const ClipperLib::IntPoint& point : part) {
            Add(sum, Multiply(previous->X, point.Y));
            Wide back = Multiply(point.X, previous->Y);
            Negate(back);
            Add(sum, back);
            previous = &point;
        }
    }
    return sum;
}

struct Measure {
    int64_t minX, maxX, minY, maxY;
    double crossings; // mean number of edges crossing a scan line
    double cost;      // vertices times crossings
};

Measure MeasureOutline(const Outline& outline) {
    Measure m{outline[0].x, outline[0].x, outline[0].y, outline[0].y, 0, 0};
    double rise = 0; // summed height of the edges
    const GridPoint* previous = &outline.back();
    for (const GridPoint& point : outline) {
        m.minX = std::min(m.minX, point.x);
        m.maxX = std::max(m.maxX, point.x);
        m.minY = std::min(m.minY, point.y);
        m.maxY = std::max(m.maxY, point.y);
        rise += std::fabs(static_cast<double>(point.y - previous->y));
        previous = &point;
    }
    if (m.maxY > m.minY) m.crossings = rise / static_cast<double>(m.maxY - m.minY);
    m.cost = static_cast<double>(outline.size()) * m.crossings;
    return m;
}

// The point where the edge between a and b crosses the vertical line x = c, the two ends lying
// strictly on either side. Computed from the left end, so that both slabs get the same point.
GridPoint Crossing(GridPoint a, GridPoint b, int64_t c) {
    if (a.x > b.x) std::swap(a, b);
    const double t = static_cast<double>(c - a.x) / static_cast<double>(b.x - a.x);
    return GridPoint{c, a.y + std::llround(t * static_cast<double>(b.y - a.y))};
}

// Sutherland-Hodgman clipping of the outline to x <= c (left) and x >= c (right).
void Cut(const Outline& outline, int64_t c, Outline& left, Outline& right) {
    const GridPoint* previous = &outline.back();
    for (const GridPoint& point : outline) {
        if ((previous->x < c && point.x > c) || (previous->x > c && point.x < c)) {
            const GridPoint crossing = Crossing(*previous, point, c);
            left.push_back(crossing);
            right.push_back(crossing);
        }
        if (point.x <= c) left.push_back(point);
        if (point.x >= c) right.push_back(point);
        previous = &point;
    }
}

// The x at which to cut: the median vertex, or the middle of the extent when the median lies
// on its border.
int64_t CutPosition(const Outline& outline, const Measure& m) {
    std::vector<int64_t> xs;
    xs.reserve(outline.size());
    for (const GridPoint& point : outline)
        xs.push_back(point.x);
    std::nth_element(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(xs.size() / 2), xs.end());
    const int64_t median = xs[xs.size() / 2];
    if (median > m.minX && median < m.maxX) return median;
    return m.minX + (m.maxX - m.minX) / 2;
}

// Twice the even-odd area of the outline in grid units, cutting it into slabs while the
// estimated clipping cost is high and cutting lowers it markedly.
Wide CoveredTwiceArea(Outline outline, const Measure& m, double budget, int depth) {
    if (m.maxX == m.minX || m.maxY == m.minY) return Wide{}; // no width or no height
    if (m.cost <= budget || m.crossings < kMinCutCrossings || outline.size() < kMinCutSize ||
        depth >= kMaxCutDepth)
        return ClippedTwiceArea(outline);
    Outline left, right;
    Cut(outline, CutPosition(outline, m), left, right);
    const Measure leftMeasure = left.size() < 3 ? Measure{0, 0, 0, 0, 0, 0} : MeasureOutline(left);
    const Measure rightMeasure =
        right.size() < 3 ? Measure{0, 0, 0, 0, 0, 0} : MeasureOutline(right);
    // Long edges spanning the cut (a star of chords) are not thinned by cutting: clip whole.
    if (leftMeasure.cost + rightMeasure.cost > 0.75 * m.cost) return ClippedTwiceArea(outline);
    Outline().swap(outline); // the slabs replace the outline in memory
    Wide sum = CoveredTwiceArea(std::move(left), leftMeasure, budget, depth + 1);
    Add(sum, CoveredTwiceArea(std::move(right), rightMeasure, budget, depth + 1));
    return sum;
}

// One axis of the grid: coordinates relative to the axis minimum, scaled by 2^shift so that
// the extent reaches 2^kGridBits. Only an extent beyond the largest double needs the
// coordinates halved first, which is exact at such sizes.
struct GridAxis {
    double minimum;
    double half;
    int shift;
    bool flat; // no extent

    int64_t ToGrid(double v) const {
        return std::llround(std::ldexp(half * v - half * minimum, shift));
    }
};

GridAxis MakeGridAxis(double minimum, double maximum) {
    GridAxis axis{minimum, std::isfinite(maximum - minimum) ? 1.0 : 0.5, 0, false};
    const double extent = axis.half * maximum - axis.half * minimum;
    axis.flat = extent == 0;
    int exponent = 0;
    std::frexp(extent, &exponent); // extent < 2^exponent
    axis.shift = kGridBits - exponent;
    return axis;
}

} // namespace

namespace gx {

double EvenOddArea(const double* xy, int n) noexcept {
    return EvenOddArea(xy, n, kClipBudget);
}

double EvenOddArea(const double* xy, int n, double dCutCost) noexcept {
    if (xy == nullptr || n < 3) return 0;
    double minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
    for (int i = 0; i < n; ++i) {
        const double x = xy[2 * i], y = xy[2 * i + 1];
        // A vertex that is not a finite number leaves the covered region undefined.
        if (!std::isfinite(x) || !std::isfinite(y)) return std::numeric_limits<double>::quiet_NaN();
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const GridAxis gridX = MakeGridAxis(minX, maxX), gridY = MakeGridAxis(minY, maxY);
    if (gridX.flat || gridY.flat) return 0; // all points on one line parallel to an axis
    try {
        Outline outline;
        outline.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            outline.push_back(GridPoint{gridX.ToGrid(xy[2 * i]), gridY.ToGrid(xy[2 * i + 1])});
        const Measure m = MeasureOutline(outline);
        const double twiceArea = Magnitude(CoveredTwiceArea(std::move(outline), m, dCutCost, 0));
        return std::ldexp(twiceArea, -gridX.shift - gridY.shift - 1) / (gridX.half * gridY.half);
    } catch (...) { // memory exhausted (or any other failure) while clipping: no area
        return 0;
    }
}

} // namespace gx
