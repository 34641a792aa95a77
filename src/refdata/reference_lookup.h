// Look-ups by EPSG code in the reference arrays: the first row with the code, as every reader
// of the arrays takes it.
#ifndef GEOXFORM_REFERENCE_LOOKUP_H
#define GEOXFORM_REFERENCE_LOOKUP_H

#include "geoxform/refdata.h"

namespace gx {

// Index of the first row whose iCode equals the code, or -1 (also for a missing array).
template <class T>
int FindByCode(const DynamicClassArray<T>* pArray, int iCode) {
    if (pArray == nullptr) return -1;
    const int n = pArray->GetCount();
    for (int i = 0; i < n; ++i)
        if ((*pArray)[i].iCode == iCode) return i;
    return -1;
}

// The run of parameter rows of a conversion: the first row with the operation code and the
// number of consecutive rows that carry it (0 when there is none).
struct ParameterRun {
    int iFirst = -1;
    int nCount = 0;
};
ParameterRun FindParameterRun(int iOperationCode);

} // namespace gx

#endif
