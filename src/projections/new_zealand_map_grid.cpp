// New Zealand map grid (EPSG method 9811): EPSG guidance note 7-2, "New Zealand Map Grid"
// (after Reilly, "A conformal mapping projection with minimum scale error", Survey Review
// 22(168), 1973, and the Department of Lands and Survey's definition of the grid).
#include "projections/new_zealand_map_grid.h"

#include <complex>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

typedef std::complex<double> Complex;

// Latitude difference (units of 1e5 seconds of arc) to isometric-latitude difference: A1..A10.
const double kNzmgA[10] = {0.6399175073, -0.1358797613, 0.063294409, -0.02526853, 0.0117879,
                           -0.0055161,   0.0026906,     -0.001333,   0.00067,     -0.00034};

// Forward complex coefficients B1..B6.
const Complex kNzmgB[6] = {{0.7557853228, 0.0},        {0.249204646, 0.003371507},
                           {-0.001541739, 0.04105856}, {-0.10162907, 0.01727609},
                           {-0.26623489, -0.36249218}, {-0.6870983, -1.1651967}};

// Inverse complex coefficients C1..C6.
const Complex kNzmgC[6] = {{1.3231270439, 0.0},         {-0.577245789, -0.007809598},
                           {0.508307513, -0.112208952}, {-0.15094762, 0.18200602},
                           {1.01418179, 1.64497696},    {1.9660549, 2.5127645}};

// Isometric-latitude difference to latitude difference (units of 1e5 seconds of arc): D1..D9.
const double kNzmgD[9] = {1.5627014243, 0.5185406398, -0.03333098, -0.1052906, -0.0368594,
                          0.007317,     0.0122,       0.00394,     -0.0013};

// Sums c_1 x + c_2 x^2 + ... + c_n x^n by Horner's scheme (the same sum as running powers, to
// rounding).
template <typename T, int N>
T PowerSeries(const T (&c)[N], T x) {
    T sum = c[N - 1];
    for (int k = N - 2; k >= 0; --k)
        sum = c[k] + x * sum;
    return x * sum;
}

// The product of two complex numbers written out (the operands here are finite, so the
// infinity handling of the library's operator is not needed).
inline Complex Mul(Complex p, Complex q) {
    return {p.real() * q.real() - p.imag() * q.imag(), p.real() * q.imag() + p.imag() * q.real()};
}

// The quotient of two complex numbers written out, for the finite, well-scaled operands of
// the Newton steps.
inline Complex Div(Complex p, Complex q) {
    const double r = 1 / (q.real() * q.real() + q.imag() * q.imag());
    return {(p.real() * q.real() + p.imag() * q.imag()) * r,
            (p.imag() * q.real() - p.real() * q.imag()) * r};
}

// z = B1 theta + ... + B6 theta^6.
Complex Forward(Complex theta) {
    Complex sum = kNzmgB[5];
    for (int k = 4; k >= 0; --k)
        sum = kNzmgB[k] + Mul(theta, sum);
    return Mul(theta, sum);
}

} // namespace

int CNewZealandMapGrid::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const double dPhi = (dLatitude - m_dLat0) * gx::kDegreesPerRadian * 0.036;
    const Complex theta(PowerSeries(kNzmgA, dPhi), dLongitude - m_dLon0); // not normalised
    const Complex z = Forward(theta);
    dX = m_dFalseEasting + m_dA * z.imag();
    dY = m_dFalseNorthing + m_dA * z.real();
    return 1;
}

int CNewZealandMapGrid::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    const Complex z((dY - m_dFalseNorthing) / m_dA, (dX - m_dFalseEasting) / m_dA);
    Complex theta = kNzmgC[5];
    for (int k = 4; k >= 0; --k)
        theta = kNzmgC[k] + Mul(z, theta);
    theta = Mul(z, theta);
    // Newton steps on z = f(theta): theta = (z + sum (k - 1) B_k theta^k) / sum k B_k
    // theta^(k - 1), at most four, until the step is below 1e-6.
    for (int step = 0; step < 4; ++step) {
        const Complex previous = theta;
        Complex num = 5.0 * kNzmgB[5], den = 6.0 * kNzmgB[5];
        for (int k = 4; k >= 1; --k) { // coefficients of theta^(k+1) and theta^k
            num = static_cast<double>(k) * kNzmgB[k] + Mul(theta, num);
            den = static_cast<double>(k + 1) * kNzmgB[k] + Mul(theta, den);
        }
        num = z + Mul(Mul(theta, theta), num);
        den = kNzmgB[0] + Mul(theta, den);
        theta = Div(num, den);
        const Complex d = previous - theta;
        if (std::sqrt(d.real() * d.real() + d.imag() * d.imag()) < 1e-6) break;
    }
    const double dPhi = PowerSeries(kNzmgD, theta.real());
    dLatitude = SavePhi(m_dLat0 + dPhi * 1000 / 36 * gx::kDegree);
    dLongitude = SaveLambda(m_dLon0 + theta.imag());
    return 1;
}

gx::ArrayKernels gx::NewZealandArrayKernels(const CProjection&) {
    return {};
}
