// Look-ups by EPSG code in the reference arrays: the first row with the code, as every reader
// of the arrays takes it. Each array has an index of its codes, sorted, built on the first
// look-up after the array changed and shared by all threads, so that a look-up costs a binary
// search instead of a scan of every row.
#ifndef GEOXFORM_REFERENCE_LOOKUP_H
#define GEOXFORM_REFERENCE_LOOKUP_H

#include "geoxform/refdata.h"

namespace gx {

// Index of the first row whose iCode equals the code, or -1 (also for a missing array).
// Defined for the systems, datums, prime meridians, ellipsoids and units.
template <class T>
int FindByCode(const DynamicClassArray<T>* pArray, int iCode);

// The run of parameter rows of a conversion: the first row with the operation code and the
// number of consecutive rows that carry it (0 when there is none).
struct ParameterRun {
    int iFirst = -1;
    int nCount = 0;
};
ParameterRun FindParameterRun(int iOperationCode);

// An index is built again when its array has another count or block. Rows rewritten in place
// (the loader's sections, which restart at row 0) must be announced with this.
void ReferenceRowsChanged();

} // namespace gx

#endif
