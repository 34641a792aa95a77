// Turns a coordinate reference system record into a projection object.
#ifndef GEOXFORM_PROJECTION_FACTORY_H
#define GEOXFORM_PROJECTION_FACTORY_H

#include "geoxform/crsystem.h"
#include "geoxform/projection.h"

namespace gx {

// A new projection for the record's method number, ellipsoid index and parameters, owned by
// the caller; null when the record names no buildable projection. The record is not changed.
CProjection* CreateProjection(const KQCRSystem* pRecord);

} // namespace gx

#endif
