// Two points side by side. The projections write each per-point formula once, as a template
// over its value type: double for Project and UnProject, Lanes (two doubles in one SSE2
// register) for the array kernels. Arithmetic and square roots are the same IEEE operations
// in both, so a lane computes exactly what the scalar code does, with two exceptions:
// - where the library is built with SLEEF (x86-64), the transcendental functions of Lanes are
//   SLEEF's vectorised ones, within 1 ulp of the standard library's (its dispatcher picks the
//   processor's instruction set at run time, SSE2 upwards);
// - elsewhere they call the standard function on each lane, bit for bit the scalar result.
// A branch of the scalar code becomes Branch(): one side when every lane takes it, else both
// sides computed and each lane's own result selected.
#ifndef GEOXFORM_LANES_H
#define GEOXFORM_LANES_H

#include <cmath>
#include <cstring>

#if defined(GEOXFORM_HAVE_SLEEF)
#include <sleef.h>
#endif

namespace gx {

typedef double Lanes __attribute__((vector_size(16)));
using LaneMask = decltype(Lanes{} < Lanes{}); // per lane all ones (true) or zero

// The mask type of a value type: bool for double.
template <class T>
using MaskOf = decltype(T{} < T{});

template <class T>
inline T Splat(double v);
template <>
inline double Splat<double>(double v) {
    return v;
}
template <>
inline Lanes Splat<Lanes>(double v) {
    return Lanes{v, v};
}

inline bool All(bool m) {
    return m;
}
inline bool Any(bool m) {
    return m;
}
inline bool Not(bool m) {
    return !m;
}
inline bool And(bool a, bool b) {
    return a && b;
}
inline bool Or(bool a, bool b) {
    return a || b;
}
inline bool All(LaneMask m) {
    return m[0] != 0 && m[1] != 0;
}
inline bool Any(LaneMask m) {
    return m[0] != 0 || m[1] != 0;
}
inline LaneMask Not(LaneMask m) {
    return ~m;
}
inline LaneMask And(LaneMask a, LaneMask b) {
    return a & b;
}
inline LaneMask Or(LaneMask a, LaneMask b) {
    return a | b;
}

// Per lane: a where m, else b.
inline double Select(bool m, double a, double b) {
    return m ? a : b;
}
inline Lanes Select(LaneMask m, Lanes a, Lanes b) {
    return (Lanes)((m & (LaneMask)a) | (~m & (LaneMask)b));
}

// A scalar branch `m ? whenTrue() : whenFalse()` for lanes: only the side every lane takes is
// computed; when the lanes differ, both are and each lane keeps its own.
template <class M, class F, class G>
inline auto Branch(M m, const F& whenTrue, const G& whenFalse) -> decltype(whenTrue()) {
    if (All(m)) return whenTrue();
    if (!Any(m)) return whenFalse();
    return Select(m, whenTrue(), whenFalse());
}

inline Lanes Load(const double* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void Store(double* p, Lanes v) {
    std::memcpy(p, &v, sizeof v);
}

// ---- Functions. The double overloads are the standard library's.

#define GX_LANES_UNARY(Name, std_fn)                                                               \
    inline double Name(double x) {                                                                 \
        return std_fn(x);                                                                          \
    }                                                                                              \
    inline Lanes Name##EachLane(Lanes x) {                                                         \
        return Lanes{std_fn(x[0]), std_fn(x[1])};                                                  \
    }
#define GX_LANES_BINARY(Name, std_fn)                                                              \
    inline double Name(double x, double y) {                                                       \
        return std_fn(x, y);                                                                       \
    }                                                                                              \
    inline Lanes Name##EachLane(Lanes x, Lanes y) {                                                \
        return Lanes{std_fn(x[0], y[0]), std_fn(x[1], y[1])};                                      \
    }

GX_LANES_UNARY(Sin, std::sin)
GX_LANES_UNARY(Cos, std::cos)
GX_LANES_UNARY(Tan, std::tan)
GX_LANES_UNARY(Asin, std::asin)
GX_LANES_UNARY(Acos, std::acos)
GX_LANES_UNARY(Atan, std::atan)
GX_LANES_UNARY(Exp, std::exp)
GX_LANES_UNARY(Log, std::log)
GX_LANES_UNARY(Log1p, std::log1p)
GX_LANES_UNARY(Sinh, std::sinh)
GX_LANES_UNARY(Cosh, std::cosh)
GX_LANES_UNARY(Tanh, std::tanh)
GX_LANES_UNARY(Asinh, std::asinh)
GX_LANES_UNARY(Atanh, std::atanh)
GX_LANES_UNARY(Sqrt, std::sqrt)
GX_LANES_UNARY(Fabs, std::fabs)
GX_LANES_UNARY(Floor, std::floor)
GX_LANES_BINARY(Atan2, std::atan2)
GX_LANES_BINARY(Pow, std::pow)
GX_LANES_BINARY(Hypot, std::hypot)
GX_LANES_BINARY(Fmod, std::fmod)

#undef GX_LANES_UNARY
#undef GX_LANES_BINARY

// Exact operations: the same on every build.
inline Lanes Sqrt(Lanes x) {
    return SqrtEachLane(x);
}
inline Lanes Fabs(Lanes x) {
    return (Lanes)((LaneMask)x & ~(LaneMask)Splat<Lanes>(-0.0));
}
inline Lanes Floor(Lanes x) {
    return FloorEachLane(x);
}
inline Lanes Fmod(Lanes x, Lanes y) {
    return FmodEachLane(x, y);
}
// std::hypot avoids overflow and rounds once; no vectorised function matches it closely
// enough for the forward coordinates, so it stays per lane.
inline Lanes Hypot(Lanes x, Lanes y) {
    return HypotEachLane(x, y);
}

#if defined(GEOXFORM_HAVE_SLEEF)
#define GX_LANES_VECTOR(Name, sleef_fn)                                                            \
    inline Lanes Name(Lanes x) {                                                                   \
        return sleef_fn(x);                                                                        \
    }
#define GX_LANES_VECTOR2(Name, sleef_fn)                                                           \
    inline Lanes Name(Lanes x, Lanes y) {                                                          \
        return sleef_fn(x, y);                                                                     \
    }
#else
#define GX_LANES_VECTOR(Name, sleef_fn)                                                            \
    inline Lanes Name(Lanes x) {                                                                   \
        return Name##EachLane(x);                                                                  \
    }
#define GX_LANES_VECTOR2(Name, sleef_fn)                                                           \
    inline Lanes Name(Lanes x, Lanes y) {                                                          \
        return Name##EachLane(x, y);                                                               \
    }
#endif

// SLEEF's functions of at most 1.0 ulp error.
GX_LANES_VECTOR(Sin, Sleef_sind2_u10)
GX_LANES_VECTOR(Cos, Sleef_cosd2_u10)
GX_LANES_VECTOR(Tan, Sleef_tand2_u10)
GX_LANES_VECTOR(Asin, Sleef_asind2_u10)
GX_LANES_VECTOR(Acos, Sleef_acosd2_u10)
GX_LANES_VECTOR(Atan, Sleef_atand2_u10)
GX_LANES_VECTOR(Exp, Sleef_expd2_u10)
GX_LANES_VECTOR(Log, Sleef_logd2_u10)
GX_LANES_VECTOR(Log1p, Sleef_log1pd2_u10)
GX_LANES_VECTOR(Sinh, Sleef_sinhd2_u10)
GX_LANES_VECTOR(Cosh, Sleef_coshd2_u10)
GX_LANES_VECTOR(Tanh, Sleef_tanhd2_u10)
GX_LANES_VECTOR(Asinh, Sleef_asinhd2_u10)
GX_LANES_VECTOR(Atanh, Sleef_atanhd2_u10)
GX_LANES_VECTOR2(Atan2, Sleef_atan2d2_u10)
GX_LANES_VECTOR2(Pow, Sleef_powd2_u10)

#undef GX_LANES_VECTOR
#undef GX_LANES_VECTOR2

inline Lanes Pow(Lanes x, double y) {
    return Pow(x, Splat<Lanes>(y));
}
inline Lanes Atan2(Lanes y, double x) {
    return Atan2(y, Splat<Lanes>(x));
}
inline Lanes Atan2(double y, Lanes x) {
    return Atan2(Splat<Lanes>(y), x);
}

// Sine and cosine of one angle.
inline void SinCos(double x, double& s, double& c) {
    s = std::sin(x);
    c = std::cos(x);
}
inline void SinCos(Lanes x, Lanes& s, Lanes& c) {
#if defined(GEOXFORM_HAVE_SLEEF)
    const Sleef___m128d_2 sc = Sleef_sincosd2_u10(x);
    s = sc.x;
    c = sc.y;
#else
    s = SinEachLane(x);
    c = CosEachLane(x);
#endif
}

} // namespace gx

#endif
