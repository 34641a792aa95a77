#include "projections/geodesy.h"

namespace gx {

LatitudeSinCos FootpointLatitude(double a, double e2, const double* d, const double* g, double mu,
                                 double dArc) {
    // One sine and cosine, of mu: those of 2 mu by the double angle formulas, those of the
    // start value and of each Newton step follow the steps.
    const double sinMu = std::sin(mu), cosMu = std::cos(mu);
    const double sin2Mu = 2 * sinMu * cosMu, cos2Mu = (cosMu - sinMu) * (cosMu + sinMu);
    const double delta = sin2Mu * Poly7(g, cos2Mu);
    LatitudeSinCos start{mu + delta, sinMu, cosMu};
    StepSinCos(start.phi, -delta, start.s, start.c);

    LatitudeSinCos x = start;
    const double stepFactor = 1 / (a * (1 - e2)); // over the meridian radius of curvature
    for (int i = 0; i < 10; ++i) {
        const double w = 1 - e2 * x.s * x.s;
        const double arc = MeridianArcSinCos(a, d, x.phi, x.s, x.c);
        const double step = (arc - dArc) * w * std::sqrt(w) * stepFactor;
        x.phi -= step;
        StepSinCos(x.phi, step, x.s, x.c);
        // The relative step (the step itself next to the equator) below 1e-14.
        const double scale = std::fabs(x.phi) > 1e-30 ? std::fabs(x.phi) : 1.0;
        if (std::fabs(step) < 1e-14 * scale) return x;
    }
    return start; // no convergence: the series value, not the last iterate
}

} // namespace gx
