// Comparison of two coordinate reference system records: their user scaling, and whether they
// describe the same projection.
#include <cmath>

#include "geoxform/crsystem.h"

namespace {

// Parameter values closer than this (inclusive) are the same value.
const double kParameterTolerance = 1e-6;
const int kParameterSlots = 14;

const int kScalingDiffers = 4;
const int kOnlyFirstProjected = 1;
const int kOnlySecondProjected = 2;
const int kProjectionsDiffer = 3;

bool HasProjection(const KQCRSystem& record) {
    return record.iMethodCode >= 1;
}

// The used parameter slots; a count beyond the record's 14 slots reads only those.
int ParameterCount(const KQCRSystem& record) {
    if (record.iNumParameters < 0) return 0;
    return record.iNumParameters < kParameterSlots ? record.iNumParameters : kParameterSlots;
}

// Exact equality; a NaN differs from everything, itself included.
bool ScalingEqual(const KQCRSystem& a, const KQCRSystem& b) {
    return a.iUnits == b.iUnits && a.dScale == b.dScale && a.dOffsetX == b.dOffsetX &&
           a.dOffsetY == b.dOffsetY;
}

// Every parameter of the first record has a value within the tolerance at the first slot of
// the second record with the same code, whatever the order of the slots.
bool ParametersEqual(const KQCRSystem& first, const KQCRSystem& second) {
    const int nFirst = ParameterCount(first), nSecond = ParameterCount(second);
    for (int i = 0; i < nFirst; ++i) {
        int j = 0;
        while (j < nSecond && second.aiParameterCodes[j] != first.aiParameterCodes[i])
            ++j;
        if (j == nSecond) return false;
        const double difference =
            std::fabs(first.adParameterValues[i] - second.adParameterValues[j]);
        if (!(difference <= kParameterTolerance)) return false; // a NaN value differs too
    }
    return true;
}

} // namespace

int CompareCRSystemData(KQCRSystem* pFirst, KQCRSystem* pSecond) {
    // A missing record cannot be shown to match anything: every part differs.
    if (pFirst == nullptr || pSecond == nullptr) return kScalingDiffers + kProjectionsDiffer;
    const KQCRSystem& first = *pFirst;
    const KQCRSystem& second = *pSecond;
    const int scaling = ScalingEqual(first, second) ? 0 : kScalingDiffers;
    if (!HasProjection(first)) return scaling + (HasProjection(second) ? kOnlySecondProjected : 0);
    if (!HasProjection(second)) return scaling + kOnlyFirstProjected;
    if (first.iMethodCode != second.iMethodCode || first.iEllipsoidCode != second.iEllipsoidCode ||
        first.iNumParameters != second.iNumParameters || !ParametersEqual(first, second))
        return scaling + kProjectionsDiffer;
    return scaling;
}
