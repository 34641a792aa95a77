// Functions of the latitude that several projection families share (EPSG guidance note 7-2;
// Snyder, Map Projections: A Working Manual, eqs. 14-15, 15-9 and 3-12).
#ifndef GEOXFORM_LATITUDE_FUNCTIONS_H
#define GEOXFORM_LATITUDE_FUNCTIONS_H

#include <cmath>

namespace gx {

// m(phi) = cos phi / sqrt(1 - e^2 sin^2 phi): radius of the parallel over a.
inline double ParallelRadius(double phi, double e2) {
    const double s = std::sin(phi);
    return std::cos(phi) / std::sqrt(1 - e2 * s * s);
}

// t(phi) = tan(pi/4 - phi/2) / ((1 - e sin phi) / (1 + e sin phi))^(e/2): the conformal
// latitude's co-tangent function of the Lambert conformal conic and the north polar
// stereographic projections.
inline double ConformalT(double phi, double e) {
    const double es = e * std::sin(phi);
    return std::tan((1.5707963267948966 - phi) * 0.5) / std::pow((1 - es) / (1 + es), e * 0.5);
}

// q(phi) = (1 - e^2) (sin phi / (1 - e^2 sin^2 phi) - ln((1 - e sin phi) / (1 + e sin phi))
// / (2e)): the authalic function of the equal-area projections. Not finite on a sphere.
inline double AuthalicQ(double phi, double e, double e2) {
    const double s = std::sin(phi);
    const double es = e * s;
    return (1 - e2) * (s / (1 - e2 * s * s) - std::log((1 - es) / (1 + es)) / (2 * e));
}

// Geodetic latitude of an authalic latitude beta by the series to e^6, its coefficients
// evaluated as (e^2 31/180 + 1/3 + e^4 517/5040) e^2, (e^2 251/3780 + 23/360) e^4 and
// e^2 e^4 761/45360.
inline double AuthalicToGeodetic(double beta, double e2, double e4) {
    const double c2 = (e2 * 31 / 180 + 1.0 / 3 + e4 * 517 / 5040) * e2;
    const double c4 = (e2 * 251 / 3780 + 0.06388888888888888) * e4;
    const double c6 = e2 * e4 * 761 / 45360;
    return beta + c2 * std::sin(2 * beta) + c4 * std::sin(4 * beta) + c6 * std::sin(6 * beta);
}

} // namespace gx

#endif
