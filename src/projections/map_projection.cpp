// The ellipsoid base: constants, series coefficients and shared routines of all projections.
#include "geoxform/map_projection.h"

#include <cmath>

#include "geoxform/refdata.h"
#include "projections/geodesy.h"

namespace {

// Number of coefficients of each stored series.
const int kConfLatTerms = 4;   // c0..c3
const int kMDistSineTerms = 7; // d1..d7 (d0 is the factor of phi)
const int kMDistInvTerms = 7;  // g0..g6

// Conformal to geodetic latitude (Snyder, Map Projections: A Working Manual, eq. 3-5, carried
// to e^8): k_j = e^(2j) * polynomial in e^2.
const double kConfLatK1[] = {1.0 / 2, 5.0 / 24, 1.0 / 12, 13.0 / 360};
const double kConfLatK2[] = {7.0 / 48, 29.0 / 240, 811.0 / 11520};
const double kConfLatK3[] = {7.0 / 120, 81.0 / 1120};
const double kConfLatK4[] = {4279.0 / 161280};

// Meridian arc to e^14: d0 = 1 - e^2 * poly(e^2), and the sine coefficients
// t_j = sign_j * e^(2j) / q_j * poly(e^2) of sin 2j phi.
const double kMDistD0[] = {1.0 / 4,       3.0 / 64,         5.0 / 256,        175.0 / 16384,
                           441.0 / 65536, 4851.0 / 1048576, 14157.0 / 4194304};
const double kMDistT1[] = {3.0 / 4,        3.0 / 16,        45.0 / 512,         105.0 / 2048,
                           2205.0 / 65536, 6237.0 / 262144, 297297.0 / 16777216};
const double kMDistT2[] = {15.0 / 64,      45.0 / 256,         525.0 / 4096,
                           1575.0 / 16384, 155925.0 / 2097152, 495495.0 / 8388608};
const double kMDistT3[] = {35.0 / 512, 175.0 / 2048, 11025.0 / 131072, 40425.0 / 524288,
                           1156155.0 / 16777216};
const double kMDistT4[] = {315.0 / 16384, 2205.0 / 65536, 43659.0 / 1048576, 189189.0 / 4194304};
const double kMDistT5[] = {693.0 / 131072, 6237.0 / 524288, 297297.0 / 16777216};
const double kMDistT6[] = {1001.0 / 8388608, 11011.0 / 33554432};
const double kMDistT7 = 6435.0 / 234881024;

// Footpoint latitude from the rectifying latitude, in n = (a - b) / (a + b):
// s_j = n^j * polynomial in n^2 (the series of the third flattening, to n^7).
const double kFootS1[] = {3.0 / 2, -27.0 / 32, 269.0 / 512, -6607.0 / 24576};
const double kFootS2[] = {21.0 / 16, -55.0 / 32, 6759.0 / 4096};
const double kFootS3[] = {151.0 / 96, -417.0 / 128, 87963.0 / 20480};
const double kFootS4[] = {1097.0 / 512, -15543.0 / 2560};
const double kFootS5[] = {8011.0 / 2560, -69119.0 / 6144};
const double kFootS6 = 293393.0 / 61440;
const double kFootS7 = 6845701.0 / 860160;

template <int N>
double Poly(const double (&c)[N], double x) {
    return gx::Horner(c, N, x);
}

// Rewrites sum_{k=1..n} t[k-1] sin 2kx as sin 2x * sum_j p[j] cos^j 2x, using
// sin 2kx = sin 2x U_{k-1}(cos 2x) and U_{k+1}(c) = 2c U_k(c) - U_{k-1}(c).
void SineSeriesToCosinePolynomial(const double* t, int n, double* p) {
    double uPrev[10] = {0}; // U_{k-2}
    double u[10] = {1};     // U_{k-1}, starting with U_0 = 1
    for (int j = 0; j < n; ++j)
        p[j] = 0;
    for (int k = 0; k < n; ++k) {
        for (int j = 0; j <= k; ++j)
            p[j] += t[k] * u[j];
        double next[10] = {0};
        for (int j = 0; j <= k; ++j)
            next[j + 1] += 2 * u[j];
        for (int j = 0; j < 10; ++j)
            next[j] -= uPrev[j];
        for (int j = 0; j < 10; ++j) {
            uPrev[j] = u[j];
            u[j] = next[j];
        }
    }
}

// The ellipsoid row at an index, or null when the index is not a loaded row.
const EPSGEllipsoid* EllipsoidRow(int nIndex) {
    if (pdaEPSGEllipsoid == nullptr || nIndex < 0 || nIndex >= pdaEPSGEllipsoid->GetCount())
        return nullptr;
    return &(*pdaEPSGEllipsoid)[nIndex];
}

} // namespace

CMapProjection::CMapProjection(int nEllipsoid)
    : m_nEllipsoid(nEllipsoid), m_dA(0), m_dB(0), m_adConfLat{}, m_adMDist{}, m_adMDistInv{},
      m_bSphere(0) {
    ReadEPSGData(nullptr);
    // An index that is not a loaded row gives a sphere of radius 0: every projected value is
    // then non-finite, and nothing is read outside the array.
    const EPSGEllipsoid* pRow = EllipsoidRow(nEllipsoid);
    double inverseFlattening = 0;
    if (pRow != nullptr) {
        m_dA = pRow->dSemiMajorAxis;
        m_dB = pRow->dSemiMinorAxis;
        inverseFlattening = pRow->dInverseFlattening;
    }
    double f = 0;
    if (m_dB == m_dA) {
        m_bSphere = 1;
    } else if (inverseFlattening > 1.0) {
        f = 1 / inverseFlattening;
        if (m_dB < 1.0) m_dB = (1 - f) * m_dA;
    } else if (m_dB < 1.0) {
        // Neither a semi-minor axis nor a usable flattening: only a is known, so the
        // ellipsoid is taken as the sphere of radius a (instead of f = 1 and an infinite e'^2).
        m_dB = m_dA;
        m_bSphere = 1;
    } else {
        f = (m_dA - m_dB) / m_dA;
    }
    m_dF = f;
    const double e2 = f + f - f * f;
    m_dE2 = e2;
    m_dE4 = e2 * e2;
    m_dE = std::sqrt(e2);
    m_dEp2 = e2 / (1 - e2);
    m_dEp = std::sqrt(m_dEp2);

    const double conf[4] = {e2 * Poly(kConfLatK1, e2), m_dE4 * Poly(kConfLatK2, e2),
                            m_dE4 * e2 * Poly(kConfLatK3, e2), m_dE4 * m_dE4 * kConfLatK4[0]};
    SineSeriesToCosinePolynomial(conf, kConfLatTerms, m_adConfLat);

    double power[8] = {1};
    for (int j = 1; j < 8; ++j)
        power[j] = power[j - 1] * e2;
    const double t[7] = {-power[1] / 2 * Poly(kMDistT1, e2),
                         power[2] / 4 * Poly(kMDistT2, e2),
                         -power[3] / 6 * Poly(kMDistT3, e2),
                         power[4] / 8 * Poly(kMDistT4, e2),
                         -power[5] / 10 * Poly(kMDistT5, e2),
                         power[6] * Poly(kMDistT6, e2),
                         -power[7] * kMDistT7};
    m_adMDist[0] = 1 - e2 * Poly(kMDistD0, e2);
    SineSeriesToCosinePolynomial(t, kMDistSineTerms, m_adMDist + 1);

    const double root = std::sqrt(1 - e2);
    const double n = (1 - root) / (1 + root);
    const double n2 = n * n;
    double nPower[8] = {1};
    for (int j = 1; j < 8; ++j)
        nPower[j] = nPower[j - 1] * n;
    const double s[7] = {n * Poly(kFootS1, n2),
                         nPower[2] * Poly(kFootS2, n2),
                         nPower[3] * Poly(kFootS3, n2),
                         nPower[4] * Poly(kFootS4, n2),
                         nPower[5] * Poly(kFootS5, n2),
                         nPower[6] * kFootS6,
                         nPower[7] * kFootS7};
    SineSeriesToCosinePolynomial(s, kMDistInvTerms, m_adMDistInv);
}

double CMapProjection::SavePhi(double dPhi) const {
    return gx::FoldLatitude(dPhi);
}

double CMapProjection::SaveLambda(double dLambda) const {
    return gx::FoldLongitude(dLambda);
}

double CMapProjection::Rho(double dSinPhi) const {
    return gx::MeridianRadius(m_dA, m_dE2, dSinPhi);
}

double CMapProjection::Theta(double dSinPhi) const {
    return gx::PrimeVerticalRadius(m_dA, m_dE2, dSinPhi);
}

double CMapProjection::MeridianPhi(double dChi) const {
    return gx::GeodeticFromConformal(dChi, std::sin(2 * dChi), std::cos(2 * dChi), m_adConfLat);
}

double CMapProjection::MDist(double dPhi) const {
    return gx::MeridianArc(m_dA, m_adMDist, dPhi, std::sin(2 * dPhi), std::cos(2 * dPhi));
}

double CMapProjection::MDistInv(double dMu, double dArc) const {
    return gx::FootpointLatitude(m_dA, m_dE2, m_adMDist, m_adMDistInv, dMu, dArc).phi;
}

double CMapProjection::GeodesicDistance(double dLon1, double dLat1, double dLon2,
                                        double dLat2) const {
    // Vincenty (1975), "Direct and inverse solutions of geodesics on the ellipsoid with
    // application of nested equations", Survey Review 23(176), inverse formula.
    const double f = m_dF;
    const double L = dLon2 - dLon1;
    const double U1 = std::atan((1 - f) * std::tan(dLat1));
    const double U2 = std::atan((1 - f) * std::tan(dLat2));
    const double sinU1 = std::sin(U1), cosU1 = std::cos(U1);
    const double sinU2 = std::sin(U2), cosU2 = std::cos(U2);

    double lambda = L;
    double sinSigma = 0, cosSigma = 0, sigma = 0, cos2Alpha = 0, cos2SigmaM = 0;
    int budget = 20;
    bool bConverged = false;
    while (--budget > 0) {
        const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
        const double p = cosU2 * sinLambda;
        const double q = cosU1 * sinU2 - sinU1 * cosU2 * cosLambda;
        sinSigma = std::sqrt(p * p + q * q);
        if (sinSigma == 0) return 0; // coincident points
        cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
        sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
        cos2Alpha = 1 - sinAlpha * sinAlpha;
        // Both points on the equator: cos 2sigma_m is multiplied by C = 0 or B = 0 below.
        cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cos2Alpha : 0;
        const double C = f / 16 * cos2Alpha * (4 + f * (4 - 3 * cos2Alpha));
        const double lambdaNext =
            L + (1 - C) * f * sinAlpha *
                    (sigma + C * sinSigma *
                                 (cos2SigmaM + C * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        const bool bDone = std::fabs(lambdaNext - lambda) <= 1e-12;
        lambda = lambdaNext;
        if (bDone) {
            bConverged = true;
            break;
        }
    }
    if (!bConverged) return 0;

    const double b2 = m_dB * m_dB;
    const double u2 = cos2Alpha * (m_dA * m_dA - b2) / b2;
    const double A = 1 + u2 / 16384 * (4096 + u2 * (-768 + u2 * (320 - 175 * u2)));
    const double B = u2 / 1024 * (256 + u2 * (-128 + u2 * (74 - 47 * u2)));
    const double deltaSigma =
        B * sinSigma *
        (cos2SigmaM + B / 4 *
                          (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                           B / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                               (-3 + 4 * cos2SigmaM * cos2SigmaM)));
    return m_dB * A * (sigma - deltaSigma);
}
