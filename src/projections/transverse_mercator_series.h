// The ellipsoidal Transverse Mercator series shared by the plain, zoned and south-oriented
// classes: power series in the longitude difference to its eighth power, with the terms in
// eta^2 = e'^2 cos^2 phi carried to eta^8. Templates over the value type V: double for the
// per-point members, Lanes for the array kernels (instantiated for both).
#ifndef GEOXFORM_TRANSVERSE_MERCATOR_SERIES_H
#define GEOXFORM_TRANSVERSE_MERCATOR_SERIES_H

namespace gx {

struct TransverseMercatorSeries {
    double a;             // semi-major axis
    double e2;            // e^2
    double ep2;           // e'^2
    double k0;            // scale factor on the central meridian
    const double* pMDist; // meridian arc coefficients d0..d7 of the ellipsoid base

    // Easting and northing offsets of latitude phi at longitude difference dLambda from the
    // central meridian; the northing counts from the meridian arc dM0.
    template <class V>
    void Forward(V phi, V dLambda, double dM0, V& dE, V& dN) const;
    // Longitude difference and latitude (unfolded) of the easting offset xg at the meridian
    // arc dArc (g: the footpoint series coefficients of the ellipsoid base).
    template <class V>
    void Inverse(V xg, V dArc, const double* g, V& dLambda, V& dPhi) const;
};

} // namespace gx

#endif
