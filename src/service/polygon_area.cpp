// Even-odd area of one outline. The outline is moved onto an integer grid fine enough to keep
// every coordinate's precision relative to the polygon's size. Under the even-odd rule an edge
// traced twice covers nothing, so collinear edges are cancelled in pairs over the stretches
// they share and what is left is re-linked into closed paths; the polygon clipping library
// resolves their crossings into simple outer outlines and holes; an exact shoelace sum over
// them, holes negative, is rounded once.
//
// The clipper sweeps a horizontal line over the outline and keeps the edges that the line
// crosses in a list that it walks for every edge it inserts, so an outline whose scan lines
// all cross many edges (a saw-tooth or a comb) costs time quadratic in its size. Such outlines
// are cut into vertical slabs first: the even-odd region of an outline clipped to a slab
// (Sutherland-Hodgman, the clipped-off parts replaced by runs along the slab's side) is the
// region of the whole outline inside the slab, because each clipped-off loop closed by its
// run crosses a horizontal ray from inside the slab an even number of times. The same holds
// path by path for several closed paths, whose even-odd region is the symmetric difference of
// theirs.
#include "service/polygon_area.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <tuple>
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
bool operator==(const GridPoint& a, const GridPoint& b) {
    return a.x == b.x && a.y == b.y;
}
bool operator<(const GridPoint& a, const GridPoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}
using Outline = std::vector<GridPoint>; // one closed path
using Outlines = std::vector<Outline>;  // closed paths filled together under the even-odd rule

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

// a b - c d, exactly.
Wide Cross(int64_t a, int64_t b, int64_t c, int64_t d) {
    Wide sum = Multiply(a, b), back = Multiply(c, d);
    Negate(back);
    Add(sum, back);
    return sum;
}

// A two's complement 128-bit value that is not negative, rounded once to the nearest double.
// A negative sum would mean holes without their outer outlines: no area.
double Rounded(const Wide& value) {
    if (value.hi >> 63) return 0;
    if (value.hi == 0) return static_cast<double>(value.lo);
    int bits = 0; // length of the high word
    for (uint64_t h = value.hi; h != 0; h >>= 1)
        ++bits;
    // The top 64 bits, with every bit shifted out folded into the lowest one, round as the
    // whole value would: the lowest bit lies eleven places below the rounding position.
    const uint64_t top = (value.hi << (64 - bits)) | (value.lo >> bits) |
                         ((value.lo & ((uint64_t{1} << bits) - 1)) != 0 ? 1 : 0);
    return std::ldexp(static_cast<double>(top), bits);
}

// An edge filed under its line: a direction of the line, the same for all its edges, and the
// line's offset from the origin along that direction's normal.
struct LineEdge {
    int64_t dx, dy;
    uint64_t offsetHi, offsetLo;
    size_t edge;

    auto Line() const { return std::tie(dx, dy, offsetHi, offsetLo); }
};

// The closed paths that cover what the outlines cover under the even-odd rule, without two
// edges sharing a stretch: a point of a line is covered by the edges on it an odd number of
// times exactly between the first and second, third and fourth... of the edge ends on the line
// that occur there an odd number of times. The edges left meet an even number of times at
// every vertex, as those of closed paths do, so a walk along unused edges can only get stuck
// where it began. Time O(n log n) for n edges.
Outlines CancelCoincidentEdges(Outlines outlines) {
    std::vector<GridPoint> ends; // edge e runs from ends[2e] to ends[2e + 1], the lower end first
    // The slopes, as doubles: the same for all edges of one direction, since the coordinate
    // differences are exact doubles and their quotient is rounded once.
    std::vector<std::pair<double, size_t>> slopes;
    size_t size = 0;
    for (const Outline& outline : outlines)
        size += outline.size();
    ends.reserve(2 * size);
    slopes.reserve(size);
    for (const Outline& outline : outlines)
        for (size_t i = 0; i < outline.size(); ++i) {
            GridPoint a = outline[i], b = outline[(i + 1) % outline.size()];
            if (a == b) continue;
            if (b < a) std::swap(a, b);
            slopes.emplace_back(a.x == b.x ? std::numeric_limits<double>::infinity()
                                           : static_cast<double>(b.y - a.y) /
                                                 static_cast<double>(b.x - a.x),
                                slopes.size());
            ends.insert(ends.end(), {a, b});
        }
    std::stable_sort(slopes.begin(), slopes.end()); // runs of rising slopes merge quickly
    std::vector<LineEdge> lines; // of the edges that share their slope with others
    for (size_t i = 0, j = 0; i < slopes.size(); i = j) {
        while (j < slopes.size() && slopes[j].first == slopes[i].first)
            ++j;
        // The edges of one slope are nearly always parallel to its first, whose direction
        // then serves them all; the others (directions a double does not tell apart) take
        // theirs reduced by the greatest common divisor.
        const GridPoint a0 = ends[2 * slopes[i].second], b0 = ends[2 * slopes[i].second + 1];
        for (size_t k = i; j > i + 1 && k < j; ++k) {
            const size_t e = slopes[k].second;
            const GridPoint a = ends[2 * e], b = ends[2 * e + 1];
            int64_t dx = b0.x - a0.x, dy = b0.y - a0.y;
            const Wide cross = Cross(dx, b.y - a.y, dy, b.x - a.x);
            if (cross.hi != 0 || cross.lo != 0) { // not parallel to the first
                const int64_t divisor = std::gcd(b.x - a.x, b.y - a.y);
                dx = (b.x - a.x) / divisor;
                dy = (b.y - a.y) / divisor;
            }
            const Wide offset = Cross(dx, a.y, dy, a.x);
            lines.push_back(LineEdge{dx, dy, offset.hi, offset.lo, e});
        }
    }
    std::vector<std::pair<double, size_t>>().swap(slopes);
    std::stable_sort(lines.begin(), lines.end(),
                     [](const LineEdge& e, const LineEdge& f) { return e.Line() < f.Line(); });
    std::vector<bool> onShared(ends.size() / 2); // edges on a line with others
    for (size_t k = 1; k < lines.size(); ++k)
        if (lines[k].Line() == lines[k - 1].Line())
            onShared[lines[k].edge] = onShared[lines[k - 1].edge] = true;
    if (std::find(onShared.begin(), onShared.end(), true) == onShared.end()) return outlines;
    std::vector<GridPoint> kept; // edge e runs from kept[2e] to kept[2e + 1]
    for (size_t e = 0; e < onShared.size(); ++e)
        if (!onShared[e]) kept.insert(kept.end(), {ends[2 * e], ends[2 * e + 1]});
    std::vector<GridPoint> line; // the ends of the edges on one line
    for (size_t i = 0, j = 0; i < lines.size(); i = j) {
        line.clear();
        for (; j < lines.size() && lines[j].Line() == lines[i].Line(); ++j)
            line.insert(line.end(), {ends[2 * lines[j].edge], ends[2 * lines[j].edge + 1]});
        if (j == i + 1) continue;
        std::sort(line.begin(), line.end());
        for (size_t k = 0, l = 0; k < line.size(); k = l) {
            while (l < line.size() && line[l] == line[k])
                ++l;
            if ((l - k) % 2) kept.push_back(line[k]);
        }
    }
    std::vector<LineEdge>().swap(lines);
    std::vector<GridPoint>().swap(ends);
    // The edge ends grouped by vertex: those of vertex v are order[first[v]] to
    // order[first[v + 1] - 1].
    std::vector<size_t> order(kept.size()), vertex(kept.size()), first;
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return kept[a] < kept[b]; });
    for (size_t r = 0; r < order.size(); ++r) {
        if (r == 0 || !(kept[order[r]] == kept[order[r - 1]])) first.push_back(r);
        vertex[order[r]] = first.size() - 1;
    }
    first.push_back(order.size());
    std::vector<size_t> next(first.begin(), first.end() - 1); // first end not yet walked
    std::vector<bool> used(kept.size() / 2);
    Outlines linked;
    for (size_t e = 0; e < used.size(); ++e) {
        if (used[e]) continue;
        Outline path;
        for (size_t end = 2 * e;;) { // leave kept[end] along edge end / 2
            used[end / 2] = true;
            path.push_back(kept[end]);
            const size_t v = vertex[end ^ 1];
            while (next[v] < first[v + 1] && used[order[next[v]] / 2])
                ++next[v];
            if (next[v] == first[v + 1]) break; // back where the walk began
            end = order[next[v]];
        }
        linked.push_back(std::move(path));
    }
    return linked;
}

// Twice the area covered by the outlines under the even-odd rule, in grid units. The only call
// into the polygon clipping library: its union resolves the outlines into simple outer
// outlines (positive shoelace sum) and holes (negative). Edges sharing a stretch can make it
// return holes without their outer outline; the outlines given to it share none.
Wide ClippedTwiceArea(const Outlines& outlines) {
    ClipperLib::Paths paths(outlines.size());
    for (size_t i = 0; i < outlines.size(); ++i) {
        paths[i].reserve(outlines[i].size());
        for (const GridPoint& point : outlines[i])
            paths[i].emplace_back(point.x, point.y);
    }
    ClipperLib::Clipper clipper;
    clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    ClipperLib::Paths covered;
    clipper.Execute(ClipperLib::ctUnion, covered, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    Wide sum;
    for (const ClipperLib::Path& part : covered) {
        if (part.empty()) continue;
        const ClipperLib::IntPoint* previous = &part.back();
        for (const ClipperLib::IntPoint& point : part) {
            Add(sum, Cross(previous->X, point.Y, point.X, previous->Y));
            previous = &point;
        }
    }
    return sum;
}

struct Measure {
    int64_t minX, maxX, minY, maxY;
    double crossings; // mean number of edges crossing a scan line
    double cost;      // vertices times crossings
    size_t vertices;
};

Measure MeasureOutlines(const Outlines& outlines) {
    Measure m{0, 0, 0, 0, 0, 0, 0};
    if (outlines.empty()) return m;
    m.minX = m.maxX = outlines[0][0].x;
    m.minY = m.maxY = outlines[0][0].y;
    double rise = 0; // summed height of the edges
    for (const Outline& outline : outlines) {
        const GridPoint* previous = &outline.back();
        for (const GridPoint& point : outline) {
            m.minX = std::min(m.minX, point.x);
            m.maxX = std::max(m.maxX, point.x);
            m.minY = std::min(m.minY, point.y);
            m.maxY = std::max(m.maxY, point.y);
            rise += std::fabs(static_cast<double>(point.y - previous->y));
            previous = &point;
        }
        m.vertices += outline.size();
    }
    if (m.maxY > m.minY) m.crossings = rise / static_cast<double>(m.maxY - m.minY);
    m.cost = static_cast<double>(m.vertices) * m.crossings;
    return m;
}

// The point where the edge between a and b crosses the vertical line x = c, the two ends lying
// strictly on either side. Computed from the left end, so that both slabs get the same point.
GridPoint Crossing(GridPoint a, GridPoint b, int64_t c) {
    if (a.x > b.x) std::swap(a, b);
    const double t = static_cast<double>(c - a.x) / static_cast<double>(b.x - a.x);
    return GridPoint{c, a.y + std::llround(t * static_cast<double>(b.y - a.y))};
}

// Sutherland-Hodgman clipping of each outline to x <= c (left) and x >= c (right).
void Cut(const Outlines& outlines, int64_t c, Outlines& left, Outlines& right) {
    for (const Outline& outline : outlines) {
        left.emplace_back();
        right.emplace_back();
        const GridPoint* previous = &outline.back();
        for (const GridPoint& point : outline) {
            if ((previous->x < c && point.x > c) || (previous->x > c && point.x < c)) {
                const GridPoint crossing = Crossing(*previous, point, c);
                left.back().push_back(crossing);
                right.back().push_back(crossing);
            }
            if (point.x <= c) left.back().push_back(point);
            if (point.x >= c) right.back().push_back(point);
            previous = &point;
        }
        // Fewer than three points enclose nothing.
        if (left.back().size() < 3) left.pop_back();
        if (right.back().size() < 3) right.pop_back();
    }
}

// The x at which to cut: the median vertex, or the middle of the extent when the median lies
// on its border.
int64_t CutPosition(const Outlines& outlines, const Measure& m) {
    std::vector<int64_t> xs;
    for (const Outline& outline : outlines)
        for (const GridPoint& point : outline)
            xs.push_back(point.x);
    std::nth_element(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(xs.size() / 2), xs.end());
    const int64_t median = xs[xs.size() / 2];
    if (median > m.minX && median < m.maxX) return median;
    return m.minX + (m.maxX - m.minX) / 2;
}

// Twice the even-odd area of outlines without shared stretches in grid units, cutting them
// into slabs while the estimated clipping cost is high and cutting lowers it markedly.
Wide CoveredTwiceArea(Outlines outlines, const Measure& m, double budget, int depth) {
    if (m.maxX == m.minX || m.maxY == m.minY) return Wide{}; // no width or no height
    // The outline came without shared stretches; the runs along the cuts may share some.
    auto clip = [&]() {
        if (depth > 0) outlines = CancelCoincidentEdges(std::move(outlines));
        return ClippedTwiceArea(outlines);
    };
    if (m.cost <= budget || m.crossings < kMinCutCrossings || m.vertices < kMinCutSize ||
        depth >= kMaxCutDepth)
        return clip();
    Outlines left, right;
    Cut(outlines, CutPosition(outlines, m), left, right);
    const Measure leftMeasure = MeasureOutlines(left), rightMeasure = MeasureOutlines(right);
    // Long edges spanning the cut (a star of chords) are not thinned by cutting: clip whole.
    if (leftMeasure.cost + rightMeasure.cost > 0.75 * m.cost) return clip();
    Outlines().swap(outlines); // the slabs replace the outlines in memory
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
        Outlines outlines(1);
        outlines[0].swap(outline);
        outlines = CancelCoincidentEdges(std::move(outlines));
        const Measure m = MeasureOutlines(outlines);
        const double twiceArea = Rounded(CoveredTwiceArea(std::move(outlines), m, dCutCost, 0));
        return std::ldexp(twiceArea, -gridX.shift - gridY.shift - 1) / (gridX.half * gridY.half);
    } catch (...) { // memory exhausted (or any other failure) while clipping: no area
        return 0;
    }
}

} // namespace gx
