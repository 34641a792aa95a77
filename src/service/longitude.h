// Bringing longitudes into [-pi, pi].
#ifndef GEOXFORM_LONGITUDE_H
#define GEOXFORM_LONGITUDE_H

namespace gx {

const double kPi = 3.14159265358979323846;
const double kTwoPi = 2 * kPi;
const double kDegreesPerRadian = 57.29577951308232;
const double kRadiansPerDegree = 0.017453292519943295;

// An angle in radians brought into [-pi, pi]; pi and -pi come back unchanged.
double NormalizeLongitude(double dAngle);

} // namespace gx

#endif
