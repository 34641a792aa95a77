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

// A complex number of the value type T (double or Lanes), with the products and quotient
// written out (the operands here are finite and well scaled, so the infinity handling of
// std::complex is not needed).
template <class T>
struct Cx {
    T re, im;
};

template <class T>
inline Cx<T> Add(Complex p, Cx<T> q) {
    return {p.real() + q.re, p.imag() + q.im};
}

template <class T>
inline Cx<T> Mul(Cx<T> p, Cx<T> q) {
    return {p.re * q.re - p.im * q.im, p.re * q.im + p.im * q.re};
}

template <class T>
inline Cx<T> Div(Cx<T> p, Cx<T> q) {
    const T r = 1 / (q.re * q.re + q.im * q.im);
    return {(p.re * q.re + p.im * q.im) * r, (p.im * q.re - p.re * q.im) * r};
}

// Sums c_1 x + c_2 x^2 + ... + c_n x^n by Horner's scheme (the same sum as running powers, to
// rounding).
template <class T, int N>
T PowerSeries(const double (&c)[N], T x) {
    T sum = gx::Splat<T>(c[N - 1]);
    for (int k = N - 2; k >= 0; --k)
        sum = c[k] + x * sum;
    return x * sum;
}

// z = c_1 w + ... + c_6 w^6 of the complex coefficients c.
template <class T>
Cx<T> ComplexSeries(const Complex (&c)[6], Cx<T> w) {
    Cx<T> sum{gx::Splat<T>(c[5].real()), gx::Splat<T>(c[5].imag())};
    for (int k = 4; k >= 0; --k)
        sum = Add(c[k], Mul(w, sum));
    return Mul(w, sum);
}

// The grid of an origin, false origin and semi-major axis.
struct Grid {
    double lon0, lat0, fe, fn, a;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T dPhi = (lat - lat0) * gx::kDegreesPerRadian * 0.036;
        const Cx<T> theta{PowerSeries(kNzmgA, dPhi), lon - lon0}; // not normalised
        const Cx<T> z = ComplexSeries(kNzmgB, theta);
        x = fe + a * z.im;
        y = fn + a * z.re;
    }

    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const Cx<T> z{(y - fn) / a, (x - fe) / a};
        Cx<T> theta = ComplexSeries(kNzmgC, z);
        // Newton steps on z = f(theta): theta = (z + sum (k - 1) B_k theta^k) / sum k B_k
        // theta^(k - 1), at most four, until the step is below 1e-6; lanes step together, each
        // keeping its value once its step is below.
        gx::MaskOf<T> active = gx::Splat<T>(0) == 0;
        for (int step = 0; step < 4 && gx::Any(active); ++step) {
            const Cx<T> previous = theta;
            Cx<T> num{gx::Splat<T>(5.0 * kNzmgB[5].real()), gx::Splat<T>(5.0 * kNzmgB[5].imag())};
            Cx<T> den{gx::Splat<T>(6.0 * kNzmgB[5].real()), gx::Splat<T>(6.0 * kNzmgB[5].imag())};
            for (int k = 4; k >= 1; --k) { // coefficients of theta^(k+1) and theta^k
                num = Add(static_cast<double>(k) * kNzmgB[k], Mul(theta, num));
                den = Add(static_cast<double>(k + 1) * kNzmgB[k], Mul(theta, den));
            }
            const Cx<T> square = Mul(theta, theta), product = Mul(square, num);
            num = {z.re + product.re, z.im + product.im};
            den = Add(kNzmgB[0], Mul(theta, den));
            const Cx<T> next = Div(num, den);
            theta.re = gx::Select(active, next.re, theta.re);
            theta.im = gx::Select(active, next.im, theta.im);
            const T dRe = previous.re - theta.re, dIm = previous.im - theta.im;
            active = gx::And(active, gx::Not(gx::Sqrt(dRe * dRe + dIm * dIm) < 1e-6));
        }
        const T dPhi = PowerSeries(kNzmgD, theta.re);
        lat = gx::FoldLatitude(lat0 + dPhi * 1000 / 36 * gx::kDegree);
        lon = gx::FoldLongitude(lon0 + theta.im);
    }
};

} // namespace

// The array kernels' access to the members; the member functions build their grid through it
// too.
struct CNewZealandMapGrid::View {
    const CNewZealandMapGrid& p;
    explicit View(const CNewZealandMapGrid& q) : p(q) {}
    Grid Kernel() const {
        return {p.m_dLon0, p.m_dLat0, p.m_dFalseEasting, p.m_dFalseNorthing, p.m_dA};
    }
};

int CNewZealandMapGrid::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    View(*this).Kernel().Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CNewZealandMapGrid::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    View(*this).Kernel().UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

gx::ArrayKernels gx::NewZealandArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CNewZealandMapGrid))
        return KernelsOf<CNewZealandMapGrid::View, CNewZealandMapGrid>();
    return {};
}
