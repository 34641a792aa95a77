#include "projections/geodesy.h"

namespace gx {

template <class T>
LatitudeSinCos<T> FootpointLatitude(double a, double e2, const double* d, const double* g, T mu,
                                    T dArc) {
    // One sine and cosine, of mu: those of 2 mu by the double angle formulas, those of the
    // start value and of each Newton step follow the steps.
    T sinMu, cosMu;
    SinCos(mu, sinMu, cosMu);
    const T sin2Mu = 2 * sinMu * cosMu, cos2Mu = (cosMu - sinMu) * (cosMu + sinMu);
    const T delta = sin2Mu * Poly7(g, cos2Mu);
    LatitudeSinCos<T> start{mu + delta, sinMu, cosMu};
    StepSinCos(start.phi, -delta, start.s, start.c);

    // Each lane steps until its own relative step is below 1e-14; a lane that never gets there
    // keeps the series value, not the last iterate.
    LatitudeSinCos<T> x = start, done = start;
    MaskOf<T> active = Splat<T>(0) == 0;
    const double stepFactor = 1 / (a * (1 - e2)); // over the meridian radius of curvature
    for (int i = 0; i < 10 && Any(active); ++i) {
        const T w = 1 - e2 * x.s * x.s;
        const T arc = MeridianArcSinCos(a, d, x.phi, x.s, x.c);
        const T step = (arc - dArc) * w * Sqrt(w) * stepFactor;
        x.phi = x.phi - step;
        StepSinCos(x.phi, step, x.s, x.c);
        // The relative step (the step itself next to the equator) below 1e-14.
        const T scale = Select(Fabs(x.phi) > 1e-30, Fabs(x.phi), Splat<T>(1.0));
        const MaskOf<T> converged = And(active, Fabs(step) < 1e-14 * scale);
        done.phi = Select(converged, x.phi, done.phi);
        done.s = Select(converged, x.s, done.s);
        done.c = Select(converged, x.c, done.c);
        active = And(active, Not(converged));
    }
    return done;
}

template LatitudeSinCos<double> FootpointLatitude(double, double, const double*, const double*,
                                                  double, double);
template LatitudeSinCos<Lanes> FootpointLatitude(double, double, const double*, const double*,
                                                 Lanes, Lanes);

} // namespace gx
