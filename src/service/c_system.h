// The C interface's system handle, and the boundary every C call runs its body through.
#ifndef GEOXFORM_C_SYSTEM_H
#define GEOXFORM_C_SYSTEM_H

#include <new>
#include <string>

#include "geoxform/coordsystem.h"
#include "geoxform_c.h"
#include "projections/array_kernels.h"

// Two objects of the same validated record in the system's own unit: one at scale 1 for the
// point arrays, one under the drawing scale for the sheet, value text and measurement calls.
// Const calls only read them: World2User, User2World, Value2String, String2Value, Distance and
// Area write nothing to the object, and the text form, whose reading fills a cache of the
// object, is printed here once for each sheet.
struct geoxform_system {
    CCoordSystem* pPlane = nullptr;
    CCoordSystem* pSheet = nullptr;
    const CProjection* pProjection = nullptr; // pPlane's
    gx::ArrayKernels kernels;                 // of pProjection's class, or null
    double dUnitsFac = 1;                     // millimetres per user unit
    double dPrimeMeridian = 0;                // radians east of Greenwich
    bool bHasTextForm = false;
    std::string textForm; // UTF-8

    geoxform_system() = default;
    geoxform_system(const geoxform_system&) = delete;
    geoxform_system& operator=(const geoxform_system&) = delete;
    ~geoxform_system() {
        DeleteCoordSystem(pPlane);
        DeleteCoordSystem(pSheet);
    }
};

namespace gx {

// Runs the body of a C call: exceptions end as status codes and go no further.
template <class F>
int Guarded(const F& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return GEOXFORM_E_MEMORY;
    } catch (...) {
        return GEOXFORM_E_ARGUMENT;
    }
}

} // namespace gx

#endif
