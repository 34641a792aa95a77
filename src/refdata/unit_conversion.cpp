// Conversion of values in any EPSG unit of measure to metre or radian, along the chains of
// the loaded unit records.
#include <algorithm>
#include <cmath>

#include "geoxform/refdata.h"
#include "refdata/reference_lookup.h"

namespace {

const int kMetre = 9001;
const int kRadian = 9101;
const int kSexagesimalDMS = 9110;
const int kSexagesimalDM = 9111;
const int kMaxChainLinks = 16;

// DDD.MMSSsss to decimal degrees.
double SexagesimalDMSToDegrees(double dValue) {
    const double sign = dValue < 0 ? -1.0 : 1.0;
    const double v = std::fabs(dValue);
    const double degrees = std::floor(v + 1e-8);
    const double minutes100 = (v - degrees) * 100.0;
    const double minutes = std::floor(minutes100 + 1e-8);
    double seconds = (minutes100 - minutes) * 100.0;
    if (seconds < 1e-9) seconds = 0; // also clears small negative remainders of the rounding
    return sign * ((minutes / 60.0 + degrees) + seconds / 3600.0);
}

// DDD.MMmm to decimal degrees.
double SexagesimalDMToDegrees(double dValue) {
    const double sign = dValue < 0 ? -1.0 : 1.0;
    const double v = std::fabs(dValue);
    const double degrees = std::floor(v + 1e-8);
    double minutes = (v - degrees) * 100.0;
    if (minutes < 1e-9) minutes = 0;
    return sign * (degrees + minutes / 60.0);
}

// Follows the target codes from iCode to iGoal, applying each link's factor in turn. A chain
// ends after at most 16 links (the reference data needs 2) or as many as there are unit
// records, fewer links than that having revisited a record: a longer chain, or a loop, ends
// there with 0. Each link is found through the index of the unit codes, so that a file of
// many rows converting along long chains still loads in time linear in its size.
int RunChain(double& dValue, int iCode, int iGoal) {
    const int nMaxLinks = std::min(pdaEPSGUnits->GetCount(), kMaxChainLinks);
    for (int nLinks = 0; nLinks < nMaxLinks; ++nLinks) {
        const int i = gx::FindByCode(pdaEPSGUnits, iCode);
        if (i < 0) return 0;
        const EPSGUnits& unit = (*pdaEPSGUnits)[i];
        dValue *= unit.dFactorB / unit.dFactorC;
        iCode = unit.iTargetCode;
        if (iCode == iGoal) return 1;
    }
    return 0;
}

} // namespace

int ConvertUnit(double& dValue, int iUnitCode) {
    if (pdaEPSGUnits == nullptr) return 0;
    const bool bLength = (iUnitCode >= 9001 && iUnitCode <= 9099) || iUnitCode >= 9204;
    const bool bAngle = iUnitCode >= 9100 && iUnitCode <= 9199;
    if (bLength) return iUnitCode == kMetre ? 1 : RunChain(dValue, iUnitCode, kMetre);
    if (!bAngle) return 1; // no unit, or a unit outside lengths and angles: nothing to convert
    if (iUnitCode == kRadian) return 1;
    if (iUnitCode == kSexagesimalDMS) dValue = SexagesimalDMSToDegrees(dValue);
    if (iUnitCode == kSexagesimalDM) dValue = SexagesimalDMToDegrees(dValue);
    return RunChain(dValue, iUnitCode, kRadian);
}
