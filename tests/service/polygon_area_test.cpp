#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "service/polygon_area.h"

namespace {

using Points = std::vector<double>; // x0, y0, x1, y1, ...

const double kNever = std::numeric_limits<double>::infinity();

double Area(const Points& p, double cutCost) {
    return gx::EvenOddArea(p.data(), static_cast<int>(p.size() / 2), cutCost);
}
double Area(const Points& p) {
    return gx::EvenOddArea(p.data(), static_cast<int>(p.size() / 2));
}

// Independent even-odd area. Between two consecutive heights at which a vertex or a crossing
// of two edges lies, the covered length of a horizontal line is linear in the height, so the
// strip's area is its height times the covered length at its middle.
double ScanLineArea(const Points& p) {
    const size_t n = p.size() / 2;
    auto x = [&](size_t i) { return p[2 * (i % n)]; };
    auto y = [&](size_t i) { return p[2 * (i % n) + 1]; };
    std::vector<double> heights;
    for (size_t i = 0; i < n; ++i) {
        heights.push_back(y(i));
        for (size_t j = i + 1; j < n; ++j) {
            const double dx1 = x(i + 1) - x(i), dy1 = y(i + 1) - y(i);
            const double dx2 = x(j + 1) - x(j), dy2 = y(j + 1) - y(j);
            const double d = dx1 * dy2 - dy1 * dx2;
            if (d == 0) continue;
            const double t = ((x(j) - x(i)) * dy2 - (y(j) - y(i)) * dx2) / d;
            const double u = ((x(j) - x(i)) * dy1 - (y(j) - y(i)) * dx1) / d;
            if (t > 0 && t < 1 && u > 0 && u < 1) heights.push_back(y(i) + t * dy1);
        }
    }
    std::sort(heights.begin(), heights.end());
    double area = 0;
    for (size_t k = 0; k + 1 < heights.size(); ++k) {
        const double h = heights[k + 1] - heights[k];
        if (h == 0) continue;
        const double mid = heights[k] + h / 2;
        std::vector<double> crossings;
        for (size_t i = 0; i < n; ++i)
            if ((y(i) < mid) != (y(i + 1) < mid))
                crossings.push_back(x(i) + (mid - y(i)) * (x(i + 1) - x(i)) / (y(i + 1) - y(i)));
        std::sort(crossings.begin(), crossings.end());
        for (size_t c = 0; c + 1 < crossings.size(); c += 2)
            area += h * (crossings[c + 1] - crossings[c]);
    }
    return area;
}

Points Reversed(const Points& p) {
    Points r;
    for (size_t i = p.size(); i >= 2; i -= 2) {
        r.push_back(p[i - 2]);
        r.push_back(p[i - 1]);
    }
    return r;
}

// Pentagram through the vertices of a regular pentagon of circumradius r, every second one.
Points Pentagram(double r) {
    Points p;
    for (int k = 0; k < 5; ++k) {
        const double a = 3.141592653589793 / 2 + (2 * k % 5) * 2 * 3.141592653589793 / 5;
        p.push_back(r * std::cos(a));
        p.push_back(r * std::sin(a));
    }
    return p;
}

struct Case {
    const char* name;
    Points points;
    double area;
};

TEST(EvenOddArea, Outlines) {
    const Case cases[] = {
        {"square", {0, 0, 10, 0, 10, 10, 0, 10}, 100},
        {"L shape", {0, 0, 20, 0, 20, 10, 10, 10, 10, 30, 0, 30}, 400},
        // Two loops crossing at (1.2, 1.2): triangles of 1.2 and 2.7.
        {"figure eight", {0, 0, 3, 3, 3, 0, 0, 2}, 3.9},
        {"square traced twice", {0, 0, 1, 0, 1, 1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1}, 0},
        // Outer and inner square joined by a bridge traced both ways: a ring.
        {"ring", {0, 0, 4, 0, 4, 4, 0, 4, 0, 0, 1, 1, 1, 3, 3, 3, 3, 1, 1, 1}, 12},
        {"island in a hole",
         {0, 0, 8, 0, 8, 8, 0, 8, 0, 0, 2, 2, 6, 2, 6, 6,
          2, 6, 2, 2, 3, 3, 5, 3, 5, 5, 3, 5, 3, 3, 2, 2},
         52},
        {"pentagram", Pentagram(10), 77.5676752166744},
        {"collinear points", {0, 0, 1, 1, 2, 2, 3, 3, 1.5, 1.5}, 0},
        {"all points equal", {5, 5, 5, 5, 5, 5, 5, 5}, 0},
        {"points on a vertical line", {2, 0, 2, 5, 2, 1}, 0},
        {"zero-width spike on a square", {0, 0, 10, 0, 10, 5, 20, 5, 10, 5, 10, 10, 0, 10}, 100},
    };
    for (const Case& c : cases) {
        const double tolerance = 1e-13 * std::max(1.0, c.area);
        EXPECT_NEAR(Area(c.points), c.area, tolerance) << c.name;
        EXPECT_NEAR(Area(Reversed(c.points)), c.area, tolerance) << c.name << " reversed";
        EXPECT_NEAR(ScanLineArea(c.points), c.area, 1e-9 * std::max(1.0, c.area)) << c.name;
    }
}

TEST(EvenOddArea, FewerThanThreePointsOrNoneCoverNothing) {
    const double xy[] = {0, 0, 1, 0, 1, 1};
    EXPECT_EQ(gx::EvenOddArea(xy, 2), 0);
    EXPECT_EQ(gx::EvenOddArea(xy, 0), 0);
    EXPECT_EQ(gx::EvenOddArea(xy, -5), 0);
    EXPECT_EQ(gx::EvenOddArea(nullptr, 3), 0);
    EXPECT_EQ(gx::EvenOddArea(xy, 3), 0.5);
}

TEST(EvenOddArea, CoordinatesThatAreNotFiniteGiveNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf}) {
        for (int slot = 0; slot < 6; ++slot) {
            double xy[] = {0, 0, 1, 0, 1, 1};
            xy[slot] = bad;
            EXPECT_TRUE(std::isnan(gx::EvenOddArea(xy, 3))) << bad << " at " << slot;
        }
    }
}

// Far from the origin the grid keeps every bit of the coordinates relative to the polygon's
// size: the result is the exact area rounded once, where a shoelace sum of the raw
// coordinates (products near 2.5e13) would keep only a few decimals.
TEST(EvenOddArea, SmallPolygonFarFromTheOriginIsExact) {
    const double x1 = 5000000.1, x2 = 5000000.4, y1 = 5000000.2, y2 = 5000000.9;
    EXPECT_EQ(Area({x1, y1, x2, y1, x2, y2, x1, y2}), (x2 - x1) * (y2 - y1));
    // Dyadic offsets: the exact area is a double itself.
    const double o = 5e6;
    const Points triangle = {o + 0.125, o + 0.25, o + 7.5, o + 1.375, o + 2.0625, o + 9.5};
    const double det = (7.5 - 0.125) * (9.5 - 0.25) - (2.0625 - 0.125) * (1.375 - 0.25);
    EXPECT_EQ(Area(triangle), det / 2);
    EXPECT_EQ(Area(Reversed(triangle)), det / 2);
}

// Powers of two scale the grid and nothing else, over the whole range of doubles; each axis
// has its own grid, so a long thin strip keeps its width.
TEST(EvenOddArea, ScaleFreeOnEachAxis) {
    const Points shape = {0, 0, 3, 3, 3, 0, 0, 2, -1, 2.5};
    const double area = Area(shape);
    for (int kx : {-520, -60, 0, 60, 500})
        for (int ky : {-500, -1, 0, 7, 480}) {
            Points scaled = shape;
            for (size_t i = 0; i < scaled.size(); i += 2) {
                scaled[i] = std::ldexp(scaled[i], kx);
                scaled[i + 1] = std::ldexp(scaled[i + 1], ky);
            }
            EXPECT_EQ(Area(scaled), std::ldexp(area, kx + ky)) << kx << " " << ky;
        }
    EXPECT_EQ(Area({0, 0, 1e5, 0, 1e5, 1e-3, 0, 1e-3}), 100); // 100 km by 1 mm
    // Extents beyond the largest double: the halved coordinates still measure.
    EXPECT_DOUBLE_EQ(Area({-1e308, 0, 1e308, 0, 0, 1e-300}), 1e8);
    EXPECT_EQ(Area({-1e308, -1e308, 1e308, -1e308, 1e308, 1e308, -1e308, 1e308}), kNever);
}

// Random outlines, most of them crossing themselves, against the scan-line area.
TEST(EvenOddArea, RandomOutlinesAgreeWithScanLines) {
    std::mt19937 random(20240531);
    std::uniform_real_distribution<double> coordinate(-50, 50);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 3 + trial % 25;
        Points p;
        for (int i = 0; i < 2 * n; ++i)
            p.push_back(trial % 2 ? std::round(coordinate(random)) : coordinate(random));
        const double expected = ScanLineArea(p);
        EXPECT_NEAR(Area(p), expected, 1e-9 * std::max(1.0, expected)) << "trial " << trial;
        EXPECT_NEAR(Area(p, 0), expected, 1e-9 * std::max(1.0, expected)) << "trial " << trial;
    }
}

// Cutting into slabs (forced with a cost of 0) must not change the area: wiggly bands that
// cross themselves locally, and saw-tooths whose exact area is known.
TEST(EvenOddArea, CuttingIntoSlabsKeepsTheArea) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-3, 3);
    for (int n : {40, 300, 2000}) {
        Points band;
        for (int i = 0; i < n; ++i) {
            band.push_back(i + jitter(random));
            band.push_back(jitter(random));
        }
        for (int i = n - 1; i >= 0; --i) {
            band.push_back(i + jitter(random));
            band.push_back(5 + jitter(random));
        }
        const double whole = Area(band, kNever);
        EXPECT_GT(whole, 0);
        EXPECT_NEAR(Area(band, 0), whole, 1e-12 * whole) << n;
        EXPECT_NEAR(Area(band), whole, 1e-12 * whole) << n;
    }
    std::uniform_real_distribution<double> height(1, 2);
    for (int teeth : {50, 5000}) {
        Points saw;
        double exact = 0; // trapezoids under the top
        double previous = 0;
        for (int i = 0; i <= teeth; ++i) {
            const double h = height(random);
            if (i > 0) exact += (previous + h) / 2;
            previous = h;
            saw.push_back(i);
            saw.push_back(h);
        }
        saw.insert(saw.end(), {double(teeth), 0, 0, 0});
        EXPECT_NEAR(Area(saw, 0), exact, 1e-12 * exact) << teeth;
        EXPECT_NEAR(Area(saw), exact, 1e-12 * exact) << teeth;
    }
}

// Several hundred thousand points whose every scan line crosses all the teeth: exact, and
// (cut into slabs) in about a tenth of a second rather than minutes.
TEST(EvenOddArea, LargeSawTooth) {
    const int teeth = 300000;
    Points saw;
    for (int i = 0; i <= teeth; ++i) {
        saw.push_back(i);
        saw.push_back(i % 2 ? 2 : 1);
    }
    saw.insert(saw.end(), {double(teeth), 0, 0, 0});
    EXPECT_EQ(Area(saw), 1.5 * teeth);
}

} // namespace
