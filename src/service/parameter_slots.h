// The used parameter slots of a record.
#ifndef GEOXFORM_PARAMETER_SLOTS_H
#define GEOXFORM_PARAMETER_SLOTS_H

#include "geoxform/crsystem.h"

namespace gx {

const int kMaxParameters = 14;

// iNumParameters brought into 0..14, the slots the record has: a larger count never makes a
// reader go past the last slot.
inline int UsedParameterSlots(const KQCRSystem& record) {
    const int n = record.iNumParameters;
    return n < 0 ? 0 : n > kMaxParameters ? kMaxParameters : n;
}

} // namespace gx

#endif
