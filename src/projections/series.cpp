#include "projections/series.h"

#include <cmath>

namespace gx {

LatitudeSinCos FootpointLatitude(double a, double e2, const double* d, const double* g, double mu,
                                 double dArc) {
    // The whole computation runs on one sine and cosine, of mu: those of 2 mu by the double
    // angle formulas, those of the start value and of each Newton step by the addition
    // formulas. All are exact to rounding.
    const double sinMu = std::sin(mu), cosMu = std::cos(mu);
    const double sin2Mu = 2 * sinMu * cosMu, cos2Mu = (cosMu - sinMu) * (cosMu + sinMu);
    const double delta = sin2Mu * Poly7(g, cos2Mu);
    LatitudeSinCos start{mu + delta, sinMu, cosMu};
    if (std::fabs(delta) < 0.01) {
        AddSmallAngle(start.s, start.c, delta);
    } else { // far beyond the poles: no shortcut
        start.s = std::sin(start.phi);
        start.c = std::cos(start.phi);
    }

    LatitudeSinCos x = start;
    const double stepFactor = 1 / (a * (1 - e2)); // over the meridian radius of curvature
    for (int i = 0; i < 10; ++i) {
        const double w = 1 - e2 * x.s * x.s;
        const double arc = MeridianArc(a, d, x.phi, 2 * x.s * x.c, (x.c - x.s) * (x.c + x.s));
        const double step = (arc - dArc) * w * std::sqrt(w) * stepFactor;
        x.phi -= step;
        if (std::fabs(step) < 1e-9) { // cos step is 1 and sin step is step to double precision
            const double s = x.s;
            x.s -= x.c * step;
            x.c += s * step;
        } else if (std::fabs(step) < 0.01) {
            AddSmallAngle(x.s, x.c, -step);
        } else {
            x.s = std::sin(x.phi);
            x.c = std::cos(x.phi);
        }
        // The relative step (the step itself next to the equator) below 1e-14.
        const double scale = std::fabs(x.phi) > 1e-30 ? std::fabs(x.phi) : 1.0;
        if (std::fabs(step) < 1e-14 * scale) return x;
    }
    return start; // no convergence: the series value, not the last iterate
}

} // namespace gx
