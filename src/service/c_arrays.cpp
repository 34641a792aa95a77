// The C interface's point arrays: strided arrays gathered in blocks on the stack, converted
// with the same arithmetic as CCoordSystem's World2User and User2World (service/world_user.h)
// and the projection's array kernels, and scattered back.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "geoxform_c.h"
#include "projections/geodesy.h"
#include "service/c_system.h"
#include "service/world_user.h"

namespace {

// Points a block: four arrays of this many doubles and the flags stay on the stack.
const int64_t kBlock = 256;

// One array of doubles given by its first element and a stride in bytes; the elements need
// not be aligned.
struct Strided {
    const void* p;
    int64_t stride;

    double Get(int64_t i) const {
        double v;
        std::memcpy(&v, static_cast<const char*>(p) + i * stride, sizeof v);
        return v;
    }
    void Put(int64_t i, double v) const {
        std::memcpy(const_cast<char*>(static_cast<const char*>(p)) + i * stride, &v, sizeof v);
    }
};

// A stride is a non-zero multiple of 8 bytes, and n of them stay within the address range.
bool IsStride(int64_t n, int64_t stride) {
    if (stride == 0 || stride % 8 != 0 || stride == INT64_MIN) return false;
    const uint64_t magnitude = static_cast<uint64_t>(stride < 0 ? -stride : stride);
    return magnitude <= static_cast<uint64_t>(PTRDIFF_MAX) / static_cast<uint64_t>(n);
}

// The checks every point call makes, in this order: the handle, the count (0 points: done),
// the arrays, their strides. GEOXFORM_OK with bDone false: go on.
int Check(const geoxform_system* pSystem, int64_t n, const Strided (&arrays)[4], bool& bDone) {
    bDone = true;
    if (pSystem == nullptr) return GEOXFORM_E_NULL;
    if (n < 0) return GEOXFORM_E_ARGUMENT;
    if (n == 0) return GEOXFORM_OK;
    for (const Strided& a : arrays)
        if (a.p == nullptr) return GEOXFORM_E_NULL;
    for (const Strided& a : arrays)
        if (!IsStride(n, a.stride)) return GEOXFORM_E_ARGUMENT;
    bDone = false;
    return GEOXFORM_OK;
}

// Runs n points from (a, b) to (outA, outB) through convert(u, v, m), which turns m values
// of u and v into the outputs in place. A non-finite input enters as 0; a point with a
// non-finite input or output leaves as NaN in both outputs and is counted.
template <class Convert>
int Run(int64_t n, const Strided (&arrays)[4], int64_t* pFailed, const Convert& convert) {
    double u[kBlock], v[kBlock];
    bool finite[kBlock];
    int64_t failed = 0;
    for (int64_t first = 0; first < n; first += kBlock) {
        const int64_t m = n - first < kBlock ? n - first : kBlock;
        for (int64_t k = 0; k < m; ++k) {
            const double a = arrays[0].Get(first + k), b = arrays[1].Get(first + k);
            finite[k] = std::isfinite(a) && std::isfinite(b);
            u[k] = finite[k] ? a : 0;
            v[k] = finite[k] ? b : 0;
        }
        convert(u, v, static_cast<std::size_t>(m));
        for (int64_t k = 0; k < m; ++k) {
            if (!finite[k] || !std::isfinite(u[k]) || !std::isfinite(v[k])) {
                u[k] = v[k] = std::numeric_limits<double>::quiet_NaN();
                ++failed;
            }
            arrays[2].Put(first + k, u[k]);
            arrays[3].Put(first + k, v[k]);
        }
    }
    if (pFailed != nullptr) *pFailed = failed;
    return failed == 0 ? GEOXFORM_OK : GEOXFORM_E_POINTS;
}

// The projection on m points in place: its class's array kernel, else Project or UnProject
// point by point.
void Project(const geoxform_system& s, bool bForward, double* u, double* v, std::size_t m) {
    const gx::ArrayKernel kernel = bForward ? s.kernels.forward : s.kernels.inverse;
    if (kernel != nullptr) {
        kernel(*s.pProjection, u, v, u, v, m, true);
        return;
    }
    for (std::size_t k = 0; k < m; ++k) {
        if (bForward)
            s.pProjection->Project(u[k], v[k], u[k], v[k]);
        else
            s.pProjection->UnProject(u[k], v[k], u[k], v[k]);
    }
}

// Forward and inverse: what User2World then World2User of an object at scale 1 compute.
int Points(const geoxform_system* pSystem, bool bForward, int64_t n, const Strided (&arrays)[4],
           int64_t* pFailed) {
    if (pFailed != nullptr) *pFailed = 0;
    bool bDone = false;
    const int status = Check(pSystem, n, arrays, bDone);
    if (bDone) return status;
    const geoxform_system& s = *pSystem;
    if (bForward)
        return Run(n, arrays, pFailed, [&s](double* u, double* v, std::size_t m) {
            for (std::size_t k = 0; k < m; ++k) {
                u[k] = gx::LongitudeFromGreenwich(u[k] * gx::kDegree, s.dPrimeMeridian);
                v[k] *= gx::kDegree;
            }
            Project(s, true, u, v, m);
            for (std::size_t k = 0; k < m; ++k) {
                u[k] = gx::UserFromReal(gx::RealFromMetres(u[k]), s.dUnitsFac);
                v[k] = gx::UserFromReal(gx::RealFromMetres(v[k]), s.dUnitsFac);
            }
        });
    return Run(n, arrays, pFailed, [&s](double* u, double* v, std::size_t m) {
        for (std::size_t k = 0; k < m; ++k) {
            u[k] = gx::MetresFromReal(gx::RealFromUser(u[k], s.dUnitsFac));
            v[k] = gx::MetresFromReal(gx::RealFromUser(v[k], s.dUnitsFac));
        }
        Project(s, false, u, v, m);
        for (std::size_t k = 0; k < m; ++k) {
            u[k] = gx::LongitudeToGreenwich(u[k], s.dPrimeMeridian) * gx::kDegreesPerRadian;
            v[k] *= gx::kDegreesPerRadian;
        }
    });
}

// Sheet millimetres to user coordinates and back, through the sheet object point by point.
int Sheet(const geoxform_system* pSystem, bool bToUser, int geographic, int64_t n,
          const Strided (&arrays)[4], int64_t* pFailed) {
    if (pFailed != nullptr) *pFailed = 0;
    bool bDone = false;
    const int status = Check(pSystem, n, arrays, bDone);
    if (bDone) return status;
    if (geographic != 0 && geographic != 1) return GEOXFORM_E_ARGUMENT;
    CCoordSystem& sheet = *pSystem->pSheet;
    const double toUser = geographic == 1 ? gx::kDegreesPerRadian : 1;
    const double fromUser = geographic == 1 ? gx::kDegree : 1;
    return Run(n, arrays, pFailed, [&](double* u, double* v, std::size_t m) {
        for (std::size_t k = 0; k < m; ++k) {
            if (bToUser) {
                sheet.World2User(u[k], v[k], u[k], v[k], geographic);
                u[k] *= toUser;
                v[k] *= toUser;
            } else {
                sheet.User2World(u[k] * fromUser, v[k] * fromUser, u[k], v[k], geographic);
            }
        }
    });
}

} // namespace

extern "C" {

int geoxform_forward(const geoxform_system* system, int64_t n, const double* lon,
                     int64_t lon_stride, const double* lat, int64_t lat_stride, double* x,
                     int64_t x_stride, double* y, int64_t y_stride, int64_t* failed) {
    return gx::Guarded([&]() -> int {
        const Strided arrays[4] = {
            {lon, lon_stride}, {lat, lat_stride}, {x, x_stride}, {y, y_stride}};
        return Points(system, true, n, arrays, failed);
    });
}

int geoxform_inverse(const geoxform_system* system, int64_t n, const double* x, int64_t x_stride,
                     const double* y, int64_t y_stride, double* lon, int64_t lon_stride,
                     double* lat, int64_t lat_stride, int64_t* failed) {
    return gx::Guarded([&]() -> int {
        const Strided arrays[4] = {
            {x, x_stride}, {y, y_stride}, {lon, lon_stride}, {lat, lat_stride}};
        return Points(system, false, n, arrays, failed);
    });
}

int geoxform_sheet_to_user(const geoxform_system* system, int geographic, int64_t n,
                           const double* sx, int64_t sx_stride, const double* sy, int64_t sy_stride,
                           double* ux, int64_t ux_stride, double* uy, int64_t uy_stride,
                           int64_t* failed) {
    return gx::Guarded([&]() -> int {
        const Strided arrays[4] = {
            {sx, sx_stride}, {sy, sy_stride}, {ux, ux_stride}, {uy, uy_stride}};
        return Sheet(system, true, geographic, n, arrays, failed);
    });
}

int geoxform_user_to_sheet(const geoxform_system* system, int geographic, int64_t n,
                           const double* ux, int64_t ux_stride, const double* uy, int64_t uy_stride,
                           double* sx, int64_t sx_stride, double* sy, int64_t sy_stride,
                           int64_t* failed) {
    return gx::Guarded([&]() -> int {
        const Strided arrays[4] = {
            {ux, ux_stride}, {uy, uy_stride}, {sx, sx_stride}, {sy, sy_stride}};
        return Sheet(system, false, geographic, n, arrays, failed);
    });
}

} // extern "C"
