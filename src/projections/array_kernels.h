// Array kernels: a projection's formulas run on n points at once, with no virtual call per
// point and two points side by side (lanes.h) through the same templated formulas that
// Project and UnProject run. The public classes cannot gain members, so each family file
// gives its kernels through a finder that recognises its own classes.
#ifndef GEOXFORM_ARRAY_KERNELS_H
#define GEOXFORM_ARRAY_KERNELS_H

#include <cstddef>
#include <typeinfo>

#include "geoxform/projection.h"
#include "projections/lanes.h"

namespace gx {

// n points of contiguous arrays: (u, v) in, (x, y) out, radians and metres as Project and
// UnProject take them; an output may be its input. bLanes: two points at a time through the
// vectorised functions; otherwise one at a time, bit for bit what Project/UnProject give.
using ArrayKernel = void (*)(const CProjection& projection, const double* u, const double* v,
                             double* x, double* y, std::size_t n, bool bLanes);

struct ArrayKernels {
    ArrayKernel forward = nullptr;
    ArrayKernel inverse = nullptr;
};

// The kernels of the projection's own class (its dynamic type exactly); both null for a class
// without them, whose points then go through the virtual Project and UnProject one by one.
ArrayKernels FindArrayKernels(const CProjection& projection);

// The finders of the family files; each returns null kernels for a class not its own.
ArrayKernels AlbersArrayKernels(const CProjection& p);
ArrayKernels PolyconicArrayKernels(const CProjection& p);
ArrayKernels BonneArrayKernels(const CProjection& p);
ArrayKernels CassiniArrayKernels(const CProjection& p);
ArrayKernels AzimuthalEqualAreaArrayKernels(const CProjection& p);
ArrayKernels LambertConicArrayKernels(const CProjection& p);
ArrayKernels NearConformalArrayKernels(const CProjection& p);
ArrayKernels MercatorArrayKernels(const CProjection& p);
ArrayKernels AzimuthalEquidistantArrayKernels(const CProjection& p);
ArrayKernels NewZealandArrayKernels(const CProjection& p);
ArrayKernels ObliqueMercatorArrayKernels(const CProjection& p);
ArrayKernels PolarStereographicArrayKernels(const CProjection& p);
ArrayKernels ObliqueStereographicArrayKernels(const CProjection& p);
ArrayKernels TransverseMercatorArrayKernels(const CProjection& p);

// Runs f(u, v, x, y), a per-point formula templated over its value type, on n points: pairs
// as Lanes when bLanes, the rest (and everything otherwise) as double.
template <class F>
void RunArray(const double* u, const double* v, double* x, double* y, std::size_t n, bool bLanes,
              const F& f) {
    std::size_t i = 0;
    if (bLanes) {
        for (; i + 2 <= n; i += 2) {
            Lanes px, py;
            f(Load(u + i), Load(v + i), px, py);
            Store(x + i, px);
            Store(y + i, py);
        }
    }
    for (; i < n; ++i) {
        double px, py;
        f(u[i], v[i], px, py);
        x[i] = px;
        y[i] = py;
    }
}

// The kernels of class P. View is a class derived from P, so that it reads P's protected
// members, constructed from a copy of the projection; its Kernel() returns the object whose
// member templates Project(u, v, x, y) and UnProject(u, v, x, y) are the formulas that
// P::Project and P::UnProject run (the members build the same object for each point).
template <class View, class P>
ArrayKernels KernelsOf() {
    ArrayKernels k;
    k.forward = [](const CProjection& p, const double* u, const double* v, double* x, double* y,
                   std::size_t n, bool bLanes) {
        const auto kernel = View(static_cast<const P&>(p)).Kernel();
        RunArray(u, v, x, y, n, bLanes,
                 [&kernel](auto a, auto b, auto& px, auto& py) { kernel.Project(a, b, px, py); });
    };
    k.inverse = [](const CProjection& p, const double* u, const double* v, double* x, double* y,
                   std::size_t n, bool bLanes) {
        const auto kernel = View(static_cast<const P&>(p)).Kernel();
        RunArray(u, v, x, y, n, bLanes,
                 [&kernel](auto a, auto b, auto& px, auto& py) { kernel.UnProject(a, b, px, py); });
    };
    return k;
}

} // namespace gx

#endif
