// Initialisation of a coordinate reference system record.
#ifndef GEOXFORM_CRSYSTEM_INIT_H
#define GEOXFORM_CRSYSTEM_INIT_H

#include "geoxform/crsystem.h"

namespace gx {

// Clears the record and sets the version, size, units and scale, -1 in the five code fields
// and the five derived index fields, and precision 2. Null is ignored.
void InitCRSystem(KQCRSystem* pRecord, int iUnits, double dScale);

} // namespace gx

#endif
